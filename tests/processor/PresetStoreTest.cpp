#include "AllocationCounter.h"
#include "DefaultPresetsTable.h"
#include "ParameterSettings.h"
#include "PresetNameCharacters.h"
#include "ProcessorTestSupport.h"

#include <LarkspurData.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <string>
#include <vector>

namespace
{
juce::String utf32 (const char32_t* text)
{
    static_assert (sizeof (juce::juce_wchar) == sizeof (char32_t));
    return juce::String (juce::CharPointer_UTF32 (reinterpret_cast<const juce::juce_wchar*> (text)));
}

juce::String readText (const juce::File& file)
{
    const auto bytes = fileBytes (file);
    return juce::String::fromUTF8 (static_cast<const char*> (bytes.getData()), (int) bytes.getSize());
}

// A presets document with the given number of entries, each holding only a name.
void writePresetsWithEntries (const juce::File& file, int count)
{
    juce::XmlElement presets ("PRESETS");
    for (int i = 1; i <= count; ++i)
        presets.createNewChildElement ("preset" + juce::String (i))
            ->setAttribute ("presetName", "Entry " + juce::String (i));
    file.getParentDirectory().createDirectory();
    ASSERT_TRUE (presets.writeTo (file));
}

class PresetStoreTest : public ::testing::Test
{
protected:
    TemporaryUserFolder userFolder;
};
} // namespace

TEST_F (PresetStoreTest, FreshProfileGetsTheDefaultPresetsFileByteForByte)
{
    ConvolutionEqAudioProcessor processor;
    const auto file = userFolder.presetsFile();
    ASSERT_TRUE (file.existsAsFile());
    EXPECT_EQ (processor.getPresetStore().presetFile, file);

    const auto written = readText (file);
    EXPECT_EQ (written, formatPresetsDocument (expectedDefaultPresets()));
    EXPECT_TRUE (written.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<PRESETS>\r\n"));

    // The embedded document is already in the written form.
    EXPECT_EQ (fileBytes (file),
               juce::MemoryBlock (LarkspurData::defaultPresets_xml, (size_t) LarkspurData::defaultPresets_xmlSize));

    auto& store = processor.getPresetStore();
    EXPECT_EQ (store.presets.getTagName(), "PRESETS");
    EXPECT_EQ (store.presets.getNumChildElements(), 8);
    EXPECT_EQ (store.currentPreset, 0);
    EXPECT_EQ (store.lastModified, PresetStore::readLastWriteTime (file));
    EXPECT_GT (store.lastModified, 0);
}

TEST_F (PresetStoreTest, FactoryPresetsDecodeToTheirPlainValues)
{
    ConvolutionEqAudioProcessor processor;
    auto& presets = processor.getPresetStore().presets;

    applyParameterValues (*presets.getChildElement (1), processor); // "Blended Drums"
    EXPECT_NEAR (plainValue (processor, "gain_1_1"), 9.0f, 1.0e-4f);
    EXPECT_NEAR (plainValue (processor, "frequency_1_1"), 300.0f, 1.0e-3f);
    EXPECT_NEAR (plainValue (processor, "gain_2_2"), 6.0f, 1.0e-4f);
    EXPECT_NEAR (plainValue (processor, "frequency_2_3"), 10000.0f, 1.0e-2f);
    EXPECT_EQ (processor.getTypeParameter (2, 3)->getCurrentChoiceName(), "HP");

    applyParameterValues (*presets.getChildElement (3), processor); // "Thump M-S"
    EXPECT_NEAR (plainValue (processor, "out_1_1"), 2.7f, 1.0e-4f);
    EXPECT_NEAR (plainValue (processor, "frequency_2_1"), 100.0f, 1.0e-3f);
    EXPECT_EQ (processor.getTypeParameter (1, 1)->getCurrentChoiceName(), "LP");
    EXPECT_EQ (processor.currentValue (ConvolutionEqAudioProcessor::CachedValue::processM), 1.0f);
    EXPECT_EQ (processor.currentValue (ConvolutionEqAudioProcessor::CachedValue::processA), 0.0f);

    // Every stored text reads back as exactly the normalised value it was captured from.
    juce::XmlElement captured ("check");
    captureParameterValues (processor, captured);
    for (int i = 0; i < captured.getNumAttributes(); ++i)
        EXPECT_EQ (captured.getAttributeValue (i),
                   presets.getChildElement (3)->getStringAttribute (captured.getAttributeName (i)))
            << captured.getAttributeName (i);
}

TEST_F (PresetStoreTest, FolderFollowsTheDataHomeRules)
{
    const auto home = userFolder.getFolder().getChildFile ("h");
    home.createDirectory();
    const auto previousHome = juce::String (std::getenv ("HOME"));
    setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);

    unsetenv ("XDG_DATA_HOME");
    {
        ConvolutionEqAudioProcessor processor;
        EXPECT_TRUE (home.getChildFile (".local/share/Korvel Audio Tools/Larkspur/presets.xml").existsAsFile());
    }

    // A relative data home is ignored.
    setenv ("XDG_DATA_HOME", "relative/folder", 1);
    EXPECT_EQ (PresetStore::makerFolder(), home.getChildFile (".local/share/Korvel Audio Tools"));

    setenv ("XDG_DATA_HOME", userFolder.getFolder().getFullPathName().toRawUTF8(), 1);
    EXPECT_EQ (PresetStore::makerFolder(), userFolder.getFolder().getChildFile ("Korvel Audio Tools"));
    setenv ("HOME", previousHome.toRawUTF8(), 1);
}

