// The preset strip without a display: layout, colours, the preset list and its buttons, the
// look at the presets file, A-B and Keep, and failures of the file.
#include "ParameterSettings.h"
#include "PresetStripTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

using namespace presetstrip;

namespace
{
struct Cell
{
    const char* control;
    juce::Rectangle<int> bounds;
};

struct LayoutCase
{
    int width, height;
    std::vector<Cell> cells;
};

juce::Component& control (state::StateComponent& strip, const juce::String& name)
{
    if (name == "list")
        return presetList (strip);
    return button (strip, name);
}

// Another instance rewrites the presets file with numEntries entries, later than the strip last read it.
void rewriteFromOutside (StripRig& rig, int numEntries)
{
    writePresetsFile (rig.store().presetFile, numEntries);
    setLastWriteTime (rig.store().presetFile, rig.store().lastModified + 1500);
}

// Every parameter's normalised value but the preset's.
juce::XmlElement currentSettings (ConvolutionEqAudioProcessor& processor)
{
    juce::XmlElement settings ("Current");
    captureParameterValues (processor, settings);
    return settings;
}

bool sameValues (const juce::XmlElement& a, const juce::XmlElement& b)
{
    if (a.getNumAttributes() != b.getNumAttributes())
        return false;
    for (int i = 0; i < a.getNumAttributes(); ++i)
        if (b.getStringAttribute (a.getAttributeName (i)) != a.getAttributeValue (i))
            return false;
    return true;
}

// Points the preset parameter at list item `id` of a list of `numItems`, as a stored project does.
void pointPresetParameterAt (StripRig& rig, int id, int numItems)
{
    rig.parameter ("preset").setValueNotifyingHost ((float) (id - 1) / (float) (numItems - 1));
}

// Gives the parameters the settings of list item `id`, as a project saved with that preset does.
void holdSettingsOf (StripRig& rig, int id)
{
    applyParameterValues (*rig.store().presets.getChildElement (id - 1), *rig.processor);
}

// Chooses list item `id` as the list's menu does, which applies it.
void choose (state::StateComponent& strip, int id)
{
    presetList (strip).setSelectedId (id, juce::sendNotificationAsync);
    dispatchPendingMessages();
}

juce::String fileText (const juce::File& file)
{
    return file.loadFileAsString();
}
} // namespace

TEST (PresetStripTest, CellsAreUnitsOfAThirteenthShrunkByTwoPixels)
{
    const std::vector<LayoutCase> cases{
        { 800,
          30,
          { { "Bypass", { 2, 2, 57, 26 } },
            { "A-B", { 63, 2, 118, 26 } },
            { "Keep", { 185, 2, 118, 26 } },
            { "list", { 307, 2, 240, 26 } },
            { "Save preset", { 551, 2, 118, 26 } },
            { "Delete preset", { 673, 2, 118, 26 } } } },
        // Cells narrower than the margins keep no negative size.
        { 13,
          3,
          { { "Bypass", { 2, 2, 0, 0 } },
            { "A-B", { 3, 2, 0, 0 } },
            { "Keep", { 5, 2, 0, 0 } },
            { "list", { 7, 2, 0, 0 } },
            { "Save preset", { 11, 2, 0, 0 } },
            { "Delete preset", { 13, 2, 0, 0 } } } },
    };

    StripRig rig;
    auto& strip = rig.open();
    for (const auto& layout : cases)
    {
        strip.setSize (layout.width, layout.height);
        for (const auto& cell : layout.cells)
            EXPECT_EQ (control (strip, cell.control).getBounds(), cell.bounds)
                << cell.control << " at " << layout.width << " x " << layout.height;
    }
}

TEST (PresetStripTest, OpeningSelectsThePresetParametersEntryOnlyWhenItHoldsTheSettingsAndAppliesNothing)
{
    struct Case
    {
        int id;
        bool settingsOfTheEntry; // else the entry's with another gain_1_1
        int shown;
        bool deletable;
    };
    // Items 1 to 8 are the placeholder and the factory presets. The placeholder holds bypass alone.
    const std::vector<Case> cases{
        { 1, false, 1, false }, { 2, true, 2, false },  { 8, true, 8, false },
        { 9, true, 9, true },   { 2, false, 0, false }, { 9, false, 0, false },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE ("item " + juce::String (c.id) + (c.settingsOfTheEntry ? " with its settings" : " with others"));
        StripRig rig (9);
        pointPresetParameterAt (rig, c.id, 9);
        holdSettingsOf (rig, c.id);
        if (! c.settingsOfTheEntry)
            rig.parameter ("gain_1_1").setValueNotifyingHost (0.1f);
        const auto settings = currentSettings (*rig.processor);
        const auto presetValue = rig.parameter ("preset").getValue();

        auto& strip = rig.open();
        dispatchPendingMessages();

        auto& list = presetList (strip);
        EXPECT_EQ (itemTexts (list)[8], "User 9");
        EXPECT_EQ (list.getSelectedId(), c.shown);
        EXPECT_EQ (rig.store().currentPreset, c.shown);
        EXPECT_EQ (button (strip, "Delete preset").isEnabled(), c.deletable);
        EXPECT_TRUE (sameValues (currentSettings (*rig.processor), settings));
        EXPECT_EQ (rig.parameter ("preset").getValue(), presetValue);
    }
}

