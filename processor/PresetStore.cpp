#include "PresetStore.h"

#include "ParameterLayout.h"
#include "ParameterSettings.h"
#include "PresetNameCharacters.h"
#include "UntrustedXml.h"

#include <AtomicFileWrite.h>
#include <BoundedFileRead.h>
#include <ExclusiveFileLock.h>
#include <LarkspurData.h>

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

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
    // the file cannot be made, the read below fails and says why.
    if (presetFile != juce::File() &&
        (! presetFile.exists() || isEmptyRegularFile (presetFile.getFullPathName().toStdString())))
        createFromDefaults();

    if (! reloadFromFile() && createProblem.isNotEmpty() && ! presetFile.exists())
        readProblem = presetFile.getFullPathName() + " cannot be made: " + createProblem;
    lastModified = readLastWriteTime (presetFile);
}

void PresetStore::createFromDefaults()
{
    const auto defaults =
        parseDocument (LarkspurData::defaultPresets_xml, (size_t) LarkspurData::defaultPresets_xmlSize);
    if (defaults == nullptr || ! makeFolderFor (presetFile, createProblem))
        return;

    // Several instances or processes may start at once in a fresh profile: one makes the file,
    // the others find it made.
    const ExclusiveFileLock lock (lockFile().getFullPathName().toStdString(), lockWait);
    if (! lock.isHeld())
    {
        createProblem = juce::String (lock.problem());
        return;
    }

    const auto path = presetFile.getFullPathName().toStdString();
    if (presetFile.exists() && ! isEmptyRegularFile (path))
        return;

    const auto bytes = formatDocument (*defaults);
    std::string reason;
    bool created = false;
    const bool written = presetFile.exists()
                             ? replaceFileAtomically (path, bytes.getData(), bytes.getSize(), reason)
                             : createFileAtomically (path, bytes.getData(), bytes.getSize(), created, reason);
    if (! written)
        createProblem = juce::String (reason);
}

juce::File PresetStore::lockFile() const
{
    // Hidden, beside the file, and never removed (see ExclusiveFileLock).
    return presetFile.getSiblingFile ("." + presetFile.getFileName() + ".lock");
}

std::unique_ptr<ExclusiveFileLock> PresetStore::lockForRewrite (const juce::String& failurePrefix)
{
    writeProblem.clear();
    if (! makeFolderFor (presetFile, writeProblem))
    {
        reportFailure (failurePrefix + describeWriteFailure());
        return {};
    }

    // The lock's problem names the lock file: the presets file itself may be fine.
    auto lock = std::make_unique<ExclusiveFileLock> (lockFile().getFullPathName().toStdString(), lockWait);
    if (lock->isHeld())
        return lock;
    reportFailure (failurePrefix + juce::String (lock->problem()) + ".");
    return {};
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
    // Read back as readDocument reads the file: one the store cannot read offers no presets and
    // refuses every later save, so it never replaces the one there. The written form can be far
    // longer than what was read (indented, wrapped, characters past ASCII as references).
    if (bytes.getSize() > maxFileBytes)
    {
        writeProblem = "it would hold more than the " + juce::String (maxFileBytes / (1024 * 1024)) +
                       " MB the presets file may hold";
        return false;
    }
    if (parseDocument (bytes.getData(), bytes.getSize()) == nullptr)
    {
        writeProblem = "what would be written could not be read back as a presets document";
        return false;
    }
    std::string reason;
    if (replaceFileAtomically (file.getFullPathName().toStdString(), bytes.getData(), bytes.getSize(), reason))
        return true;
    writeProblem = juce::String (reason);
    return false;
}

juce::File PresetStore::makerFolder()
{
    // Only paths from the root are given to juce::File: it expands a leading "~" through HOME (a
    // HOME of "~" recursed until the stack overflowed) and resolves other relative paths from the
    // working folder, where a relative HOME would have put the presets.
    const auto fromRoot = [] (const char* path) { return path != nullptr && path[0] == '/'; };
    if (const char* dataHome = std::getenv ("XDG_DATA_HOME"); fromRoot (dataHome))
        return juce::File (juce::CharPointer_UTF8 (dataHome)).getChildFile ("Korvel Audio Tools");

    const char* home = std::getenv ("HOME");
    if (home == nullptr)
        if (const auto* account = getpwuid (getuid()))
            home = account->pw_dir;
    if (! fromRoot (home))
        return {};
    return juce::File (juce::CharPointer_UTF8 (home)).getChildFile (".local/share/Korvel Audio Tools");
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
            *problem = "there is no user data folder (neither XDG_DATA_HOME nor HOME is an absolute path)";
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
    followCurrentPreset();
    return true;
}