// A data home that is not a path from the root names no folder, whatever JUCE would make of it: a
// HOME of "~" once recursed through JUCE's expansion of "~" until the stack overflowed, and a
// relative one put the presets below the working folder. The presets file is then refused, saying
// why, and nothing else fails.
TEST_F (PresetStoreTest, DataHomeThatIsNoAbsolutePathNamesNoFolder)
{
    const auto home = userFolder.getFolder().getChildFile ("h");
    const auto previousHome = juce::String (std::getenv ("HOME"));
    const auto workingFolder = juce::File::getCurrentWorkingDirectory();
    struct Case
    {
        const char* home;
        const char* dataHome;
        juce::File folder;
    };
    const Case cases[] = {
        { "~", nullptr, {} },
        { "~/x", nullptr, {} },
        { "relative-home", nullptr, {} },
        { "./relative-home", nullptr, {} },
        { "", nullptr, {} },
        { "relative-home", "~", {} },
        // A "~" data home is ignored like any relative one, not read as the home folder.
        { home.getFullPathName().toRawUTF8(), "~", home.getChildFile (".local/share/Korvel Audio Tools") },
    };
    const juce::String noFolder = "there is no user data folder (neither XDG_DATA_HOME nor HOME is an absolute path)";
    for (const Case& c : cases)
    {
        SCOPED_TRACE (juce::String ("HOME=") + c.home + " XDG_DATA_HOME=" + (c.dataHome ? c.dataHome : "(unset)"));
        setenv ("HOME", c.home, 1);
        if (c.dataHome != nullptr)
            setenv ("XDG_DATA_HOME", c.dataHome, 1);
        else
            unsetenv ("XDG_DATA_HOME");
        EXPECT_EQ (PresetStore::makerFolder(), c.folder);
        if (c.folder != juce::File())
            continue;

        ConvolutionEqAudioProcessor processor;
        auto& store = processor.getPresetStore();
        EXPECT_EQ (store.getReadProblem(), noFolder);
        juce::String failure;
        store.onFailure = [&failure] (const juce::String& message) { failure = message; };
        EXPECT_FALSE (store.savePreset ("Mine"));
        EXPECT_TRUE (failure.contains (noFolder)) << failure;
        EXPECT_FALSE (workingFolder.getChildFile ("relative-home").exists());
    }
    setenv ("HOME", previousHome.toRawUTF8(), 1);
    setenv ("XDG_DATA_HOME", userFolder.getFolder().getFullPathName().toRawUTF8(), 1);
}

TEST_F (PresetStoreTest, LastWriteTimeHasMilliseconds)
{
    ConvolutionEqAudioProcessor processor;
    const auto file = userFolder.presetsFile();

    const timespec times[2]{ { 1700000000, 123456789 }, { 1700000000, 987654321 } };
    ASSERT_EQ (utimensat (AT_FDCWD, file.getFullPathName().toRawUTF8(), times, 0), 0);
    EXPECT_EQ (PresetStore::readLastWriteTime (file), 1700000000987LL);

    EXPECT_EQ (PresetStore::readLastWriteTime (file.getSiblingFile ("missing.xml")), 0);
    EXPECT_EQ (PresetStore::readLastWriteTime (juce::File()), 0);
}

