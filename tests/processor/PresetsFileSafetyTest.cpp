#include "ProcessorTestSupport.h"
#include "ScopedFileSizeLimit.h"

#include <ExclusiveFileLock.h>
#include <LarkspurData.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <tuple>
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

// Which node a path is, and as what it was left.
std::tuple<ino_t, mode_t, uid_t, off_t> nodeIdentity (const juce::File& file)
{
    struct stat info
    {
    };
    if (lstat (file.getFullPathName().toRawUTF8(), &info) != 0)
        return {};
    return { info.st_ino, info.st_mode, info.st_uid, info.st_size };
}

// The default presets and one user preset at position 9.
void writeDocumentWithUserPreset (const juce::File& file)
{
    auto document =
        PresetStore::parseDocument (LarkspurData::defaultPresets_xml, (size_t) LarkspurData::defaultPresets_xmlSize);
    document->createNewChildElement ("preset9")->setAttribute ("presetName", "User");
    ASSERT_TRUE (document->writeTo (file));
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

TEST_F (PresetsFileSafetyTest, UnreadableFilesAreNeverReadWaitedOnOrReplaced)
{
    struct Case
    {
        const char* what;
        std::function<void (const juce::File&)> make;
        const char* reason;
    };
    const std::vector<Case> cases{
        { "garbage", [] (const juce::File& f) { ASSERT_TRUE (f.replaceWithText ("<PRESETS><preset1 bypass=\"0.0\"")); },
          "not a readable presets document" },
        { "named pipe", [] (const juce::File& f) { ASSERT_EQ (mkfifo (f.getFullPathName().toRawUTF8(), 0644), 0); },
          "it is a named pipe" },
        { "link to /dev/zero",
          [] (const juce::File& f) { ASSERT_EQ (symlink ("/dev/zero", f.getFullPathName().toRawUTF8()), 0); },
          "it is a device" },
        { "link loop",
          [] (const juce::File& f)
          { ASSERT_EQ (symlink (f.getFileName().toRawUTF8(), f.getFullPathName().toRawUTF8()), 0); },
          "Too many levels of symbolic links" },
        { "file of 17 MiB",
          [] (const juce::File& f)
          {
              juce::MemoryBlock spaces (17 * 1024 * 1024);
              spaces.fillWith (' ');
              ASSERT_TRUE (f.replaceWithData (spaces.getData(), spaces.getSize()));
          },
          "it is larger than 16 MiB" },
    };

    const auto identity = [] (const juce::File& f)
    {
        struct stat info
        {
        };
        lstat (f.getFullPathName().toRawUTF8(), &info);
        return std::make_tuple (info.st_ino, info.st_mode, info.st_size, info.st_mtim.tv_nsec);
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        const auto file = makeFolderFor (userFolder.presetsFile());
        c.make (file);
        const auto before = identity (file);

        auto processor = constructWithin (std::chrono::seconds (20));
        auto& store = processor->getPresetStore();
        EXPECT_EQ (store.presets.getNumChildElements(), 0);
        EXPECT_TRUE (store.getReadProblem().contains (file.getFullPathName()));
        EXPECT_TRUE (store.getReadProblem().contains (c.reason)) << store.getReadProblem();

        // The file may hold every preset the user has: a save is refused and says why.
        juce::StringArray failures;
        store.onFailure = [&] (const juce::String& message) { failures.add (message); };
        EXPECT_FALSE (store.savePreset ("After"));
        ASSERT_EQ (failures.size(), 1);
        EXPECT_TRUE (failures[0].startsWith ("The preset was not saved: " + file.getFullPathName())) << failures[0];
        EXPECT_TRUE (failures[0].contains (c.reason)) << failures[0];
        EXPECT_EQ (identity (file), before);
        EXPECT_EQ (filesBeside (file).size(), 1);

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
    ASSERT_TRUE (store.savePreset ("Mine"));
    const auto file = userFolder.presetsFile();
    const auto before = fileBytes (file);

    juce::StringArray failures;
    store.onFailure = [&] (const juce::String& message) { failures.add (message); };
    {
        const ScopedFileSizeLimit nearlyFullDisk ((rlim_t) before.getSize() / 2);
        EXPECT_FALSE (store.savePreset ("Too much"));
        EXPECT_FALSE (store.deletePreset (9));
    }
    ASSERT_EQ (failures.size(), 2);
    EXPECT_TRUE (failures[0].startsWith ("The preset was not saved: " + file.getFullPathName() +
                                         " could not be written: File too large"))
        << failures[0];
    EXPECT_TRUE (failures[1].startsWith ("The preset was not deleted: ")) << failures[1];
    EXPECT_EQ (fileBytes (file), before);
    EXPECT_EQ (store.presets.getNumChildElements(), 9);
    EXPECT_TRUE (hiddenTemporaries (file).isEmpty());
    EXPECT_EQ (filesBeside (file).size(), 1);
}

TEST_F (PresetsFileSafetyTest, FirstRunThatCannotMakeTheFileSaysWhy)
{
    struct Case
    {
        const char* what;
        std::function<void()> prepare;
        rlim_t sizeLimit;
        const char* reason;
    };
    const auto makerFolder = userFolder.getFolder().getChildFile ("Korvel Audio Tools");
    const std::vector<Case> cases{
        { "nearly full disk", [] {}, 1000, "cannot be made: File too large" },
        { "a file where the folder goes", [&] { ASSERT_TRUE (makerFolder.replaceWithText ("x")); }, RLIM_INFINITY,
          "cannot be made: " },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        c.prepare();
        juce::String problem;
        {
            const ScopedFileSizeLimit limit (c.sizeLimit);
            ConvolutionEqAudioProcessor processor;
            problem = processor.getPresetStore().getReadProblem();
        }
        EXPECT_TRUE (problem.startsWith (userFolder.presetsFile().getFullPathName())) << problem;
        EXPECT_TRUE (problem.contains (c.reason)) << problem;
        EXPECT_FALSE (problem.contains ("No such file or directory")) << problem;
        makerFolder.deleteRecursively();
        makerFolder.deleteFile();
    }
}

TEST_F (PresetsFileSafetyTest, AnEditThatWaitsTooLongForTheLockIsRefusedAndSaysWhy)
{
    ConvolutionEqAudioProcessor processor;
    auto& store = processor.getPresetStore();
    ASSERT_TRUE (store.savePreset ("Mine"));
    const auto file = userFolder.presetsFile();
    const auto before = fileBytes (file);
    store.lockWait = std::chrono::milliseconds (50);

    // Another process is in the middle of its edit.
    const auto lockPath = file.getSiblingFile (".presets.xml.lock").getFullPathName().toStdString();
    const int held = ::open (lockPath.c_str(), O_RDWR);
    ASSERT_GE (held, 0);
    ASSERT_EQ (flock (held, LOCK_EX), 0);

    juce::StringArray failures;
    store.onFailure = [&] (const juce::String& message) { failures.add (message); };
    EXPECT_FALSE (store.savePreset ("Waiting"));
    EXPECT_FALSE (store.deletePreset (9));
    ::close (held);

    ASSERT_EQ (failures.size(), 2);
    for (const auto& failure : failures)
        EXPECT_TRUE (failure.contains ("another instance held " + juce::String (lockPath) + " for more than 50 ms"))
            << failure;
    EXPECT_EQ (fileBytes (file), before);

    EXPECT_TRUE (store.savePreset ("After"));
}

namespace
{
// A lock file planted in the way, what the refusal says it is, and what the file a link points at
// holds afterwards (a link is never followed).
struct PlantedLockFile
{
    const char* what;
    std::function<void (const std::string& lockPath, const juce::File& elsewhere)> plant;
    const char* problem;
    const char* elsewhereAfter = "(none)";
};

// The presets file cannot be made in a fresh profile, and a save and a delete are refused, each
// naming the lock file and what it is; the lock file and the file a link names stay as they were.
void expectLockFileRefused (const TemporaryUserFolder& userFolder, const PlantedLockFile& c)
{
    SCOPED_TRACE (c.what);
    const auto file = userFolder.presetsFile();
    const auto lock = file.getSiblingFile (".presets.xml.lock");
    const auto lockPath = lock.getFullPathName().toStdString();
    const auto elsewhere = userFolder.getFolder().getChildFile ("elsewhere");
    const auto named = "the lock file " + juce::String (lockPath) + c.problem;
    makeFolderFor (file);
    c.plant (lockPath, elsewhere);
    const auto lockBefore = nodeIdentity (lock);

    {
        auto processor = constructWithin (std::chrono::seconds (20));
        EXPECT_EQ (processor->getPresetStore().getReadProblem(), file.getFullPathName() + " cannot be made: " + named);
        EXPECT_FALSE (file.exists());
    }

    writeDocumentWithUserPreset (file);
    const auto before = fileBytes (file);
    auto processor = constructWithin (std::chrono::seconds (20));
    auto& store = processor->getPresetStore();
    store.lockWait = std::chrono::milliseconds (50);
    juce::StringArray failures;
    store.onFailure = [&] (const juce::String& message) { failures.add (message); };
    EXPECT_FALSE (store.savePreset ("Not now"));
    EXPECT_FALSE (store.deletePreset (9));
    EXPECT_EQ (failures.joinIntoString ("\n"),
               "The preset was not saved: " + named + ".\nThe preset was not deleted: " + named + ".");

    EXPECT_EQ (fileBytes (file), before);
    EXPECT_EQ (nodeIdentity (lock), lockBefore);
    EXPECT_EQ (elsewhere.exists() ? elsewhere.loadFileAsString() : "(none)", c.elsewhereAfter);

    processor.reset();
    std::filesystem::remove_all (file.getParentDirectory().getFullPathName().toStdString());
    elsewhere.deleteFile();
}
} // namespace

TEST_F (PresetsFileSafetyTest, ALockFileThatIsNotOursIsNamedWithWhatItIsAndLeftAlone)
{
    const std::vector<PlantedLockFile> cases{
        { "folder",
          [] (const std::string& lockPath, const juce::File&) { ASSERT_EQ (mkdir (lockPath.c_str(), 0700), 0); },
          " is a folder" },
        { "link to nothing yet",
          [] (const std::string& lockPath, const juce::File& elsewhere)
          { ASSERT_EQ (symlink (elsewhere.getFullPathName().toRawUTF8(), lockPath.c_str()), 0); },
          " is a symbolic link" },
        { "link to a file",
          [] (const std::string& lockPath, const juce::File& elsewhere)
          {
              ASSERT_TRUE (elsewhere.replaceWithText ("mine"));
              ASSERT_EQ (symlink (elsewhere.getFullPathName().toRawUTF8(), lockPath.c_str()), 0);
          },
          " is a symbolic link", "mine" },
        { "socket",
          [] (const std::string& lockPath, const juce::File&)
          { ASSERT_EQ (mknod (lockPath.c_str(), S_IFSOCK | 0600, 0), 0); },
          " is a socket" },
        { "named pipe",
          [] (const std::string& lockPath, const juce::File&) { ASSERT_EQ (mkfifo (lockPath.c_str(), 0600), 0); },
          " is a named pipe" },
    };
    for (const auto& c : cases)
        expectLockFileRefused (userFolder, c);

    // The lock file the store makes itself is its user's alone: whoever can open it can hold it.
    const auto lockPath = userFolder.presetsFile().getSiblingFile (".presets.xml.lock").getFullPathName().toStdString();
    auto processor = constructWithin (std::chrono::seconds (20));
    ASSERT_TRUE (processor->getPresetStore().savePreset ("Mine"));
    struct stat info
    {
    };
    ASSERT_EQ (lstat (lockPath.c_str(), &info), 0);
    EXPECT_TRUE (S_ISREG (info.st_mode));
    EXPECT_EQ (info.st_mode & 0777, 0600u);
    EXPECT_EQ (info.st_uid, geteuid());
}

// Only root can give a file away or make a device node. Opened another user's file could be, but
// its owner could hold it for ever; a device is never opened, since opening one may act.
TEST_F (PresetsFileSafetyTest, ALockFileOfAnotherUserOrADeviceIsNamedWithWhatItIsAndLeftAlone)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root, to make another user's file and a device node";
    const std::vector<PlantedLockFile> cases{
        { "another user's file",
          [] (const std::string& lockPath, const juce::File&)
          {
              ASSERT_TRUE (juce::File (lockPath).create());
              ASSERT_EQ (chmod (lockPath.c_str(), 0666), 0);
              ASSERT_EQ (chown (lockPath.c_str(), 54321, 54321), 0);
          },
          " belongs to another user" },
        // The null device's numbers: harmless were it ever opened.
        { "character device",
          [] (const std::string& lockPath, const juce::File&)
          { ASSERT_EQ (mknod (lockPath.c_str(), S_IFCHR | 0600, makedev (1, 3)), 0); },
          " is a device" },
        { "block device",
          [] (const std::string& lockPath, const juce::File&)
          { ASSERT_EQ (mknod (lockPath.c_str(), S_IFBLK | 0600, makedev (7, 200)), 0); },
          " is a device" },
    };
    for (const auto& c : cases)
        expectLockFileRefused (userFolder, c);
}

// A lock file that cannot be made says so, and one that is there but cannot be opened says that:
// here a missing folder, and a file of ours that cannot be opened for writing (a running program's
// file, which the kernel keeps from writers even for root; without root, one without permissions).
TEST_F (PresetsFileSafetyTest, ALockFileThatCannotBeMadeOrOpenedSaysWhich)
{
    const auto folder = userFolder.getFolder();
    const std::string missing = folder.getChildFile ("none/.presets.xml.lock").getFullPathName().toStdString();
    {
        const ExclusiveFileLock lock (missing, std::chrono::milliseconds (50));
        EXPECT_FALSE (lock.isHeld());
        EXPECT_EQ (lock.problem(), "the lock file " + missing + " cannot be made: No such file or directory");
    }

    const std::string busy = folder.getChildFile (".presets.xml.lock").getFullPathName().toStdString();
    pid_t program = 0;
    std::string reason;
    if (geteuid() == 0)
    {
        std::filesystem::copy_file ("/bin/sleep", busy);
        ASSERT_EQ (chmod (busy.c_str(), 0700), 0);
        char seconds[] = "30";
        char* const arguments[] = { seconds, seconds, nullptr };
        ASSERT_EQ (posix_spawn (&program, busy.c_str(), nullptr, nullptr, arguments, environ), 0);
        // Wait until the program runs from the file, when the kernel refuses writers.
        for (int attempt = 0; attempt < 500; ++attempt)
        {
            const int probe = ::open (busy.c_str(), O_RDWR | O_CLOEXEC);
            if (probe < 0)
                break;
            ::close (probe);
            std::this_thread::sleep_for (std::chrono::milliseconds (10));
        }
        reason = "Text file busy";
    }
    else
    {
        ASSERT_TRUE (juce::File (busy).create());
        ASSERT_EQ (chmod (busy.c_str(), 0), 0);
        reason = "Permission denied";
    }

    const ExclusiveFileLock lock (busy, std::chrono::milliseconds (50));
    if (program != 0)
    {
        kill (program, SIGKILL);
        waitpid (program, nullptr, 0);
    }
    EXPECT_FALSE (lock.isHeld());
    EXPECT_EQ (lock.problem(), "the lock file " + busy + " cannot be opened: " + reason);
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
