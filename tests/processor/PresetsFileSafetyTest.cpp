#include "ProcessorTestSupport.h"
#include "ScopedFileSizeLimit.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
juce::File makeFolderFor (const juce::File& file)
{
    file.getParentDirectory().createDirectory();
    return file;
}

// Construction must come back: a test that would hang ends the process instead.
std::unique_ptr<ConvolutionEqAudioProcessor> constructWithin (std::chrono::seconds limit)
{
    auto made = std::async (std::launch::async, [] { return std::make_unique<ConvolutionEqAudioProcessor>(); });
    if (made.wait_for (limit) != std::future_status::ready)
    {
        std::fprintf (stderr, "processor construction hangs\n");
        std::_Exit (1);
    }
    return made.get();
}

juce::Array<juce::File> filesBeside (const juce::File& file)
{
    return file.getParentDirectory().findChildFiles (juce::File::findFiles | juce::File::ignoreHiddenFiles, false, "*");
}

juce::Array<juce::File> hiddenTemporaries (const juce::File& file)
{
    return file.getParentDirectory().findChildFiles (juce::File::findFiles, false, ".presets.xml.tmp-*");
}

class PresetsFileSafetyTest : public ::testing::Test
{
protected:
    TemporaryUserFolder userFolder;
};
} // namespace

TEST_F (PresetsFileSafetyTest, PathsThatAreNoRegularFileAreNeverReadOrWaitedOn)
{
    struct Case
    {
        const char* what;
        std::function<void (const juce::File&)> make;
        const char* reason;
    };
    const std::vector<Case> cases{
        { "named pipe", [] (const juce::File& f) { ASSERT_EQ (mkfifo (f.getFullPathName().toRawUTF8(), 0644), 0); },
          "it is a named pipe" },
        { "link to /dev/zero",
          [] (const juce::File& f) { ASSERT_EQ (symlink ("/dev/zero", f.getFullPathName().toRawUTF8()), 0); },
          "it is a device" },
        { "file of 17 MiB",
          [] (const juce::File& f)
          {
              juce::MemoryBlock spaces (17 * 1024 * 1024);
              spaces.fillWith (' ');
              ASSERT_TRUE (f.replaceWithData (spaces.getData(), spaces.getSize()));
          },
          "it is larger than 16 MiB" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const auto file = makeFolderFor (userFolder.presetsFile());
        c.make (file);

        auto processor = constructWithin (std::chrono::seconds (20));
        auto& store = processor->getPresetStore();
        EXPECT_EQ (store.presets.getNumChildElements(), 0);
        EXPECT_TRUE (store.getReadProblem().contains (file.getFullPathName()));
        EXPECT_TRUE (store.getReadProblem().contains (c.reason)) << store.getReadProblem();

        // A save replaces the path with a whole file; what was there is kept or held no data.
        EXPECT_TRUE (store.savePreset ("After"));
        auto onDisk = PresetStore::readDocument (file);
        ASSERT_NE (onDisk, nullptr);
        EXPECT_EQ (onDisk->getNumChildElements(), 1);
        EXPECT_TRUE (store.getReadProblem().isEmpty());

        processor.reset();
        file.getParentDirectory().deleteRecursively();
    }
}

TEST_F (PresetsFileSafetyTest, FirstRunThatCannotWriteLeavesNoFileAndTheNextRunMakesAWholeOne)
{
    const auto file = userFolder.presetsFile();
    {
        const ScopedFileSizeLimit nearlyFullDisk (1000);
        ConvolutionEqAudioProcessor processor;
        EXPECT_EQ (processor.getPresetStore().presets.getNumChildElements(), 0);
    }
    EXPECT_FALSE (file.exists()) << "a cut-off presets file was left behind";
    EXPECT_TRUE (hiddenTemporaries (file).isEmpty());

    ConvolutionEqAudioProcessor processor;
    EXPECT_EQ (processor.getPresetStore().presets.getNumChildElements(), 8);
}

TEST_F (PresetsFileSafetyTest, AnEmptyFileIsMadeAgainLikeAMissingOne)
{
    const auto file = makeFolderFor (userFolder.presetsFile());
    ASSERT_TRUE (file.create());
    ConvolutionEqAudioProcessor processor;
    EXPECT_EQ (processor.getPresetStore().presets.getNumChildElements(), 8);
    EXPECT_EQ (PresetStore::readDocument (file)->getNumChildElements(), 8);
}

TEST_F (PresetsFileSafetyTest, FailedRewriteKeepsTheWholeOldFileAndSaysWhy)
{
    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();
    const auto file = userFolder.presetsFile();
    const auto before = fileBytes (file);

    juce::StringArray failures;
    store.onFailure = [&] (const juce::String& message) { failures.add (message); };
    {
        const ScopedFileSizeLimit nearlyFullDisk ((rlim_t) before.getSize() / 2);
        EXPECT_FALSE (store.savePreset ("Too much"));
        EXPECT_FALSE (store.deletePreset (2));
    }
    ASSERT_EQ (failures.size(), 2);
    EXPECT_TRUE (failures[0].startsWith ("The preset was not saved: " + file.getFullPathName() +
                                         " could not be written: File too large"))
        << failures[0];
    EXPECT_TRUE (failures[1].startsWith ("The preset was not deleted: ")) << failures[1];
    EXPECT_EQ (fileBytes (file), before);
    EXPECT_EQ (store.presets.getNumChildElements(), 8);
    EXPECT_TRUE (hiddenTemporaries (file).isEmpty());
    EXPECT_EQ (filesBeside (file).size(), 1);
}

TEST_F (PresetsFileSafetyTest, ALinkedPresetsFileIsReadAndWrittenThroughTheLink)
{
    const auto real = userFolder.getFolder().getChildFile ("synced/presets.xml");
    makeFolderFor (real);
    const auto link = makeFolderFor (userFolder.presetsFile());
    {
        ConvolutionEqAudioProcessor first; // makes the file at the usual place
    }
    ASSERT_TRUE (link.moveFileTo (real));
    ASSERT_EQ (symlink (real.getFullPathName().toRawUTF8(), link.getFullPathName().toRawUTF8()), 0);

    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();
    EXPECT_EQ (store.presets.getNumChildElements(), 8);
    ASSERT_TRUE (store.savePreset ("Through the link"));
    EXPECT_TRUE (link.isSymbolicLink());
    EXPECT_EQ (PresetStore::readDocument (real)->getNumChildElements(), 9);
}

TEST_F (PresetsFileSafetyTest, InstancesStartingTogetherAllSeeTheWholeDefaultFile)
{
    // The same race as processes starting at once in a fresh profile: none of them may see a
    // file that another is still writing.
    constexpr int instances = 6;
    std::vector<std::future<int>> counts;
    for (int i = 0; i < instances; ++i)
        counts.push_back (std::async (std::launch::async,
                                      []
                                      {
                                          ConvolutionEqAudioProcessor processor;
                                          return processor.getPresetStore().presets.getNumChildElements();
                                      }));
    for (auto& count : counts)
        EXPECT_EQ (count.get(), 8);
    EXPECT_TRUE (hiddenTemporaries (userFolder.presetsFile()).isEmpty());
}