TEST_F (PresetStoreTest, SaveAppendsTheCurrentSettingsAndRewritesTheFile)
{
    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();
    const auto modifiedBefore = store.lastModified;
    setPlainValue (processor, "gain_1_2", 4.0f);
    setPlainValue (processor, "preset", 3.0f);

    ASSERT_TRUE (store.savePreset ("Mine"));
    EXPECT_EQ (store.currentPreset, 9);
    EXPECT_EQ (store.lastModified, modifiedBefore);

    ASSERT_EQ (store.presets.getNumChildElements(), 9);
    auto* saved = store.presets.getChildElement (8);
    EXPECT_EQ (saved->getTagName(), "preset9");
    ASSERT_EQ (saved->getNumAttributes(), 59);
    EXPECT_EQ (saved->getAttributeName (0), "bypass");
    EXPECT_EQ (saved->getAttributeName (58), "presetName");
    EXPECT_EQ (saved->getStringAttribute ("presetName"), "Mine");
    EXPECT_FALSE (saved->hasAttribute ("preset"));
    EXPECT_EQ (saved->getStringAttribute ("gain_1_2"), "0.6666666865348816");
    EXPECT_EQ (saved->getStringAttribute ("active_1_1"), "1.0");

    auto onDisk = PresetStore::readDocument (userFolder.presetsFile());
    ASSERT_NE (onDisk, nullptr);
    EXPECT_TRUE (onDisk->isEquivalentTo (&store.presets, false));
    EXPECT_TRUE (readText (userFolder.presetsFile()).startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n"));
}

TEST_F (PresetStoreTest, SavePicksUpEntriesWrittenByAnotherInstance)
{
    ConvolutionEqAudioProcessor first;
    ConvolutionEqAudioProcessor second;
    ASSERT_TRUE (first.getPresetStore().savePreset ("From first"));
    ASSERT_TRUE (second.getPresetStore().savePreset ("From second"));

    auto& presets = second.getPresetStore().presets;
    ASSERT_EQ (presets.getNumChildElements(), 10);
    EXPECT_EQ (presets.getChildElement (8)->getStringAttribute ("presetName"), "From first");
    EXPECT_EQ (presets.getChildElement (9)->getTagName(), "preset10");
    EXPECT_EQ (second.getPresetStore().currentPreset, 10);
}

TEST_F (PresetStoreTest, NewNamesAreJudgedAsTheListShowsThem)
{
    auto document =
        PresetStore::parseDocument (LarkspurData::defaultPresets_xml, (size_t) LarkspurData::defaultPresets_xmlSize);
    document->createNewChildElement ("preset9")->setAttribute ("presetName", utf32 (U"Pad\u200b"));
    // Names a new preset may not have, as a hand-edited file can hold them.
    document->createNewChildElement ("preset10")->setAttribute ("presetName", "Wide\tPad");
    document->createNewChildElement ("preset11")->setAttribute ("presetName", "Two\nLines");
    userFolder.presetsFile().getParentDirectory().createDirectory();
    ASSERT_TRUE (document->writeTo (userFolder.presetsFile()));

    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();

    enum class Verdict
    {
        fine,
        empty,
        blank,
        control,
        notUnicode,
        duplicate
    };
    struct Case
    {
        const char32_t* name;
        Verdict verdict;
    };
    const std::vector<Case> cases{
        { U"Big Synth 2", Verdict::fine },
        { U"Big synth", Verdict::fine }, // case is kept: it looks different
        { U"BigSynth", Verdict::fine },
        { U"Gr\u00fcn \u2014 wide", Verdict::fine },
        { U"Caf\u00e9\u00a0Noir", Verdict::fine },
        { U"\U0001f469\u200d\U0001f3a4 Vocal", Verdict::fine },                 // a joiner inside an emoji
        { U"\u0645\u06cc\u200c\u062e\u0648\u0627\u0647\u0645", Verdict::fine }, // a non-joiner in Persian
        { U"Soft\u00adhyphen", Verdict::fine },
        { U"Caf\u0065\u0301", Verdict::fine }, // a mark on its letter
        { U"Bi\u0301g Synth", Verdict::fine }, // the mark makes another letter: no look-alike of "Big Synth"
        { U"\u2800Dots", Verdict::fine },
        { U"Tag\U000E0100", Verdict::fine },
        { U"", Verdict::empty },
        { U"   ", Verdict::blank },
        { U"\u00a0\u00a0", Verdict::blank },
        { U"\u3000", Verdict::blank },
        { U"\u200b", Verdict::blank },
        { U"\ufeff", Verdict::blank },
        { U"\u2060\u180e\u00ad", Verdict::blank },
        { U"\u3164", Verdict::blank }, // Hangul filler
        { U"\u1680\u2000\u200a\u202f\u205f", Verdict::blank },
        { U" \u200b\u00a0\ufe0f ", Verdict::blank },
        { U"\u0301", Verdict::blank }, // marks with no letter to sit on
        { U"\u0300\u036f\u20dd", Verdict::blank },
        { U" \u0308 ", Verdict::blank },
        { U"\u2800", Verdict::blank },             // braille blank
        { U"\uffa0\u115f\u1160", Verdict::blank }, // Hangul fillers
        { U"\U000E0100", Verdict::blank },         // supplementary variation selectors, at both ends
        { U"\U000E01EF", Verdict::blank },
        { U"Tab\there", Verdict::control },
        { U"Line\nbreak", Verdict::control },
        { U"Bell\x07", Verdict::control },
        { U"Del\x7f", Verdict::control },
        { U"\x85next line", Verdict::control },
        { U"C1 \x9f", Verdict::control },
        { U"Line\u2028separator", Verdict::control },
        { U"Paragraph\u2029separator", Verdict::control },
        { U"\u202eevil.xml", Verdict::control },
        { U"\u202aembedded", Verdict::control },
        { U"\u2066isolated\u2069", Verdict::control },
        { U"mark\u200f", Verdict::control },
        { U"\u061c", Verdict::control },
        { U"\u00a0\t", Verdict::control },
        { U"a\x1f", Verdict::control },
        { U"a\x80", Verdict::control },
        { U"a\u061c", Verdict::control }, // every direction control, at both ends of its range
        { U"a\u200e", Verdict::control },
        { U"a\u200f", Verdict::control },
        { U"a\u202a", Verdict::control },
        { U"a\u202e", Verdict::control },
        { U"a\u2066", Verdict::control },
        { U"a\u2069", Verdict::control },
        { U"Lone \xd800", Verdict::notUnicode },
        { U"Lone \xdfff", Verdict::notUnicode },
        { U"Past \x110000", Verdict::notUnicode },
        { U"Far \x7fffffff", Verdict::notUnicode },
        { U"Big Synth", Verdict::duplicate },
        { U" Big Synth ", Verdict::duplicate },
        { U"Big Synth\u200b", Verdict::duplicate },
        { U"\ufeffBig Synth", Verdict::duplicate },
        { U"Big\u00a0Synth", Verdict::duplicate },
        { U"Big\u3000Synth", Verdict::duplicate },
        { U"Big  Synth", Verdict::duplicate },
        { U"Big\u2060 Synth\ufe0f", Verdict::duplicate },
        { U"Pad", Verdict::duplicate }, // the listed name holds the zero-width space
        { U"Big\u2800Synth", Verdict::duplicate },
        { U"Big Synth\U000E0100", Verdict::duplicate }, // supplementary variation selectors draw nothing
        { U"Big Synth\U000E01EF", Verdict::duplicate },
        { U"Wide Pad", Verdict::duplicate }, // a tab or line feed in a listed name is a gap
        { U"Two Lines", Verdict::duplicate },
    };

    const auto before = fileBytes (userFolder.presetsFile());
    for (const auto& c : cases)
    {
        const auto name = utf32 (c.name);
        SCOPED_TRACE (name.toUTF8().getAddress());
        const auto problem = store.checkNewPresetName (name);
        switch (c.verdict)
        {
            case Verdict::fine:
                EXPECT_EQ (problem, juce::String());
                continue;
            case Verdict::empty:
                EXPECT_EQ (problem, "the name is empty");
                break;
            case Verdict::blank:
                EXPECT_EQ (problem, "the name holds only spaces, invisible characters or combining marks");
                break;
            case Verdict::control:
                EXPECT_TRUE (problem.startsWith ("the name holds a control character")) << problem;
                break;
            case Verdict::notUnicode:
                EXPECT_TRUE (problem.startsWith ("the name holds a code that is no Unicode character")) << problem;
                break;
            case Verdict::duplicate:
                EXPECT_TRUE (problem.endsWith ("exists already")) << problem;
                break;
        }

        // The store itself refuses what the dialog would, and the file stays as it is.
        juce::StringArray failures;
        store.onFailure = [&] (const juce::String& message) { failures.add (message); };
        EXPECT_FALSE (store.savePreset (name));
        EXPECT_EQ (failures.joinIntoString ("|"), "The preset was not saved: " + problem + ".");
        EXPECT_EQ (fileBytes (userFolder.presetsFile()), before);
    }

    // The listed name is quoted as it shows, without the invisible character.
    EXPECT_EQ (store.checkNewPresetName (utf32 (U"Big\u00a0Synth")), "a preset named \"Big Synth\" exists already");
    EXPECT_EQ (store.checkNewPresetName ("Pad"), "a preset named \"Pad\" exists already");

    // A name that is fine is saved as typed, and its look-alikes are refused from then on.
    const auto vocal = utf32 (U"\U0001f469\u200d\U0001f3a4 Vocal");
    ASSERT_TRUE (store.savePreset (vocal));
    EXPECT_EQ (PresetStore::readDocument (userFolder.presetsFile())
                   ->getChildElement (store.currentPreset - 1)
                   ->getStringAttribute ("presetName"),
               vocal);
    EXPECT_TRUE (store.checkNewPresetName (utf32 (U"\U0001f469\U0001f3a4 Vocal\u200b")).endsWith ("exists already"));
}

TEST_F (PresetStoreTest, FilesHoldingNamesANewPresetMayNotHaveStillLoadAndKeepThem)
{
    const std::vector<juce::String> oddNames{
        utf32 (U"\u00a0\u00a0"),
        utf32 (U"\u3000"),
        utf32 (U"\u200b"),
        utf32 (U"\ufeff"),
        utf32 (U"Del\x7f"),
        utf32 (U"\x85\x9f"),
        utf32 (U"Line\u2028sep"),
        utf32 (U"\u202eevil"),
        utf32 (U"Old\x01name"),
        utf32 (U"Big Synth\u200b"),
        "   ",
    };
    auto document =
        PresetStore::parseDocument (LarkspurData::defaultPresets_xml, (size_t) LarkspurData::defaultPresets_xmlSize);
    for (const auto& name : oddNames)
        document->createNewChildElement ("preset" + juce::String (document->getNumChildElements() + 1))
            ->setAttribute ("presetName", name);
    userFolder.presetsFile().getParentDirectory().createDirectory();
    ASSERT_TRUE (document->writeTo (userFolder.presetsFile()));

    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();
    const auto expectNamesKept = [&] (const juce::XmlElement& presets)
    {
        ASSERT_GE (presets.getNumChildElements(), 8 + (int) oddNames.size());
        for (size_t i = 0; i < oddNames.size(); ++i)
            EXPECT_EQ (presets.getChildElement (8 + (int) i)->getStringAttribute ("presetName"), oddNames[i]) << i;
    };
    expectNamesKept (store.presets);

    // They stay usable: chosen by their exact name, and kept as they are when the file is rewritten.
    EXPECT_TRUE (store.selectPreset (utf32 (U"Big Synth\u200b")));
    EXPECT_EQ (store.currentPreset, 18);
    ASSERT_TRUE (store.savePreset ("Fresh"));
    expectNamesKept (*PresetStore::readDocument (userFolder.presetsFile()));
    ASSERT_TRUE (store.deletePreset (9));
    EXPECT_EQ (
        PresetStore::readDocument (userFolder.presetsFile())->getChildElement (8)->getStringAttribute ("presetName"),
        oddNames[1]);
}

TEST_F (PresetStoreTest, NewNamesAreKeptWithoutWhatShowsNothingAtTheirEnds)
{
    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();
    struct Case
    {
        const char32_t* typed;
        const char32_t* kept;
    };
    const std::vector<Case> cases{
        { U"Trail ", U"Trail" },
        { U"  Lead", U"Lead" },
        { U"\u00a0Both\u3000", U"Both" },
        { U"\ufeff\u2060Marks\u200b\u200d", U"Marks" },
        { U"\u2800Braille\u2800", U"Braille" },
        { U"Inner  gap\u200bkept", U"Inner  gap\u200bkept" },
        { U"Accent e\u0301 ", U"Accent e\u0301" },
        // Selectors right after a character belong to it; after a gap or nothing they show nothing.
        { U"Heart \u2764\ufe0f ", U"Heart \u2764\ufe0f" },
        { U"Flag \U0001f3f4\U000e0067\U000e0062\U000e0073\U000e0063\U000e0074\U000e007f\u200b",
          U"Flag \U0001f3f4\U000e0067\U000e0062\U000e0073\U000e0063\U000e0074\U000e007f" },
        { U"Ideograph \u845b\U000e0100", U"Ideograph \u845b\U000e0100" },
        { U"Loose \ufe0f", U"Loose" },
        { U"Joined\u200b\ufe0f", U"Joined" },
        { U"\ufe0fFront", U"Front" },
    };
    for (const auto& c : cases)
    {
        const auto typed = utf32 (c.typed);
        const auto kept = utf32 (c.kept);
        SCOPED_TRACE (typed.toUTF8().getAddress());
        EXPECT_EQ (trimPresetName (typed), kept);
        ASSERT_TRUE (store.savePreset (typed));
        const auto position = store.currentPreset;
        EXPECT_EQ (store.presets.getChildElement (position - 1)->getStringAttribute ("presetName"), kept);
        EXPECT_EQ (PresetStore::readDocument (userFolder.presetsFile())
                       ->getChildElement (position - 1)
                       ->getStringAttribute ("presetName"),
                   kept);

        // Found by the name the list shows.
        store.setCurrentPreset (0);
        EXPECT_EQ (store.findListedPreset (kept), position);
    }
}

TEST_F (PresetStoreTest, NamesPastOneHundredCharactersAreRefusedAndLongNamesAreJudgedQuickly)
{
    // A name of a million characters in the file, as earlier versions saved one.
    const auto listedLongName = juce::String::repeatedString ("Long name ", 100000);
    auto document =
        PresetStore::parseDocument (LarkspurData::defaultPresets_xml, (size_t) LarkspurData::defaultPresets_xmlSize);
    document->createNewChildElement ("preset9")->setAttribute ("presetName", listedLongName);
    userFolder.presetsFile().getParentDirectory().createDirectory();
    ASSERT_TRUE (document->writeTo (userFolder.presetsFile()));

    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();
    const juce::String tooLong ("the name is longer than 100 characters");
    struct Case
    {
        juce::String name;
        juce::String problem;
    };
    const std::vector<Case> cases{
        { juce::String::repeatedString ("x", 100), {} },
        { juce::String::repeatedString ("y", 101), tooLong },
        { "  " + juce::String::repeatedString ("z", 100) + utf32 (U"\u00a0\u200b"), {} }, // ends left out
        { juce::String::repeatedString (utf32 (U"\u00e9"), 100), {} },                    // characters, not bytes
        { juce::String::repeatedString (utf32 (U"\U0001f3b9"), 100), {} },
        { juce::String::repeatedString (utf32 (U"\U0001f3b8"), 101), tooLong },
        { juce::String::repeatedString ("Pasted ", 60000), tooLong },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name.substring (0, 20).toUTF8().getAddress());
        // A check that builds its strings a character at a time allocates with each few
        // characters, and takes minutes over a pasted page; one in linear time allocates a few
        // times a name.
        const AllocationCounter allocations;
        EXPECT_EQ (store.checkNewPresetName (c.name), c.problem);
        EXPECT_LT (allocations.count(), 1000);
        EXPECT_EQ (store.savePreset (c.name), c.problem.isEmpty());
    }
    EXPECT_EQ (store.presets.getNumChildElements(), 13);
}

