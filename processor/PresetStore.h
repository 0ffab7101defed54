#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <functional>
#include <memory>

/** The user's presets in presets.xml, created from the embedded default document when missing.
    The preset strip reads and edits the public fields directly and calls the operations below. */
class PresetStore
{
public:
    /** The preset parameter has 101 values, so the list offers at most 101 presets and a save is
        refused once the file holds that many. */
    static constexpr int maxPresets = 101;

    /** relativeFileName is "<product>/presets.xml", below the maker's folder in the user's data folder.
        The settings of a preset are those of this processor's parameters. */
    PresetStore (juce::AudioProcessor& processorToStore, const juce::String& relativeFileName);

    /** Chooses the listed preset of this name as the editor's preset list does: `preset` moves to
        its position as one gesture, then the preset's settings are applied (unless it is already the
        current one), so every change reaches the host like any other. False when no listed preset
        has the name. Message thread. */
    bool selectPreset (const juce::String& presetName);

    /** Applies the settings of the listed preset at the 1-based position and makes it current; the
        preset that is already current applies nothing. */
    void applyPreset (int position);

    /** Re-reads the file, appends the current settings as a new preset named presetName, makes it
        current and rewrites the file. Returns false, with the list as on disk and onFailure told,
        when the file already holds maxPresets presets or cannot be written. */
    bool savePreset (const juce::String& presetName);

    /** Removes the preset at the 1-based position (if there is one) and rewrites the file. Returns
        false, with the list as on disk and onFailure told, when the file cannot be written. */
    bool deletePreset (int position);

    /** Writes the element to the file in the default XML text form, through a temporary file that
        is renamed over it, so the file is never seen half-written. A file that exists but is not
        readable XML is first kept aside as "<name>.unreadable-<time>", so no user data is lost. */
    bool writeFile (const juce::XmlElement& element, const juce::File& file);

    /** Creates the file's missing folders; true when the file exists as a file or can be made
        there. The file itself is never created empty: it appears whole, when it is written. */
    bool ensureFileExists (const juce::File& file);

    /** Replaces presets with the file's content when the file parses; false when it does not, with
        the reason kept for getReadProblem(). */
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

    /** ${XDG_DATA_HOME:-$HOME/.local/share}/Korvel Audio Tools (a relative XDG_DATA_HOME is ignored). */
    static juce::File makerFolder();

    /** Told (on the calling thread) why a save or delete did not reach the file. */
    std::function<void (const juce::String& message)> onFailure;

    /** Writes an element to a file; replaceable so that tests can make writes fail. */
    std::function<bool (const juce::XmlElement& element, const juce::File& file)> writeXml;

    /** The whole file as the default text form writes it. */
    static juce::MemoryBlock formatDocument (const juce::XmlElement& element);

    juce::PropertiesFile::Options options;
    juce::AudioProcessor& processor;
    juce::XmlElement presets{ "PRESETS" };
    juce::File presetFile;
    int currentPreset = 0;
    juce::int64 lastModified = 0;

private:
    bool writeDocument (const juce::XmlElement& element, const juce::File& file);
    void createFromDefaults();
    bool keepUnreadableFileAside (const juce::File& file);
    void reportFailure (const juce::String& message);
    juce::String describeWriteFailure() const;

    juce::String readProblem;
    /** Why the last write failed, when the writer could tell. */
    juce::String writeProblem;

    JUCE_DECLARE_NON_COPYABLE (PresetStore)
};
