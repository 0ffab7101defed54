#include "PresetStore.h"

#include "ParameterLayout.h"
#include "ParameterSettings.h"
#include "UntrustedXml.h"

#include <AtomicFileWrite.h>
#include <BoundedFileRead.h>
#include <LarkspurData.h>

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

PresetStore::PresetStore (juce::AudioProcessor& processorToStore, const juce::String& relativeFileName)
    : writeXml ([this] (const juce::XmlElement& element, const juce::File& file)
                { return writeDocument (element, file); })
    , processor (processorToStore)
{
    const auto folder = makerFolder();
    if (folder != juce::File())
        presetFile = folder.getChildFile (relativeFileName);

    // An empty file holds nothing to keep (earlier versions could leave one behind when their
    // first write failed), so it is made again like a missing one. Nothing is reported here: when
    // the file cannot be made, the read below fails and the list stays empty.
    if (presetFile != juce::File() &&
        (! presetFile.exists() || isEmptyRegularFile (presetFile.getFullPathName().toStdString())))
        createFromDefaults();

    reloadFromFile();
    lastModified = readLastWriteTime (presetFile);
}

void PresetStore::createFromDefaults()
{
    const auto defaults =
        parseDocument (LarkspurData::defaultPresets_xml, (size_t) LarkspurData::defaultPresets_xmlSize);
    if (defaults == nullptr || ! ensureFileExists (presetFile))
        return;

    const auto bytes = formatDocument (*defaults);
    const auto path = presetFile.getFullPathName().toStdString();
    std::string reason;
    if (presetFile.exists())
    {
        replaceFileAtomically (path, bytes.getData(), bytes.getSize(), reason);
        return;
    }
    // Several instances or processes may start at once in a fresh profile: the first complete
    // file stays, and none of them ever sees one that is still being written.
    bool created = false;
    createFileAtomically (path, bytes.getData(), bytes.getSize(), created, reason);
}

juce::MemoryBlock PresetStore::formatDocument (const juce::XmlElement& element)
{
    juce::MemoryOutputStream text;
    element.writeTo (text);
    return text.getMemoryBlock();
}

bool PresetStore::writeDocument (const juce::XmlElement& element, const juce::File& file)
{
    const auto bytes = formatDocument (element);
    std::string reason;
    if (replaceFileAtomically (file.getFullPathName().toStdString(), bytes.getData(), bytes.getSize(), reason))
        return true;
    writeProblem = juce::String (reason);
    return false;
}

juce::File PresetStore::makerFolder()
{
    juce::File dataHome;

    if (const char* xdg = std::getenv ("XDG_DATA_HOME"); xdg != nullptr && juce::File::isAbsolutePath (xdg))
        dataHome = juce::File (juce::CharPointer_UTF8 (xdg));
    else if (const auto home = juce::File::getSpecialLocation (juce::File::userHomeDirectory);
             juce::File::isAbsolutePath (home.getFullPathName()))
        dataHome = home.getChildFile (".local/share");

    if (dataHome == juce::File())
        return {};

    return dataHome.getChildFile ("Korvel Audio Tools");
}

std::unique_ptr<juce::XmlElement> PresetStore::parseDocument (const void* data, size_t numBytes)
{
    if (data == nullptr || numBytes == 0 || numBytes > (size_t) std::numeric_limits<int>::max())
        return {};

    // JUCE's conversion reads one byte past the data when nothing is left after a
    // byte-order mark, so it reads a copy that ends in a zero byte.
    juce::MemoryBlock terminated (data, numBytes);
    terminated.append ("", 1);

    // Parsed from text, never from the file itself, so that a document type declaration cannot
    // make the parser open other files.
    return parseUntrustedXml (juce::String::createStringFromData (terminated.getData(), (int) numBytes));
}

std::unique_ptr<juce::XmlElement> PresetStore::readDocument (const juce::File& file, juce::String* problem)
{
    if (file == juce::File())
    {
        if (problem != nullptr)
            *problem = "there is no user data folder (neither XDG_DATA_HOME nor HOME is set)";
        return {};
    }

    std::vector<unsigned char> bytes;
    std::string reason;
    if (! readRegularFile (file.getFullPathName().toStdString(), maxFileBytes, bytes, reason))
    {
        if (problem != nullptr)
            *problem = file.getFullPathName() + " cannot be read: " + juce::String (reason);
        return {};
    }
    auto document = parseDocument (bytes.data(), bytes.size());
    if (document == nullptr && problem != nullptr)
        *problem = file.getFullPathName() + " cannot be read: it is not a readable presets document";
    return document;
}

juce::int64 PresetStore::readLastWriteTime (const juce::File& file)
{
    if (file == juce::File())
        return 0;

    struct stat info
    {
    };
    if (stat (file.getFullPathName().toRawUTF8(), &info) != 0)
        return 0;

    return (juce::int64) info.st_mtim.tv_sec * 1000 + (juce::int64) info.st_mtim.tv_nsec / 1000000;
}

bool PresetStore::reloadFromFile()
{
    readProblem.clear();
    auto document = readDocument (presetFile, &readProblem);
    if (document == nullptr)
        return false;

    presets = *document;
    return true;
}