TEST (PresetStripTest, SavingAppendsTheSettingsAndChoosesThem)
{
    struct Case
    {
        const char* name;
        const char* listed;
    };
    for (const auto& c : std::vector<Case>{ { "My mix", "My mix" }, { "Big Synth 2", "Big Synth 2" } })
    {
        StripRig rig;
        auto& strip = rig.open();
        rig.parameter ("gain_1_1").setValueNotifyingHost (0.25f);

        EXPECT_TRUE (strip.saveCurrentSettingsAs (c.name));

        auto& list = presetList (strip);
        ASSERT_EQ (list.getNumItems(), 9);
        EXPECT_EQ (list.getItemText (8), c.listed);
        EXPECT_EQ (list.getSelectedId(), 9);
        EXPECT_TRUE (button (strip, "Delete preset").isEnabled());

        const auto onDisk = PresetStore::readDocument (rig.store().presetFile);
        ASSERT_NE (onDisk, nullptr);
        ASSERT_EQ (onDisk->getNumChildElements(), 9);
        EXPECT_EQ (onDisk->getChildElement (8)->getStringAttribute ("presetName"), c.name);
        EXPECT_EQ (onDisk->getChildElement (8)->getStringAttribute ("gain_1_1"), "0.25");

        // The list's later notification finds the new preset current and applies nothing.
        rig.parameter ("gain_1_1").setValueNotifyingHost (0.5f);
        dispatchPendingMessages();
        EXPECT_EQ (rig.store().currentPreset, 9);
        EXPECT_FLOAT_EQ (rig.parameter ("gain_1_1").getValue(), 0.5f);
        EXPECT_FLOAT_EQ (rig.parameter ("preset").getValue(), 1.0f);

        // The next look finds the file rewritten and reads it again; the choice stays.
        strip.timerCallback();
        dispatchPendingMessages();
        EXPECT_EQ (list.getSelectedId(), 9);
        EXPECT_EQ (rig.store().lastModified, PresetStore::readLastWriteTime (rig.store().presetFile));
        EXPECT_FLOAT_EQ (rig.parameter ("gain_1_1").getValue(), 0.5f);
    }
}

TEST (PresetStripTest, DeletingLeavesNothingChosenAndDisablesDelete)
{
    StripRig rig (10);
    auto& strip = rig.open();
    choose (strip, 9);
    rig.parameter ("bypass").setValueNotifyingHost (1.0f);
    auto& list = presetList (strip);
    ASSERT_EQ (list.getSelectedId(), 9);

    click (button (strip, "Delete preset"));
    dispatchPendingMessages();

    EXPECT_EQ (itemTexts (list)[8], "User 10");
    EXPECT_EQ (list.getNumItems(), 9);
    EXPECT_EQ (list.getSelectedId(), 0);
    EXPECT_EQ (list.getText(), "");
    EXPECT_EQ (list.getTextWhenNothingSelected(), "Load preset...");
    EXPECT_EQ (rig.store().currentPreset, 0);
    EXPECT_FALSE (button (strip, "Delete preset").isEnabled());
    EXPECT_EQ (PresetStore::readDocument (rig.store().presetFile)->getNumChildElements(), 9);

    // Nothing is applied: the placeholder entry would have switched bypass off.
    EXPECT_TRUE (button (strip, "Bypass").getToggleState());

    // Nor when another instance rewrites the file while nothing is chosen.
    rewriteFromOutside (rig, 8);
    strip.timerCallback();
    dispatchPendingMessages();
    EXPECT_EQ (list.getSelectedId(), 0);
    EXPECT_TRUE (button (strip, "Bypass").getToggleState());
}