TEST_F (PresetStoreTest, NamesHoldingCodesThatAreNoCharacterAreRefusedAndTheFileStaysReadable)
{
    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();
    const auto file = userFolder.presetsFile();
    const auto before = fileBytes (file);
    juce::StringArray failures;
    store.onFailure = [&] (const juce::String& message) { failures.add (message); };

    const char16_t loneLead[]{ u'A', 0xd800, u'x', 0 };
    const char16_t loneTrail[]{ u'B', 0xdc00, 0 };
    const std::vector<juce::String> names{
        juce::String (juce::CharPointer_UTF16 (reinterpret_cast<const juce::CharPointer_UTF16::CharType*> (loneLead))),
        juce::String (juce::CharPointer_UTF16 (reinterpret_cast<const juce::CharPointer_UTF16::CharType*> (loneTrail))),
        juce::String (juce::CharPointer_UTF8 ("CESU \xed\xa0\xbd\xed\xb8\x80")), // U+1F600 as two halves
        utf32 (U"Beyond \x110000"),
    };
    for (const auto& name : names)
    {
        failures.clear();
        EXPECT_FALSE (store.savePreset (name));
        ASSERT_EQ (failures.size(), 1);
        EXPECT_TRUE (failures[0].startsWith ("The preset was not saved: the name holds a code that is no Unicode "
                                             "character"))
            << failures[0];
        EXPECT_EQ (fileBytes (file), before);
    }

    // The list and later saves stay as they were.
    EXPECT_EQ (store.presets.getNumChildElements(), 8);
    ASSERT_TRUE (store.savePreset ("Afterwards"));
    ASSERT_NE (PresetStore::readDocument (file), nullptr);
    EXPECT_EQ (PresetStore::readDocument (file)->getNumChildElements(), 9);
}

