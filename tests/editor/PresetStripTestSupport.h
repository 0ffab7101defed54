#pragma once

#include "ConvolutionEqAudioProcessor.h"
#include "TemporaryUserFolder.h"
#include "state/StateComponent.h"

#include <LarkspurData.h>
#include <juce_audio_processors/juce_audio_processors.h>

#include <fcntl.h>
#include <functional>
#include <memory>
#include <stdexcept>
#include <sys/stat.h>
#include <vector>

namespace juce
{
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

namespace presetstrip
{
// Runs the messages already posted (asynchronous notifications, clicks); bounded, since a
// display posts repaints of its own.
inline void dispatchPendingMessages()
{
    for (int i = 0; i < 10000 && juce::dispatchNextMessageOnSystemQueue (true); ++i)
    {
    }
}

// Runs the message loop until the condition holds or the time is up; true when it held.
inline bool runUntil (const std::function<bool()>& condition, int timeoutMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (! condition())
    {
        if (juce::Time::getMillisecondCounter() > end)
            return false;
        juce::MessageManager::getInstance()->runDispatchLoopUntil (5);
    }
    return true;
}

template <typename ComponentType>
ComponentType* findChild (juce::Component& parent, const std::function<bool (ComponentType&)>& matches)
{
    for (auto* child : parent.getChildren())
        if (auto* typed = dynamic_cast<ComponentType*> (child); typed != nullptr && matches (*typed))
            return typed;
    throw std::runtime_error ("no such child component");
}

inline juce::Button& button (juce::Component& strip, const juce::String& text)
{
    return *findChild<juce::Button> (strip, [&] (juce::Button& b) { return b.getButtonText() == text; });
}

inline juce::ComboBox& presetList (juce::Component& strip)
{
    return *findChild<juce::ComboBox> (strip, [] (juce::ComboBox&) { return true; });
}

// Clicks a button as the mouse would, and runs the click's message.
inline void click (juce::Button& b)
{
    b.triggerClick();
    dispatchPendingMessages();
}

inline juce::StringArray itemTexts (juce::ComboBox& list)
{
    juce::StringArray texts;
    for (int i = 0; i < list.getNumItems(); ++i)
        texts.add (list.getItemText (i));
    return texts;
}

// The embedded default entries followed by user presets "User 9", "User 10" ... up to
// numEntries, each a copy of "Blended Drums" with its own gain_1_1 (entry n: -12 + n / 10 dB).
inline std::unique_ptr<juce::XmlElement> presetsDocument (int numEntries)
{
    auto document =
        PresetStore::parseDocument (LarkspurData::defaultPresets_xml, (size_t) LarkspurData::defaultPresets_xmlSize);
    const auto model = *document->getChildElement (1);
    for (int n = document->getNumChildElements() + 1; n <= numEntries; ++n)
    {
        auto* entry = new juce::XmlElement (model);
        entry->setTagName ("preset" + juce::String (n));
        entry->setAttribute ("gain_1_1", n / 240.0);
        entry->setAttribute ("presetName", "User " + juce::String (n));
        document->addChildElement (entry);
    }
    while (document->getNumChildElements() > numEntries)
        document->removeChildElement (document->getChildElement (document->getNumChildElements() - 1), true);
    return document;
}

// presetsDocument (numEntries) with items 9 and 11 both named "Twin", each with its own settings,
// and without the entries at these positions, as a hand-edited file may be.
inline std::unique_ptr<juce::XmlElement> twinsDocument (int numEntries, const std::vector<int>& removedPositions)
{
    auto document = presetsDocument (numEntries);
    for (const int position : { 9, 11 })
        document->getChildElement (position - 1)->setAttribute ("presetName", "Twin");
    for (auto position = std::rbegin (removedPositions); position != std::rend (removedPositions); ++position)
        document->removeChildElement (document->getChildElement (*position - 1), true);
    return document;
}

inline void writePresetsFile (const juce::File& file, int numEntries)
{
    file.getParentDirectory().createDirectory();
    if (! presetsDocument (numEntries)->writeTo (file))
        throw std::runtime_error ("cannot write the presets file");
}

// Gives the file a last-write time in milliseconds, as another instance's rewrite would.
inline void setLastWriteTime (const juce::File& file, juce::int64 milliseconds)
{
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = (time_t) (milliseconds / 1000);
    times[0].tv_nsec = times[1].tv_nsec = (long) (milliseconds % 1000) * 1000000 + 123;
    if (utimensat (AT_FDCWD, file.getFullPathName().toRawUTF8(), times, 0) != 0)
        throw std::runtime_error ("cannot set the file's time");
}

// Another instance rewrites the presets file as presetsDocument (numEntries) without the entries
// at these positions, later than the store last read it.
inline void rewriteWithout (PresetStore& store, int numEntries, const std::vector<int>& removedPositions)
{
    auto document = presetsDocument (numEntries);
    for (auto position = std::rbegin (removedPositions); position != std::rend (removedPositions); ++position)
        document->removeChildElement (document->getChildElement (*position - 1), true);
    if (! document->writeTo (store.presetFile))
        throw std::runtime_error ("cannot write the presets file");
    setLastWriteTime (store.presetFile, store.lastModified + 1500);
}

// A processor in a fresh user folder (optionally with a presets file of numEntries entries
// written first) and a strip on it as the editor makes it.
struct StripRig
{
    explicit StripRig (int numEntries = 0)
    {
        if (numEntries > 0)
            writePresetsFile (folder.presetsFile(), numEntries);
        processor = std::make_unique<ConvolutionEqAudioProcessor>();
    }

    ~StripRig()
    {
        strip.reset();
        dispatchPendingMessages();
    }

    state::StateComponent& open()
    {
        strip = std::make_unique<state::StateComponent> (processor->getValueTreeState(), processor->getABSnapshot(),
                                                         &processor->getPresetStore());
        strip->setSize (800, 30);
        return *strip;
    }

    PresetStore& store() { return processor->getPresetStore(); }

    // Writes the presets file as this document and has the store read it.
    void load (const juce::XmlElement& document)
    {
        if (! document.writeTo (store().presetFile) || ! store().reloadFromFile())
            throw std::runtime_error ("cannot write the presets file");
    }
    juce::RangedAudioParameter& parameter (const juce::String& id)
    {
        return *processor->getValueTreeState().getParameter (id);
    }

    TemporaryUserFolder folder;
    std::unique_ptr<ConvolutionEqAudioProcessor> processor;
    std::unique_ptr<state::StateComponent> strip;
};
} // namespace presetstrip
