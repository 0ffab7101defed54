// Two inserts of one host, each with its own preset store on the same presets file, saving and
// deleting from two threads at once: nothing either reported saved is lost, nothing it reported
// deleted comes back.
#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <thread>

TEST (PresetsFileThreads, TwoStoresSavingAndDeletingAtOnceLoseNothing)
{
    TemporaryUserFolder userFolder;
    ConvolutionEqAudioProcessor first, second;
    constexpr int numSaves = 12;

    const auto run = [] (PresetStore& store, const juce::String& prefix, juce::StringArray& kept)
    {
        for (int i = 0; i < numSaves; ++i)
        {
            if (store.savePreset (prefix + juce::String (i)))
                kept.add (prefix + juce::String (i));
            // Every other save deletes the preset just saved, found by name in the file as it is now.
            if (i % 2 == 1 && store.deletePreset (store.currentPreset))
                kept.removeString (prefix + juce::String (i));
        }
    };
    juce::StringArray keptByFirst, keptBySecond;
    std::thread other ([&] { run (second.getPresetStore(), "B", keptBySecond); });
    run (first.getPresetStore(), "A", keptByFirst);
    other.join();

    EXPECT_EQ (keptByFirst.size(), numSaves / 2);
    EXPECT_EQ (keptBySecond.size(), numSaves / 2);

    const auto onDisk = PresetStore::readDocument (userFolder.presetsFile());
    ASSERT_NE (onDisk, nullptr);
    juce::StringArray names;
    for (const auto* preset : onDisk->getChildIterator())
        names.add (preset->getStringAttribute ("presetName"));
    EXPECT_EQ (names.size(), 8 + numSaves);
    for (const auto& name : keptByFirst)
        EXPECT_TRUE (names.contains (name)) << name;
    for (const auto& name : keptBySecond)
        EXPECT_TRUE (names.contains (name)) << name;
}