TEST_F (PresetStoreTest, AFileTheStoreCouldNotReadBackIsNeverWritten)
{
    // Compact as no writer of this system makes it: wrapped and indented under a long tag, each
    // attribute of this entry takes a line of its own, and the file grows past what the store reads.
    const auto file = userFolder.presetsFile();
    {
        juce::MemoryOutputStream compact;
        compact << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><PRESETS><preset1 presetName=\"Wide\"";
        const auto tag = juce::String::repeatedString ("w", 1000);
        compact << "/><" << tag;
        for (int i = 0; i < 20000; ++i)
            compact << " " << juce::String::repeatedString ("a", 60) << "=\"1\"";
        compact << " presetName=\"Tall\"/></PRESETS>";
        file.getParentDirectory().createDirectory();
        ASSERT_TRUE (file.replaceWithData (compact.getData(), compact.getDataSize()));
    }
    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();
    ASSERT_EQ (store.presets.getNumChildElements(), 2);
    const auto before = fileBytes (file);
    juce::StringArray failures;
    store.onFailure = [&] (const juce::String& message) { failures.add (message); };

    EXPECT_FALSE (store.savePreset ("Fresh"));
    EXPECT_EQ (failures.joinIntoString ("|"), "The preset was not saved: " + file.getFullPathName() +
                                                  " could not be written: it would hold more than the 16 MB the "
                                                  "presets file may hold.");
    EXPECT_EQ (fileBytes (file), before);
    EXPECT_EQ (store.presets.getNumChildElements(), 2);
    EXPECT_EQ (store.getReadProblem(), juce::String());

    // Whatever the store holds: an entry that no file could carry (only a test can put one there)
    // keeps a missing file missing rather than made unreadable.
    ASSERT_TRUE (file.deleteFile());
    store.presets.deleteAllChildElements();
    store.presets.createNewChildElement ("preset1")->setAttribute ("presetName", utf32 (U"Broken \xd800"));
    failures.clear();
    EXPECT_FALSE (store.savePreset ("Fresh"));
    EXPECT_EQ (failures.joinIntoString ("|"), "The preset was not saved: " + file.getFullPathName() +
                                                  " could not be written: what would be written could not be read "
                                                  "back as a presets document.");
    EXPECT_FALSE (file.exists());

    // A file of just the size the store reads is written; one byte more is not.
    const auto withFill = [&] (size_t fill)
    {
        store.presets.deleteAllChildElements();
        store.presets.createNewChildElement ("preset1")->setAttribute ("presetName",
                                                                       juce::String::repeatedString ("x", (int) fill));
    };
    withFill (1);
    juce::XmlElement saved (store.presets);
    auto* fresh = saved.createNewChildElement ("preset2");
    captureParameterValues (processor, *fresh);
    fresh->setAttribute ("presetName", "Fresh");
    const auto fill = 1 + PresetStore::maxFileBytes - PresetStore::formatDocument (saved).getSize();
    for (const auto extra : { 1, 0 })
    {
        withFill (fill + (size_t) extra);
        failures.clear();
        EXPECT_EQ (store.savePreset ("Fresh"), extra == 0);
        EXPECT_EQ (failures.size(), extra);
        EXPECT_EQ (file.getSize(), extra == 0 ? (juce::int64) PresetStore::maxFileBytes : 0);
    }
    EXPECT_EQ (PresetStore::readDocument (file)->getNumChildElements(), 2);
}