TEST (PresetStripTest, ChoosingAnEntryAppliesItOnceAndRebuildsDoNotApplyItAgain)
{
    StripRig rig;
    auto& strip = rig.open();
    auto& list = presetList (strip);

    // Chosen from the list's menu, which notifies asynchronously.
    list.setSelectedId (5, juce::sendNotificationAsync);
    dispatchPendingMessages();

    const auto chosen = *rig.store().presets.getChildElement (4);
    ASSERT_EQ (chosen.getStringAttribute ("presetName"), "Saturated");
    for (int i = 0; i < chosen.getNumAttributes(); ++i)
    {
        if (chosen.getAttributeName (i) != "presetName")
        {
            EXPECT_FLOAT_EQ (rig.parameter (chosen.getAttributeName (i)).getValue(),
                             chosen.getAttributeValue (i).getFloatValue())
                << chosen.getAttributeName (i);
        }
    }
    EXPECT_EQ (rig.store().currentPreset, 5);
    EXPECT_FALSE (button (strip, "Delete preset").isEnabled());

    // Another instance rewrites the file: the list is rebuilt, the entry stays chosen and is
    // not applied again over the user's later change.
    rig.parameter ("gain_1_1").setValueNotifyingHost (0.3f);
    rewriteFromOutside (rig, 8);
    strip.timerCallback();
    dispatchPendingMessages();
    EXPECT_EQ (list.getSelectedId(), 5);
    EXPECT_FLOAT_EQ (rig.parameter ("gain_1_1").getValue(), 0.3f);
}

TEST (PresetStripTest, OutsideChangeOfThePresetsFileShowsWithinASecond)
{
    StripRig rig;
    auto& strip = rig.open();
    auto& list = presetList (strip);

    rewriteFromOutside (rig, 9);

    const auto start = juce::Time::getMillisecondCounter();
    ASSERT_TRUE (runUntil ([&] { return list.getNumItems() == 9; }, 3000));
    EXPECT_LE (juce::Time::getMillisecondCounter() - start, 1300u);
    EXPECT_EQ (list.getItemText (8), "User 9");
}

TEST (PresetStripTest, RewritesWithinOneSecondAreEachSeenAndTheChosenNumberStays)
{
    StripRig rig;
    auto& strip = rig.open();
    auto& list = presetList (strip);
    list.setSelectedId (2, juce::sendNotificationAsync);
    dispatchPendingMessages();

    const auto second = (juce::Time::currentTimeMillis() / 1000 + 5) * 1000;
    struct Rewrite
    {
        int entries;
        juce::int64 time;
    };
    for (const auto& rewrite : std::vector<Rewrite>{ { 9, second + 100 }, { 10, second + 600 }, { 8, second + 601 } })
    {
        writePresetsFile (rig.store().presetFile, rewrite.entries);
        setLastWriteTime (rig.store().presetFile, rewrite.time);
        strip.timerCallback();
        dispatchPendingMessages();

        EXPECT_EQ (list.getNumItems(), rewrite.entries);
        EXPECT_EQ (rig.store().lastModified, rewrite.time);
        EXPECT_EQ (list.getSelectedId(), 2);
        EXPECT_EQ (rig.store().currentPreset, 2);
    }
}

TEST (PresetStripTest, ChosenEntryRemovedByAnotherInstanceLeavesNothingChosen)
{
    StripRig rig (10);
    auto& strip = rig.open();
    choose (strip, 10);
    rig.parameter ("bypass").setValueNotifyingHost (1.0f);
    auto& list = presetList (strip);
    ASSERT_EQ (list.getSelectedId(), 10);

    rewriteFromOutside (rig, 9);
    strip.timerCallback();
    dispatchPendingMessages();

    EXPECT_EQ (list.getNumItems(), 9);
    EXPECT_EQ (list.getSelectedId(), 0);
    EXPECT_EQ (rig.store().currentPreset, 0);
    EXPECT_FALSE (button (strip, "Delete preset").isEnabled());
    EXPECT_TRUE (button (strip, "Bypass").getToggleState());
}