int PresetStore::getNumListedPresets() const
{
    return juce::jmin (presets.getNumChildElements(), maxPresets);
}

bool PresetStore::ensureFileExists (const juce::File& file)
{
    if (file == juce::File())
        return false;

    // Several instances may make the folders at once; JUCE's createDirectory gives up on a parent
    // that another has just made, std::filesystem accepts it.
    std::error_code error;
    std::filesystem::create_directories (file.getParentDirectory().getFullPathName().toStdString(), error);
    return file.existsAsFile() || (! file.exists() && file.getParentDirectory().isDirectory());
}

bool PresetStore::keepUnreadableFileAside (const juce::File& file)
{
    if (! file.existsAsFile() || file.getSize() == 0 || readDocument (file) != nullptr)
        return true;

    auto time = juce::Time::currentTimeMillis();
    auto backup = file.getSiblingFile (file.getFileName() + ".unreadable-" + juce::String (time));
    while (backup.exists())
        backup = file.getSiblingFile (file.getFileName() + ".unreadable-" + juce::String (++time));

    return file.moveFileTo (backup);
}

bool PresetStore::writeFile (const juce::XmlElement& element, const juce::File& file)
{
    writeProblem.clear();
    if (! ensureFileExists (file))
    {
        writeProblem = file.isDirectory() ? "it is a folder" : "its folder cannot be made";
        return false;
    }
    if (! keepUnreadableFileAside (file))
    {
        writeProblem = "the unreadable file there cannot be kept aside";
        return false;
    }

    if (writeXml == nullptr || ! writeXml (element, file))
        return false;
    // The file now holds what was written, whatever the last read found there.
    if (file == presetFile)
        readProblem.clear();
    return true;
}

juce::String PresetStore::describeWriteFailure() const
{
    return presetFile.getFullPathName() + " could not be written" +
           (writeProblem.isEmpty() ? juce::String (".") : ": " + writeProblem + ".");
}

void PresetStore::reportFailure (const juce::String& message)
{
    if (onFailure != nullptr)
        onFailure (message);
}

bool PresetStore::selectPreset (const juce::String& presetName)
{
    const int listed = getNumListedPresets();
    int chosen = 0;
    for (int position = 1; position <= listed && chosen == 0; ++position)
        if (presets.getChildElement (position - 1)->getStringAttribute ("presetName") == presetName)
            chosen = position;
    if (chosen == 0)
        return false;

    // As the preset list does: its attachment moves `preset` to the chosen entry as one gesture,
    // then the strip applies the entry's settings, which reach the host like any other change.
    for (auto* parameter : processor.getParameters())
    {
        auto* ranged = dynamic_cast<juce::RangedAudioParameter*> (parameter);
        if (ranged == nullptr || ranged->paramID != ParameterIds::preset)
            continue;
        const float position = listed > 1 ? static_cast<float> (chosen - 1) / static_cast<float> (listed - 1) : 0.0f;
        ranged->beginChangeGesture();
        ranged->setValueNotifyingHost (ranged->convertTo0to1 (ranged->convertFrom0to1 (position)));
        ranged->endChangeGesture();
    }
    applyPreset (chosen);
    return true;
}

void PresetStore::applyPreset (int position)
{
    if (position != currentPreset && position >= 1 && position <= getNumListedPresets())
        if (auto* chosen = presets.getChildElement (position - 1))
            applyParameterValues (juce::XmlElement (*chosen), processor);

    currentPreset = position;
}

bool PresetStore::savePreset (const juce::String& presetName)
{
    // Presets saved meanwhile by other instances appear; edits only in memory are replaced.
    reloadFromFile();

    const auto count = presets.getNumChildElements();
    if (count >= maxPresets)
    {
        reportFailure ("The preset was not saved: the presets file already holds " + juce::String (maxPresets) +
                       " presets.");
        return false;
    }

    auto* preset = new juce::XmlElement ("preset" + juce::String (count + 1));
    captureParameterValues (processor, *preset);
    preset->setAttribute ("presetName", presetName);
    presets.addChildElement (preset);

    const auto previousPreset = currentPreset;
    currentPreset = count + 1;

    // lastModified stays as it was, so the strip's next look at the file sees the rewrite.
    if (writeFile (presets, presetFile))
        return true;

    presets.removeChildElement (preset, true);
    currentPreset = previousPreset;
    reloadFromFile();
    reportFailure ("The preset was not saved: " + describeWriteFailure());
    return false;
}

bool PresetStore::deletePreset (int position)
{
    std::unique_ptr<juce::XmlElement> removed;
    if (auto* child = position >= 1 ? presets.getChildElement (position - 1) : nullptr)
    {
        presets.removeChildElement (child, false);
        removed.reset (child);
    }

    if (writeFile (presets, presetFile))
    {
        currentPreset = 0;
        return true;
    }

    if (removed != nullptr)
        presets.insertChildElement (removed.release(), position - 1);
    reloadFromFile();
    reportFailure ("The preset was not deleted: " + describeWriteFailure());
    return false;
}