PresetStore::FileContent PresetStore::readUnderLock()
{
    if (reloadFromFile())
        return FileContent::read;

    // Nothing on disk to lose: a missing file, or an empty one (as the constructor treats it).
    const auto path = presetFile.getFullPathName().toStdString();
    struct stat info
    {
    };
    if (presetFile != juce::File() && (lstat (path.c_str(), &info) != 0 || isEmptyRegularFile (path)))
        return FileContent::missing;
    return FileContent::unreadable;
}

int PresetStore::findEntry (const juce::XmlElement& entry, int nearPosition, int lowestPosition) const
{
    // Outward from nearPosition, first towards the start: an entry moves there when one before it
    // is removed, which is the likelier change.
    const int count = presets.getNumChildElements();
    // The order of an element's attributes means nothing, so a hand edit that changes only it
    // keeps the entry.
    const auto isEntry = [&] (int position)
    {
        return position >= lowestPosition && position <= count &&
               presets.getChildElement (position - 1)->isEquivalentTo (&entry, true);
    };
    for (int distance = 0; distance <= count; ++distance)
        for (const int position : { nearPosition - distance, nearPosition + distance })
            if (isEntry (position))
                return position;
    return 0;
}

int PresetStore::findListedEntry (const juce::XmlElement& entry, int nearPosition) const
{
    const auto found = findEntry (entry, nearPosition, 1);
    return found <= getNumListedPresets() ? found : 0;
}

void PresetStore::followCurrentPreset()
{
    if (currentEntry == nullptr)
        return;

    const auto entry = std::move (currentEntry);
    setCurrentPreset (findListedEntry (*entry, currentPreset));
}

int PresetStore::getNumListedPresets() const
{
    return juce::jmin (presets.getNumChildElements(), maxPresets);
}

bool PresetStore::makeFolderFor (const juce::File& file, juce::String& reason)
{
    if (file == juce::File())
    {
        reason = "there is no user data folder (neither XDG_DATA_HOME nor HOME is an absolute path)";
        return false;
    }

    // Several instances may make the folders at once; JUCE's createDirectory gives up on a parent
    // that another has just made, std::filesystem accepts it.
    std::error_code error;
    std::filesystem::create_directories (file.getParentDirectory().getFullPathName().toStdString(), error);
    if (file.getParentDirectory().isDirectory())
        return true;
    reason = error ? juce::String (error.message()) : juce::String ("its folder cannot be made");
    return false;
}