TEST (PresetStripTest, TheChosenPresetIsFollowedByNameAndDeleteRemovesOnlyIt)
{
    // Another instance deletes "User 9" before the chosen "User 10": the strip shows "User 10",
    // now at 9, applies nothing, and its Delete removes "User 10". When the other instance has
    // deleted the chosen preset itself, Delete removes nothing.
    struct Case
    {
        int deletedElsewhere;
        bool timerRuns;
        juce::String shownAfterwards;
        juce::StringArray leftAfterDelete;
    };
    const std::vector<Case> cases{
        { 9, true, "User 10", { "User 11" } },
        { 9, false, "User 10", { "User 11" } },
        { 10, false, "", { "User 9", "User 11" } },
    };
    for (const auto& c : cases)
    {
        StripRig rig (11);
        pointPresetParameterAt (rig, 10, 11);
        holdSettingsOf (rig, 10);
        auto& strip = rig.open();
        auto& list = presetList (strip);
        ASSERT_EQ (list.getText(), "User 10");
        rig.parameter ("gain_1_1").setValueNotifyingHost (0.3f);
        const auto settings = currentSettings (*rig.processor);

        {
            ConvolutionEqAudioProcessor otherInstance;
            ASSERT_TRUE (otherInstance.getPresetStore().deletePreset (c.deletedElsewhere));
        }
        setLastWriteTime (rig.store().presetFile, rig.store().lastModified + 1500);
        if (c.timerRuns)
        {
            strip.timerCallback();
            dispatchPendingMessages();
            EXPECT_EQ (list.getText(), c.shownAfterwards);
            EXPECT_EQ (list.getSelectedId(), 9);
            EXPECT_TRUE (sameValues (currentSettings (*rig.processor), settings));
        }

        click (button (strip, "Delete preset"));
        dispatchPendingMessages();
        juce::StringArray userPresets;
        const auto onDisk = PresetStore::readDocument (rig.store().presetFile);
        for (int i = 8; i < onDisk->getNumChildElements(); ++i)
            userPresets.add (onDisk->getChildElement (i)->getStringAttribute ("presetName"));
        EXPECT_EQ (userPresets, c.leftAfterDelete) << c.deletedElsewhere;
        EXPECT_EQ (list.getSelectedId(), 0);
        EXPECT_EQ (itemTexts (list).size(), onDisk->getNumChildElements());
        EXPECT_TRUE (sameValues (currentSettings (*rig.processor), settings));
    }
}

TEST (PresetStripTest, MissingOrUnreadableFileLeavesTheList)
{
    StripRig rig;
    auto& strip = rig.open();
    auto& list = presetList (strip);
    const auto before = itemTexts (list);

    rig.store().presetFile.replaceWithText ("<PRESETS><preset1 presetName=");
    setLastWriteTime (rig.store().presetFile, rig.store().lastModified + 1500);
    strip.timerCallback();
    EXPECT_EQ (itemTexts (list), before);

    rig.store().presetFile.deleteFile();
    strip.timerCallback();
    EXPECT_EQ (itemTexts (list), before);
    EXPECT_EQ (rig.store().lastModified, 0);
    EXPECT_TRUE (button (strip, "Save preset").isEnabled());
}

TEST (PresetStripTest, ABSwapsWithTheSnapshotAndKeepStoresIt)
{
    StripRig rig;
    auto& strip = rig.open();
    auto& processor = *rig.processor;
    const auto& snapshot = processor.getABSnapshot().values;

    rig.parameter ("gain_1_1").setValueNotifyingHost (0.25f);
    const auto first = currentSettings (processor);

    // The snapshot starts empty: the first A-B changes nothing and stores the settings.
    click (button (strip, "A-B"));
    EXPECT_TRUE (sameValues (currentSettings (processor), first));
    EXPECT_TRUE (sameValues (snapshot, first));

    rig.parameter ("gain_1_1").setValueNotifyingHost (0.75f);
    rig.parameter ("bypass").setValueNotifyingHost (1.0f);
    const auto second = currentSettings (processor);

    click (button (strip, "A-B"));
    EXPECT_TRUE (sameValues (currentSettings (processor), first));
    EXPECT_TRUE (button (strip, "Bypass").getToggleState() == false);
    click (button (strip, "A-B"));
    EXPECT_TRUE (sameValues (currentSettings (processor), second));
    EXPECT_TRUE (button (strip, "Bypass").getToggleState());

    click (button (strip, "Keep"));
    EXPECT_TRUE (sameValues (snapshot, second));
    rig.parameter ("gain_1_1").setValueNotifyingHost (0.5f);
    click (button (strip, "A-B"));
    EXPECT_TRUE (sameValues (currentSettings (processor), second));
}

TEST (PresetStripTest, FailedWritesAreShownAndTheListStaysAsOnDisk)
{
    struct Case
    {
        const char* action;
        const char* reported;
    };
    for (const auto& c : std::vector<Case>{ { "save", "not saved" }, { "delete", "not deleted" } })
    {
        StripRig rig (9);
        pointPresetParameterAt (rig, 9, 9);
        holdSettingsOf (rig, 9);
        auto& strip = rig.open();
        auto& list = presetList (strip);
        juce::StringArray shown;
        strip.showFailure = [&] (const juce::String& message) { shown.add (message); };
        rig.store().writeXml = [] (const juce::XmlElement&, const juce::File&) { return false; };
        const auto textBefore = fileText (rig.store().presetFile);
        const auto itemsBefore = itemTexts (list);

        if (juce::String (c.action) == "save")
            EXPECT_FALSE (strip.saveCurrentSettingsAs ("Lost"));
        else
            click (button (strip, "Delete preset"));
        dispatchPendingMessages();

        ASSERT_EQ (shown.size(), 1) << c.action;
        EXPECT_TRUE (shown[0].contains (c.reported)) << shown[0];
        EXPECT_EQ (itemTexts (list), itemsBefore) << c.action;
        EXPECT_EQ (list.getSelectedId(), 9) << c.action;
        EXPECT_TRUE (button (strip, "Delete preset").isEnabled()) << c.action;
        EXPECT_EQ (fileText (rig.store().presetFile), textBefore) << c.action;
    }
}

