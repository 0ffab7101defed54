#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <chrono>
#include <functional>
#include <memory>

class ExclusiveFileLock;

/** The user's presets in presets.xml, created from the embedded default document when missing.
    The preset strip reads and edits the public fields directly and calls the operations below. */
class PresetStore
{
public:
    /** The preset parameter has 101 values, so the list offers at most 101 presets and a save is
        refused once the file holds that many. */
    static constexpr int maxPresets = 101;

    /** Positions 1 to 8 hold the embedded default file's entries (the placeholder and the factory
        presets), which are never deleted. */
    static constexpr int firstUserPreset = 9;

    /** The longest name a new preset may have, in characters (code points). The list shows far
        fewer; the bound keeps every judgement of a name and every read of the file quick. */
    static constexpr int maxNameLength = 100;

    /** How long a save or delete waits for another instance's edit of the file to finish. */
    std::chrono::milliseconds lockWait{ 5000 };

    /** relativeFileName is "<product>/presets.xml", below the maker's folder in the user's data folder.
        The settings of a preset are those of this processor's parameters. */
    PresetStore (juce::AudioProcessor& processorToStore, const juce::String& relativeFileName);

    /** Chooses the listed preset of this name as the editor's preset list does: `preset` moves to
        its position as one gesture, then the preset's settings are applied (unless it is already the
        current one), so every change reaches the host like any other. False when no listed preset
        has the name. Message thread. */
    bool selectPreset (const juce::String& presetName);

    /** The 1-based position of the first listed preset of this name; 0 when none has it. */
    int findListedPreset (const juce::String& presetName) const;

    /** The listed preset that a state naming presetName had chosen: of several of that name (a
        hand-edited file), the first that holds the current settings, else the first; 0 when none
        has the name. */
    int findRestoredPreset (const juce::String& presetName) const;

    /** The 1-based position of the listed entry equal to this one in tag, attributes and their
        text (of several, the one nearest nearPosition); 0 when none is. */
    int findListedEntry (const juce::XmlElement& entry, int nearPosition) const;

    /** Whether the listed preset at the 1-based position holds the current settings, that is,
        applying it would leave every parameter at its setting (holdsParameterValues). */
    bool holdsCurrentSettings (int position) const;

    /** Applies the settings of the listed preset at the 1-based position and makes it current; the
        preset that is already current applies nothing. */
    void applyPreset (int position);

    /** Makes the listed preset at the 1-based position current (0, or a position that holds no
        entry: none) without applying it. From then on the store follows that entry whenever it
        reads the file again, so presets removed or added before it by any instance do not change
        which one is current, and when it is gone none is. */
    void setCurrentPreset (int position);

    /** Under the file's lock: re-reads the file, appends the current settings as a new preset named
        typedName without the spaces and invisible characters at its ends (trimPresetName), makes it
        current and rewrites the file. Returns false, with onFailure told and the file untouched,
        when the name is not one a new preset may have (checkNewPresetName), the file already holds
        maxPresets presets, exists but cannot be read, or cannot be written, or when what would be
        written could not be read back. */
    bool savePreset (const juce::String& typedName);

    /** Deletes the user preset shown at the 1-based position (of presets as last read). Under the
        file's lock that entry is looked for in the file as it is now (findListedEntry), so a preset
        that another instance added or removed meanwhile, or another of the same name, is never hit
        instead; when it is gone already nothing is removed. The default file's
        entries (positions below firstUserPreset) are never deleted. Returns false, with onFailure
        told and the file untouched, when the file cannot be locked, read or written. */
    bool deletePreset (int position);

    /** Why a new preset may not be named so, judged without what shows nothing at its ends: an
        empty name, one that shows blank (only spaces, invisible characters or combining marks),
        one holding control characters (XML cannot hold most of them; separators and direction
        overrides garble the list) or codes that are no Unicode character, one longer than
        maxNameLength, or one that looks like a listed preset's name (`--preset` would find only
        the first). Empty when the name is fine. */
    juce::String checkNewPresetName (const juce::String& presetName) const;