TEST_F (PresetStoreTest, FailedWriteIsReportedAndLeavesFileAndListAsOnDisk)
{
    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();
    ASSERT_TRUE (store.savePreset ("Kept"));
    const auto file = userFolder.presetsFile();
    const auto before = fileBytes (file);
    store.setCurrentPreset (3);

    juce::StringArray failures;
    store.onFailure = [&] (const juce::String& message) { failures.add (message); };
    store.writeXml = [] (const juce::XmlElement&, const juce::File&) { return false; };

    EXPECT_FALSE (store.savePreset ("Lost"));
    EXPECT_EQ (failures.size(), 1);
    EXPECT_EQ (store.presets.getNumChildElements(), 9);
    EXPECT_EQ (store.currentPreset, 3);
    EXPECT_EQ (fileBytes (file), before);

    EXPECT_FALSE (store.deletePreset (9));
    EXPECT_EQ (failures.size(), 2);
    EXPECT_EQ (store.presets.getNumChildElements(), 9);
    EXPECT_EQ (store.presets.getChildElement (8)->getStringAttribute ("presetName"), "Kept");
    EXPECT_EQ (fileBytes (file), before);

    // The default file's entries are never deleted.
    store.writeXml = nullptr;
    EXPECT_TRUE (store.deletePreset (2));
    EXPECT_EQ (fileBytes (file), before);
}