TEST (PresetStripTest, TheListHoldsAtMost101PresetsAndSavesStopThere)
{
    struct Case
    {
        int entries;
        bool saveEnabled;
        bool saved;
        int listedAfter;
    };
    for (const auto& c :
         std::vector<Case>{ { 100, true, true, 101 }, { 101, false, false, 101 }, { 120, false, false, 101 } })
    {
        StripRig rig (c.entries);
        auto& strip = rig.open();
        juce::StringArray shown;
        strip.showFailure = [&] (const juce::String& message) { shown.add (message); };
        const auto textBefore = fileText (rig.store().presetFile);

        EXPECT_EQ (presetList (strip).getNumItems(), juce::jmin (c.entries, 101));
        EXPECT_EQ (button (strip, "Save preset").isEnabled(), c.saveEnabled) << c.entries;

        EXPECT_EQ (strip.saveCurrentSettingsAs ("One more"), c.saved) << c.entries;
        EXPECT_EQ (presetList (strip).getNumItems(), c.listedAfter) << c.entries;
        EXPECT_FALSE (button (strip, "Save preset").isEnabled()) << c.entries;
        EXPECT_EQ (shown.size(), c.saved ? 0 : 1) << c.entries;
        if (! c.saved)
        {
            EXPECT_EQ (fileText (rig.store().presetFile), textBefore) << c.entries;
        }
    }
}

TEST (PresetStripTest, ChoosingTheLastListedOfALongerFileAppliesThatEntry)
{
    StripRig rig (120);
    auto& strip = rig.open();
    auto& list = presetList (strip);
    ASSERT_EQ (list.getNumItems(), 101);
    EXPECT_EQ (list.getItemText (100), "User 101");

    list.setSelectedId (101, juce::sendNotificationAsync);
    dispatchPendingMessages();

    EXPECT_EQ (list.getSelectedId(), 101);
    EXPECT_EQ (rig.store().currentPreset, 101);
    auto& gain = rig.parameter ("gain_1_1");
    EXPECT_NEAR (gain.convertFrom0to1 (gain.getValue()), -12.0f + 10.1f, 1.0e-3f);
    EXPECT_FLOAT_EQ (rig.parameter ("preset").getValue(), 1.0f);
    EXPECT_EQ (PresetStore::readDocument (rig.store().presetFile)->getNumChildElements(), 120);
}

namespace
{
// Counts the changes of one parameter that reach the host.
struct ParameterChangeCounter : juce::AudioProcessorParameter::Listener
{
    explicit ParameterChangeCounter (juce::AudioProcessorParameter& watched)
        : parameter (watched)
    {
        parameter.addListener (this);
    }
    ~ParameterChangeCounter() override { parameter.removeListener (this); }

    void parameterValueChanged (int, float) override { ++changes; }
    void parameterGestureChanged (int, bool) override { ++changes; }

