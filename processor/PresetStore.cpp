#include "PresetStore.h"

#include "ConvolutionEqAudioProcessor.h"
#include "ParameterSettings.h"
#include "UntrustedXml.h"

#include <LarkspurData.h>

#include <cstdlib>
#include <sys/stat.h>

namespace
{
bool writeXmlWithDefaultFormat (const juce::XmlElement& element, const juce::File& file)
{
    return element.writeTo (file);
}
} // namespace

PresetStore::PresetStore (ConvolutionEqAudioProcessor* owner, const juce::String& relativeFileName)
    : writeXml (writeXmlWithDefaultFormat)
    , processor (owner)
{
    const auto folder = makerFolder();
    if (folder != juce::File())
        presetFile = folder.getChildFile (relativeFileName);

    if (presetFile == juce::File() || ! presetFile.existsAsFile())
    {
        // Nothing is reported here: when the file cannot be made, the read below fails and the
        // list stays empty.
        if (auto defaults =
                parseDocument (LarkspurData::defaultPresets_xml, (size_t) LarkspurData::defaultPresets_xmlSize))
            writeFile (*defaults, presetFile);
    }

    reloadFromFile();
    lastModified = readLastWriteTime (presetFile);
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

    // The framework's conversion reads one byte past the data when nothing is left after a
    // byte-order mark, so it reads a copy that ends in a zero byte.
    juce::MemoryBlock terminated (data, numBytes);
    terminated.append ("", 1);

    // Parsed from text, never from the file itself, so that a document type declaration cannot
    // make the parser open other files.
    return parseUntrustedXml (juce::String::createStringFromData (terminated.getData(), (int) numBytes));
}

std::unique_ptr<juce::XmlElement> PresetStore::readDocument (const juce::File& file)
{
    juce::MemoryBlock bytes;
    if (! file.existsAsFile() || ! file.loadFileAsData (bytes))
        return {};
    return parseDocument (bytes.getData(), bytes.getSize());
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
    auto document = readDocument (presetFile);
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

    if (! file.exists())
        file.create();

    return file.existsAsFile();
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
    if (! ensureFileExists (file) || ! keepUnreadableFileAside (file))
        return false;

    return writeXml != nullptr && writeXml (element, file);
}

void PresetStore::reportFailure (const juce::String& message)
{
    if (onFailure != nullptr)
        onFailure (message);
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
    captureParameterValues (*processor, *preset);
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
    reportFailure ("The preset was not saved: " + presetFile.getFullPathName() + " could not be written.");
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
    reportFailure ("The preset was not deleted: " + presetFile.getFullPathName() + " could not be written.");
    return false;
}