    /** Replaces presets with the file's content when the file parses, and finds the current
        preset's entry again (none when it is gone); false when the file does not parse, with the
        reason kept for getReadProblem(). */
    bool reloadFromFile();

    /** Why the last read of the file failed, naming the file ("... cannot be read: it is a
        folder"); empty when it succeeded. */
    juce::String getReadProblem() const { return readProblem; }

    /** Number of presets the list offers: the first maxPresets of the file. */
    int getNumListedPresets() const;

    /** Far above what 101 presets take (about 300 KB); a larger file is never loaded. */
    static constexpr size_t maxFileBytes = 16 * 1024 * 1024;

    /** Parses a presets document from bytes (any text encoding with a byte-order mark, else UTF-8). */
    static std::unique_ptr<juce::XmlElement> parseDocument (const void* data, size_t numBytes);
    /** Reads a presets document from a regular file of at most maxFileBytes; null when the file
        cannot be read or parsed, with the reason in `problem` when given. */
    static std::unique_ptr<juce::XmlElement> readDocument (const juce::File& file, juce::String* problem = nullptr);

    /** Last-write time in milliseconds since 1970-01-01 UTC; 0 when it cannot be read. */
    static juce::int64 readLastWriteTime (const juce::File& file);

    /** ${XDG_DATA_HOME:-$HOME/.local/share}/Korvel Audio Tools (a relative XDG_DATA_HOME is ignored);
        none when HOME, or the account's home folder without HOME, is not an absolute path. */
    static juce::File makerFolder();

    /** Told (on the calling thread) why a save or delete did not reach the file. */
    std::function<void (const juce::String& message)> onFailure;

    /** Writes an element to a file; replaceable so that tests can make writes fail. */
    std::function<bool (const juce::XmlElement& element, const juce::File& file)> writeXml;

    /** The whole file as the default text form writes it. */
    static juce::MemoryBlock formatDocument (const juce::XmlElement& element);

    juce::AudioProcessor& processor;
    juce::XmlElement presets{ "PRESETS" };
    juce::File presetFile;
    int currentPreset = 0;
    juce::int64 lastModified = 0;

private:
    enum class FileContent
    {
        read,
        missing,
        unreadable
    };

    /** Writes the element to the file in the default XML text form, through a temporary file that
        is renamed over it, so the file is never seen half-written. The caller holds the file's lock
        when it read what it writes. */
    bool writeFile (const juce::XmlElement& element, const juce::File& file);
    bool writeDocument (const juce::XmlElement& element, const juce::File& file);
    void createFromDefaults();
    bool makeFolderFor (const juce::File& file, juce::String& reason);
    juce::File lockFile() const;
    /** Makes the file's folder and takes its lock, for one read, edit and rewrite; null after
        reporting why, prefixed by failurePrefix, when either cannot be done. */
    std::unique_ptr<ExclusiveFileLock> lockForRewrite (const juce::String& failurePrefix);
    FileContent readUnderLock();
    int findEntry (const juce::XmlElement& entry, int nearPosition, int lowestPosition) const;
    void followCurrentPreset();
    void reportFailure (const juce::String& message);
    juce::String describeWriteFailure() const;

    juce::String readProblem;
    /** Why the last write failed, when the writer could tell. */
    juce::String writeProblem;
    /** Why the file could not be made at construction; empty when it was, or was there. */
    juce::String createProblem;
    /** A copy of the current preset's entry, by which it is found again when the file changes. An
        entry's whole content is what names it: its position moves when presets before it come or
        go, and its name may be shared in a hand-edited file, but no instance ever rewrites an entry
        in place. Entries equal in all of it apply the same settings and leave the same list when
        either is deleted, so telling them apart does not matter. Null when none is current. */
    std::unique_ptr<juce::XmlElement> currentEntry;

    JUCE_DECLARE_NON_COPYABLE (PresetStore)
};