TEST_F (PresetStoreTest, TargetThatIsAFolderCannotBeWritten)
{
    const auto file = userFolder.presetsFile();
    ASSERT_TRUE (file.getChildFile ("keep/me").createDirectory());

    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();
    EXPECT_EQ (store.presets.getNumChildElements(), 0);

    bool told = false;
    store.onFailure = [&] (const juce::String&) { told = true; };
    EXPECT_FALSE (store.savePreset ("Nowhere"));
    EXPECT_TRUE (told);
    EXPECT_EQ (store.presets.getNumChildElements(), 0);
    EXPECT_EQ (store.currentPreset, 0);
    EXPECT_TRUE (file.getChildFile ("keep/me").isDirectory());
}

TEST_F (PresetStoreTest, DeleteRemovesOneEntryAndRewritesTheFile)
{
    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();
    ASSERT_TRUE (store.savePreset ("A"));
    ASSERT_TRUE (store.savePreset ("B"));

    ASSERT_TRUE (store.deletePreset (9));
    EXPECT_EQ (store.currentPreset, 0);
    auto onDisk = PresetStore::readDocument (userFolder.presetsFile());
    ASSERT_EQ (onDisk->getNumChildElements(), 9);
    EXPECT_EQ (onDisk->getChildElement (8)->getStringAttribute ("presetName"), "B");

    // Tags need not be unique: the next save is again "preset10".
    ASSERT_TRUE (store.savePreset ("C"));
    EXPECT_EQ (store.presets.getChildElement (9)->getTagName(), "preset10");
    EXPECT_EQ (store.presets.getChildElement (8)->getTagName(), "preset10");

    // No entry at the position: the list stays as it is.
    EXPECT_TRUE (store.deletePreset (0));
    EXPECT_TRUE (store.deletePreset (99));
    EXPECT_EQ (store.presets.getNumChildElements(), 10);
}

TEST_F (PresetStoreTest, FullFileRefusesSaveAndStaysUnchanged)
{
    writePresetsWithEntries (userFolder.presetsFile(), 101);
    const auto before = fileBytes (userFolder.presetsFile());

    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();
    bool told = false;
    store.onFailure = [&] (const juce::String&) { told = true; };

    EXPECT_FALSE (store.savePreset ("One too many"));
    EXPECT_TRUE (told);
    EXPECT_EQ (store.presets.getNumChildElements(), 101);
    EXPECT_EQ (fileBytes (userFolder.presetsFile()), before);
}

TEST_F (PresetStoreTest, SaveWithOneHundredEntriesMakesTheHundredAndFirst)
{
    writePresetsWithEntries (userFolder.presetsFile(), 100);
    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();
    EXPECT_TRUE (store.savePreset ("Last one"));
    EXPECT_EQ (store.currentPreset, 101);
    EXPECT_EQ (PresetStore::readDocument (userFolder.presetsFile())->getNumChildElements(), 101);
}

TEST_F (PresetStoreTest, ListOffersAtMostTheFirstHundredAndOneEntries)
{
    writePresetsWithEntries (userFolder.presetsFile(), 120);
    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();
    EXPECT_EQ (store.presets.getNumChildElements(), 120);
    EXPECT_EQ (store.getNumListedPresets(), 101);
}

TEST_F (PresetStoreTest, DocumentsTheFrameworkReaderCannotTakeAreUnreadable)
{
    const juce::String text ("<?xml version=\"1.0\"?>\r\n<PRESETS><?x?>b<preset1 presetName=\"A\"/></PRESETS>");
    EXPECT_EQ (PresetStore::parseDocument (text.toRawUTF8(), text.getNumBytesAsUTF8()), nullptr);

    const auto deep = "<PRESETS>" + juce::String::repeatedString ("<a>", 300000) +
                      juce::String::repeatedString ("</a>", 300000) + "</PRESETS>";
    EXPECT_EQ (PresetStore::parseDocument (deep.toRawUTF8(), deep.getNumBytesAsUTF8()), nullptr);

    const juce::String declaration (
        "<!DOCTYPE PRESETS [<!ENTITY e \"x\">]><PRESETS><preset1 presetName=\"&e;\"/></PRESETS>");
    EXPECT_EQ (PresetStore::parseDocument (declaration.toRawUTF8(), declaration.getNumBytesAsUTF8()), nullptr);

    // Comments, character data and quoted '>' are fine; a '<' inside a tag is not XML.
    const juce::String commented ("<PRESETS><!-- <a> --><![CDATA[<b>]]><preset1 presetName=\"a>b\"/></PRESETS>");
    EXPECT_NE (PresetStore::parseDocument (commented.toRawUTF8(), commented.getNumBytesAsUTF8()), nullptr);
    const juce::String bracket ("<PRESETS><preset1 presetName=\"a<b\"/></PRESETS>");
    EXPECT_EQ (PresetStore::parseDocument (bracket.toRawUTF8(), bracket.getNumBytesAsUTF8()), nullptr);

    const juce::String plain ("<?xml version=\"1.0\"?>\r\n<PRESETS><preset1 presetName=\"A\"/></PRESETS>");
    EXPECT_NE (PresetStore::parseDocument (plain.toRawUTF8(), plain.getNumBytesAsUTF8()), nullptr);
}