bool PresetStore::writeFile (const juce::XmlElement& element, const juce::File& file)
{
    writeProblem.clear();
    if (! makeFolderFor (file, writeProblem))
        return false;
    if (file.isDirectory())
    {
        writeProblem = "it is a folder";
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

juce::String PresetStore::checkNewPresetName (const juce::String& presetName) const
{
    if (presetName.isEmpty())
        return "the name is empty";

    // Judged as it would be kept, without what shows nothing at either end.
    const auto name = trimPresetName (presetName);
    for (auto p = name.getCharPointer(); ! p.isEmpty(); ++p)
    {
        const auto kind = classifyPresetNameCharacter (*p);
        // Written as a character reference that no XML reader (this store's included) takes back.
        if (kind == PresetNameCharacter::notUnicode)
            return "the name holds a code that is no Unicode character (a lone surrogate, or a number past "
                   "U+10FFFF), as broken text copied from another program can";
        // XML 1.0 cannot hold most C0 controls and a terminal acts on them; line separators and
        // direction overrides change how the rest of the list reads.
        if (kind == PresetNameCharacter::control)
            return "the name holds a control character (such as a tab, a line break or a text-direction override)";
    }

    if (isBlankPresetName (name))
        return "the name holds only spaces, invisible characters or combining marks";

    if (name.getCharPointer().lengthUpTo ((size_t) maxNameLength + 1) > (size_t) maxNameLength)
        return "the name is longer than " + juce::String (maxNameLength) + " characters";

    // Judged as the list shows them: "Big Synth" with a zero-width space after it is the factory
    // preset to whoever reads the list.
    const auto shown = presetNameAsShown (name);
    for (const auto* preset : presets.getChildIterator())
        if (const auto existing = presetNameAsShown (preset->getStringAttribute ("presetName")); existing == shown)
            return "a preset named \"" + existing + "\" exists already";
    return {};
}

bool PresetStore::selectPreset (const juce::String& presetName)
{
    const int chosen = findListedPreset (presetName);
    if (chosen == 0)
        return false;
    const int listed = getNumListedPresets();

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

    setCurrentPreset (position);
}

int PresetStore::findListedPreset (const juce::String& presetName) const
{
    for (int position = 1; position <= getNumListedPresets(); ++position)
        if (presets.getChildElement (position - 1)->getStringAttribute ("presetName") == presetName)
            return position;
    return 0;
}

int PresetStore::findRestoredPreset (const juce::String& presetName) const
{
    for (int position = 1; position <= getNumListedPresets(); ++position)
        if (presets.getChildElement (position - 1)->getStringAttribute ("presetName") == presetName &&
            holdsCurrentSettings (position))
            return position;
    return findListedPreset (presetName);
}

bool PresetStore::holdsCurrentSettings (int position) const
{
    const auto* preset =
        position >= 1 && position <= getNumListedPresets() ? presets.getChildElement (position - 1) : nullptr;
    return preset != nullptr && holdsParameterValues (*preset, processor);
}

void PresetStore::setCurrentPreset (int position)
{
    const auto* preset = position >= 1 ? presets.getChildElement (position - 1) : nullptr;
    currentPreset = preset != nullptr ? position : 0;
    currentEntry = preset != nullptr ? std::make_unique<juce::XmlElement> (*preset) : nullptr;
}

bool PresetStore::savePreset (const juce::String& typedName)
{
    const juce::String notSaved ("The preset was not saved: ");
    const auto lock = lockForRewrite (notSaved);
    if (lock == nullptr)
        return false;

    // Presets saved meanwhile by other instances appear; edits only in memory are replaced. A file
    // that is there but cannot be read is never replaced: it may hold every preset the user has.
    if (readUnderLock() == FileContent::unreadable)
    {
        reportFailure (notSaved + readProblem + ".");
        return false;
    }

    const auto count = presets.getNumChildElements();
    if (count >= maxPresets)
    {
        reportFailure (notSaved + "the presets file already holds " + juce::String (maxPresets) + " presets.");
        return false;
    }
    if (const auto problem = checkNewPresetName (typedName); problem.isNotEmpty())
    {
        reportFailure (notSaved + problem + ".");
        return false;
    }

    auto* preset = new juce::XmlElement ("preset" + juce::String (count + 1));
    captureParameterValues (processor, *preset);
    // Kept as the list shows it, so that the name seen is the name `--preset` finds.
    preset->setAttribute ("presetName", trimPresetName (typedName));
    presets.addChildElement (preset);

    // lastModified stays as it was, so the strip's next look at the file sees the rewrite.
    if (writeFile (presets, presetFile))
    {
        setCurrentPreset (count + 1);
        return true;
    }

    presets.removeChildElement (preset, true);
    reloadFromFile();
    reportFailure (notSaved + describeWriteFailure());
    return false;
}

bool PresetStore::deletePreset (int position)
{
    const juce::String notDeleted ("The preset was not deleted: ");
    const auto* shown = position >= firstUserPreset ? presets.getChildElement (position - 1) : nullptr;
    if (shown == nullptr)
        return true;
    // A copy: the read below replaces presets.
    const juce::XmlElement entry (*shown);

    const auto lock = lockForRewrite (notDeleted);
    if (lock == nullptr)
        return false;

    // Found in the file as it is now: another instance may have removed or added presets.
    if (readUnderLock() != FileContent::read)
    {
        reportFailure (notDeleted + readProblem + ".");
        return false;
    }

    const auto found = findEntry (entry, position, firstUserPreset);
    auto* child = found > 0 ? presets.getChildElement (found - 1) : nullptr;
    if (child == nullptr)
    {
        setCurrentPreset (0);
        return true;
    }

    presets.removeChildElement (child, false);
    const std::unique_ptr<juce::XmlElement> removed (child);
    if (writeFile (presets, presetFile))
    {
        setCurrentPreset (0);
        return true;
    }

    reloadFromFile();
    reportFailure (notDeleted + describeWriteFailure());
    return false;
}