    juce::AudioProcessorParameter& parameter;
    int changes = 0;
};

juce::MemoryBlock saveState (ConvolutionEqAudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

void loadState (ConvolutionEqAudioProcessor& processor, const juce::MemoryBlock& block)
{
    processor.setStateInformation (block.getData(), (int) block.getSize());
    dispatchPendingMessages();
}
} // namespace

TEST (PresetStripTest, AnotherInstancesEditMovesNeitherTheChoiceNorThePresetParameter)
{
    struct Case
    {
        const char* edit;
        int numEntries;
        std::vector<int> removed;
        int chosenAfterwards;
    };
    const std::vector<Case> cases{
        { "a preset added after it", 14, {}, 11 },
        { "a preset removed before it", 13, { 9 }, 10 },
        { "the chosen preset removed", 13, { 11 }, 0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.edit);
        StripRig rig (13);
        auto& strip = rig.open();
        auto& list = presetList (strip);
        list.setSelectedId (11, juce::sendNotificationAsync);
        dispatchPendingMessages();
        ASSERT_EQ (rig.store().currentPreset, 11);
        const auto presetValue = rig.parameter ("preset").getValue();

        const ParameterChangeCounter counter (rig.parameter ("preset"));
        rewriteWithout (rig.store(), c.numEntries, c.removed);
        strip.timerCallback();
        dispatchPendingMessages();

        EXPECT_EQ (list.getSelectedId(), c.chosenAfterwards);
        EXPECT_EQ (list.getText(), c.chosenAfterwards > 0 ? "User 11" : "");
        EXPECT_EQ (counter.changes, 0);
        EXPECT_EQ (rig.parameter ("preset").getValue(), presetValue);
    }
}

TEST (PresetStripTest, AReopenedStateShowsItsPresetByNameOrNoneAndAppliesNothing)
{
    struct Shown
    {
        int id;
        const char* text;
    };
    struct Case
    {
        const char* fileChange; // after saving, to the file of 13 entries
        int numEntries;
        std::vector<int> removed;
        bool named; // false: a state saved before the name was kept
        Shown inNewInstance, inOpenEditor;
    };
    const std::vector<Case> cases{
        { "none", 13, {}, true, { 11, "User 11" }, { 11, "User 11" } },
        { "a preset added", 14, {}, true, { 11, "User 11" }, { 11, "User 11" } },
        { "a preset before it deleted", 13, { 9 }, true, { 10, "User 11" }, { 10, "User 11" } },
        { "the chosen preset deleted", 13, { 11 }, true, { 0, "" }, { 0, "" } },
        // The preset parameter (item 11 of 13) over the list's length points at an entry that
        // does not hold the settings (gain_1_2 changed after choosing).
        { "a preset added, an older state", 14, {}, false, { 0, "" }, { 0, "" } },
    };

    for (const auto& c : cases)
    {
        for (const bool newInstance : { true, false })
        {
            SCOPED_TRACE (juce::String ("file change: ") + c.fileChange +
                          (newInstance ? ", reopened in a new instance" : ", loaded into the open editor"));
            StripRig rig (13);
            presetList (rig.open()).setSelectedId (11, juce::sendNotificationAsync);
            dispatchPendingMessages();
            rig.parameter ("gain_1_2").setValueNotifyingHost (0.25f); // after choosing
            auto block = saveState (*rig.processor);
            if (! c.named)
            {
                auto xml = juce::AudioProcessor::getXmlFromBinary (block.getData(), (int) block.getSize());
                ASSERT_EQ (xml->getStringAttribute ("presetName"), "User 11");
                xml->removeAttribute ("presetName");
                juce::AudioProcessor::copyXmlToBinary (*xml, block);
            }
            const auto savedSettings = currentSettings (*rig.processor);
            const auto savedPreset = rig.parameter ("preset").getValue();

            // Meanwhile the user chose another preset, and another session changed the file.
            presetList (*rig.strip).setSelectedId (9, juce::sendNotificationAsync);
            dispatchPendingMessages();
            rewriteWithout (rig.store(), c.numEntries, c.removed);
            if (newInstance)
            {
                rig.strip.reset();
                rig.processor = std::make_unique<ConvolutionEqAudioProcessor>();
            }
            loadState (*rig.processor, block);
            auto& strip = newInstance ? rig.open() : *rig.strip;

            // Right away, and after the strip's next look at the file.
            for (const bool looked : { false, true })
            {
                SCOPED_TRACE (looked ? "after the next look at the file" : "right away");
                if (looked)
                {
                    strip.timerCallback();
                    dispatchPendingMessages();
                }
                const auto& shown = newInstance ? c.inNewInstance : c.inOpenEditor;
                auto& list = presetList (strip);
                // A state that names its preset reads the file again; an older one, as before, not.
                const auto fileRead = c.named || newInstance || looked;
                EXPECT_EQ (list.getNumItems(), fileRead ? c.numEntries - (int) c.removed.size() : 13);
                EXPECT_EQ (list.getSelectedId(), shown.id);
                EXPECT_EQ (list.getText(), shown.text);
                EXPECT_EQ (rig.store().currentPreset, shown.id);
                EXPECT_EQ (button (strip, "Delete preset").isEnabled(), shown.id >= 9);
                EXPECT_TRUE (sameValues (currentSettings (*rig.processor), savedSettings));
                EXPECT_EQ (rig.parameter ("preset").getValue(), savedPreset);
            }
        }
    }
}

TEST (PresetStripTest, NoKeyPressChoosesAPreset)
{
    StripRig rig (13);
    auto& strip = rig.open();
    auto& list = presetList (strip);
    list.setSelectedId (11, juce::sendNotificationAsync);
    dispatchPendingMessages();
    rig.parameter ("gain_1_2").setValueNotifyingHost (0.25f); // unsaved

    for (const auto key :
         { juce::KeyPress::downKey, juce::KeyPress::upKey, juce::KeyPress::leftKey, juce::KeyPress::rightKey })
    {
        static_cast<juce::Component&> (list).keyPressed (juce::KeyPress (key));
        dispatchPendingMessages();
        EXPECT_EQ (list.getSelectedId(), 11) << "key " << key;
        EXPECT_FLOAT_EQ (rig.parameter ("gain_1_2").getValue(), 0.25f) << "key " << key;
    }
}

namespace
{
// The state without the chosen preset's name, as saved before names were kept.
juce::MemoryBlock withoutPresetName (const juce::MemoryBlock& block)
{
    auto xml = juce::AudioProcessor::getXmlFromBinary (block.getData(), (int) block.getSize());
    xml->removeAttribute ("presetName");
    juce::MemoryBlock unnamed;
    juce::AudioProcessor::copyXmlToBinary (*xml, unnamed);
    return unnamed;
}

juce::String savedPresetName (ConvolutionEqAudioProcessor& processor)
{
    const auto block = saveState (processor);
    return juce::AudioProcessor::getXmlFromBinary (block.getData(), (int) block.getSize())
        ->getStringAttribute ("presetName", "(none)");
}

// The names of the user presets (positions 9 on) in the presets file, each with its gain_1_1 text.
juce::StringArray userPresetsOnDisk (StripRig& rig)
{
    juce::StringArray found;
    const auto onDisk = PresetStore::readDocument (rig.store().presetFile);
    for (int i = PresetStore::firstUserPreset - 1; i < onDisk->getNumChildElements(); ++i)
        found.add (onDisk->getChildElement (i)->getStringAttribute ("presetName") + " " +
                   onDisk->getChildElement (i)->getStringAttribute ("gain_1_1"));
    return found;
}
} // namespace

TEST (PresetStripTest, AStateWithoutThePresetsNameShowsTheEntryItsPresetParameterPointsAtOnlyWhenItHoldsTheSettings)
{
    struct Case
    {
        const char* situation;
        int settingsOf; // the entry whose settings the state holds, 0 for others
        int entriesOnReopening;
        int shown; // 0: none
    };
    // Saved with item 11 of 13 chosen: over 14 items the preset parameter points at item 12.
    const std::vector<Case> cases{
        { "the list unchanged, the chosen preset's settings", 11, 13, 11 },
        { "the list unchanged, other settings", 0, 13, 0 },
        { "the list grown, the chosen preset's settings", 11, 14, 0 },
        { "the list grown, other settings", 0, 14, 0 },
        { "the list grown, the settings of the preset at that position", 12, 14, 12 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.situation);
        StripRig rig (13);
        choose (rig.open(), 11);
        if (c.settingsOf > 0)
            holdSettingsOf (rig, c.settingsOf);
        else
            rig.parameter ("gain_1_2").setValueNotifyingHost (0.25f);
        const auto block = withoutPresetName (saveState (*rig.processor));
        const auto savedSettings = currentSettings (*rig.processor);

        writePresetsFile (rig.store().presetFile, c.entriesOnReopening);
        rig.strip.reset();
        rig.processor = std::make_unique<ConvolutionEqAudioProcessor>();
        loadState (*rig.processor, block);
        EXPECT_EQ (savedPresetName (*rig.processor), "(none)"); // loads as before while no editor shows it
        auto& strip = rig.open();
        dispatchPendingMessages();

        auto& list = presetList (strip);
        EXPECT_EQ (list.getSelectedId(), c.shown);
        EXPECT_EQ (list.getText(), c.shown > 0 ? "User " + juce::String (c.shown) : juce::String());
        EXPECT_EQ (rig.store().currentPreset, c.shown);
        EXPECT_EQ (button (strip, "Delete preset").isEnabled(), c.shown > 0);
        EXPECT_TRUE (sameValues (currentSettings (*rig.processor), savedSettings));
        EXPECT_EQ (savedPresetName (*rig.processor), list.getText());

        // Delete removes what is shown, and nothing when nothing is.
        const auto before = userPresetsOnDisk (rig);
        click (button (strip, "Delete preset"));
        auto expected = before;
        if (c.shown > 0)
            expected.remove (c.shown - PresetStore::firstUserPreset);
        EXPECT_EQ (userPresetsOnDisk (rig), expected);
        EXPECT_TRUE (sameValues (currentSettings (*rig.processor), savedSettings));
    }
}

TEST (PresetStripTest, OfTwoPresetsOfOneNameTheChosenEntryIsFollowedAppliedAndDeleted)
{
    // "Twin" twice (items 9 and 11, with their own gain_1_1) and the second of them chosen; then
    // another instance rewrites the file without some entries.
    struct Case
    {
        const char* change;
        std::vector<int> removed;
        int shownAfterwards; // 0: none
        juce::StringArray leftAfterDelete;
    };
    const std::vector<Case> cases{
        { "none", {}, 11, { "Twin 0.0375", "User 10 0.04166666666666666", "User 12 0.05" } },
        { "the preset between them removed", { 10 }, 10, { "Twin 0.0375", "User 12 0.05" } },
        { "the first of the name removed", { 9 }, 10, { "User 10 0.04166666666666666", "User 12 0.05" } },
        { "the chosen one removed", { 11 }, 0, { "Twin 0.0375", "User 10 0.04166666666666666", "User 12 0.05" } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.change);
        StripRig rig;
        rig.load (*twinsDocument (12, {}));
        auto& strip = rig.open();
        auto& list = presetList (strip);
        choose (strip, 11);
        ASSERT_EQ (list.getText(), "Twin");
        auto& gain = rig.parameter ("gain_1_1");
        EXPECT_FLOAT_EQ (gain.getValue(), 11 / 240.0f); // the second's settings, not the first's
        const auto settings = currentSettings (*rig.processor);

        ASSERT_TRUE (twinsDocument (12, c.removed)->writeTo (rig.store().presetFile));
        setLastWriteTime (rig.store().presetFile, rig.store().lastModified + 1500);
        strip.timerCallback();
        dispatchPendingMessages();

        EXPECT_EQ (list.getSelectedId(), c.shownAfterwards);
        EXPECT_EQ (rig.store().currentPreset, c.shownAfterwards);
        EXPECT_EQ (button (strip, "Delete preset").isEnabled(), c.shownAfterwards > 0);
        EXPECT_TRUE (sameValues (currentSettings (*rig.processor), settings));
        EXPECT_EQ (savedPresetName (*rig.processor), c.shownAfterwards > 0 ? "Twin" : "");

        click (button (strip, "Delete preset"));
        EXPECT_EQ (userPresetsOnDisk (rig), c.leftAfterDelete);
        EXPECT_EQ (list.getSelectedId(), 0);
    }
}

TEST (PresetStripTest, AProjectSavedAfterItsChosenPresetWasDeletedReopensWithNoneChosen)
{
    // "User 9" and "User 10" hold the same settings, so the preset parameter left pointing at item
    // 10 of 11 would show "User 9" over the shorter list if the project did not say none.
    struct Case
    {
        const char* deletedBy;
        bool editorOpen; // when the other instance deletes it
    };
    const std::vector<Case> cases{
        { "this editor", true },
        { "another instance while the editor is open", true },
        { "another instance while the editor is closed", false },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.deletedBy);
        StripRig rig;
        auto document = presetsDocument (11);
        document->getChildElement (9)->setAttribute ("gain_1_1",
                                                     document->getChildElement (8)->getStringAttribute ("gain_1_1"));
        rig.load (*document);
        choose (rig.open(), 10);
        ASSERT_EQ (presetList (*rig.strip).getText(), "User 10");
        const auto presetValue = rig.parameter ("preset").getValue();

        if (juce::String (c.deletedBy) == "this editor")
        {
            click (button (*rig.strip, "Delete preset"));
        }
        else
        {
            if (! c.editorOpen)
                rig.strip.reset();
            ConvolutionEqAudioProcessor otherInstance;
            ASSERT_TRUE (otherInstance.getPresetStore().deletePreset (10));
            if (c.editorOpen)
            {
                setLastWriteTime (rig.store().presetFile, rig.store().lastModified + 1500);
                rig.strip->timerCallback();
                dispatchPendingMessages();
            }
        }
        EXPECT_EQ (rig.parameter ("preset").getValue(), presetValue);
        const auto block = saveState (*rig.processor);

        rig.strip.reset();
        rig.processor = std::make_unique<ConvolutionEqAudioProcessor>();
        loadState (*rig.processor, block);
        auto& strip = rig.open();
        dispatchPendingMessages();
        EXPECT_EQ (presetList (strip).getNumItems(), 10);
        EXPECT_EQ (presetList (strip).getSelectedId(), 0);
        EXPECT_EQ (rig.store().currentPreset, 0);
        EXPECT_FALSE (button (strip, "Delete preset").isEnabled());
        EXPECT_EQ (rig.parameter ("preset").getValue(), presetValue);
    }
}