TEST_F (PresetStoreTest, AByteOrderMarkIsSkippedAndNothingIsReadPastTheData)
{
    // A mark alone made JUCE's text conversion read past the data (ASan sees it).
    const std::vector<unsigned char> markOnly{ 0xef, 0xbb, 0xbf };
    EXPECT_EQ (PresetStore::parseDocument (markOnly.data(), markOnly.size()), nullptr);

    const std::string marked = "\xef\xbb\xbf<PRESETS><preset1 presetName=\"A\"/></PRESETS>";
    const auto xml = PresetStore::parseDocument (marked.data(), marked.size());
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getChildElement (0)->getStringAttribute ("presetName"), "A");
}

TEST_F (PresetStoreTest, ParserDoesNotFollowDocumentTypeReferences)
{
    const auto secret = userFolder.getFolder().getChildFile ("secret.dtd");
    secret.replaceWithText ("<!ENTITY leak \"SECRET\">");
    const juce::String text = "<?xml version=\"1.0\"?><!DOCTYPE PRESETS SYSTEM \"" + secret.getFullPathName() +
                              "\"><PRESETS><preset1 presetName=\"&leak;\"/></PRESETS>";
    auto parsed = PresetStore::parseDocument (text.toRawUTF8(), text.getNumBytesAsUTF8());
    if (parsed != nullptr && parsed->getChildElement (0) != nullptr)
    {
        EXPECT_FALSE (parsed->getChildElement (0)->getStringAttribute ("presetName").contains ("SECRET"));
    }
}

TEST_F (PresetStoreTest, TheCurrentPresetIsFollowedByItsWholeEntryAcrossRereads)
{
    struct Entry
    {
        const char* tag;
        const char* name;
        const char* gain;
    };
    // An entry whose tag starts with "~" holds its attributes in the other order.
    const auto writeEntries = [this] (const std::vector<Entry>& entries)
    {
        juce::XmlElement presets ("PRESETS");
        for (const auto& entry : entries)
        {
            const juce::String tag (entry.tag);
            auto* child = presets.createNewChildElement (tag.trimCharactersAtStart ("~"));
            if (tag.startsWith ("~"))
                child->setAttribute ("presetName", entry.name);
            child->setAttribute ("gain_1_1", entry.gain);
            child->setAttribute ("presetName", entry.name);
        }
        userFolder.presetsFile().getParentDirectory().createDirectory();
        ASSERT_TRUE (presets.writeTo (userFolder.presetsFile()));
    };
    const std::vector<Entry> original{
        { "preset1", "A", "0.1" }, { "preset2", "B", "0.2" }, { "preset3", "A", "0.3" }, { "preset4", "C", "0.4" }
    };

    struct Case
    {
        const char* change;
        std::vector<Entry> reread;
        int current; // of the second "A", chosen at 3
    };
    const std::vector<Case> cases{
        { "none", original, 3 },
        { "another preset before it removed", { original[0], original[2], original[3] }, 2 },
        { "the first of its name removed", { original[1], original[2], original[3] }, 2 },
        { "a preset put before it", { original[3], original[0], original[1], original[2] }, 4 },
        { "it removed", { original[0], original[1], original[3] }, 0 },
        { "its settings edited", { original[0], original[1], { "preset3", "A", "0.35" }, original[3] }, 0 },
        { "its attributes put in another order",
          { original[0], original[1], { "~preset3", "A", "0.3" }, original[3] },
          3 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.change);
        writeEntries (original);
        ConvolutionEqAudioProcessor processor;
        auto& store = processor.getPresetStore();
        store.setCurrentPreset (3);

        writeEntries (c.reread);
        ASSERT_TRUE (store.reloadFromFile());
        EXPECT_EQ (store.currentPreset, c.current);
        ASSERT_TRUE (store.reloadFromFile());
        EXPECT_EQ (store.currentPreset, c.current);
    }

    // A position without an entry is none.
    writeEntries (original);
    ConvolutionEqAudioProcessor processor;
    for (const int position : { 5, -1, 0 })
    {
        processor.getPresetStore().setCurrentPreset (position);
        EXPECT_EQ (processor.getPresetStore().currentPreset, 0) << position;
    }
}

TEST_F (PresetStoreTest, OnlyAListedPresetCanHoldTheCurrentSettings)
{
    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();
    ASSERT_TRUE (store.savePreset ("Mine")); // position 9, the current settings
    setPlainValue (processor, "bypass", 0.0f);

    struct Case
    {
        int position;
        bool held;
    };
    // The placeholder (1) holds bypass alone, which is off; the factory presets hold other settings.
    for (const auto& c :
         std::vector<Case>{ { 1, true }, { 2, false }, { 9, true }, { 10, false }, { 0, false }, { -1, false } })
        EXPECT_EQ (store.holdsCurrentSettings (c.position), c.held) << c.position;

    // Past the listed presets, however many the file holds.
    for (int i = 10; i <= 120; ++i)
        store.presets.addChildElement (new juce::XmlElement (*store.presets.getChildElement (8)));
    EXPECT_TRUE (store.holdsCurrentSettings (PresetStore::maxPresets));
    EXPECT_FALSE (store.holdsCurrentSettings (PresetStore::maxPresets + 1));
}
