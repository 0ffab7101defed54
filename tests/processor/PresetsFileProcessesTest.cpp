// Processes that save and delete presets at the same moment in one presets file: whatever a
// store reported saved is in the file, and whatever it reported deleted is not.
#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/wait.h>

#include <set>
#include <string>
#include <vector>

extern char** environ;

TEST (PresetsFileProcesses, SavesAndDeletesOfEightProcessesAllReachTheFile)
{
    TemporaryUserFolder userFolder;
    {
        ConvolutionEqAudioProcessor first; // makes the file with the eight default entries
    }
    const auto go = userFolder.getFolder().getChildFile ("go");

    constexpr int numWorkers = 8;
    std::vector<pid_t> workers;
    for (int w = 0; w < numWorkers; ++w)
    {
        const std::string prefix = "W" + std::to_string (w);
        const std::string goPath = go.getFullPathName().toStdString();
        const std::string reportPath =
            userFolder.getFolder().getChildFile (prefix + ".report").getFullPathName().toStdString();
        std::vector<char*> arguments{ const_cast<char*> (LARKSPUR_PRESETS_FILE_WORKER),
                                      const_cast<char*> (prefix.c_str()), const_cast<char*> (goPath.c_str()),
                                      const_cast<char*> (reportPath.c_str()), nullptr };
        pid_t pid = 0;
        ASSERT_EQ (posix_spawn (&pid, arguments[0], nullptr, nullptr, arguments.data(), environ), 0);
        workers.push_back (pid);
    }
    ASSERT_TRUE (go.create());

    for (const pid_t pid : workers)
    {
        int status = 0;
        ASSERT_EQ (waitpid (pid, &status, 0), pid);
        EXPECT_TRUE (WIFEXITED (status) && WEXITSTATUS (status) == 0);
    }

    std::set<juce::String> saved, deleted;
    for (const auto& report : userFolder.getFolder().findChildFiles (juce::File::findFiles, false, "*.report"))
    {
        juce::StringArray lines;
        lines.addLines (report.loadFileAsString());
        for (const auto& line : lines)
        {
            if (line.startsWith ("saved "))
                saved.insert (line.fromFirstOccurrenceOf (" ", false, false));
            else if (line.startsWith ("deleted "))
                deleted.insert (line.fromFirstOccurrenceOf (" ", false, false));
        }
    }
    // Without contention every save and delete succeeds; with it, none may fail either.
    EXPECT_EQ (saved.size(), (size_t) numWorkers * 5);
    EXPECT_EQ (deleted.size(), (size_t) numWorkers * 2);

    const auto onDisk = PresetStore::readDocument (userFolder.presetsFile());
    ASSERT_NE (onDisk, nullptr);
    std::multiset<juce::String> inFile;
    for (const auto* preset : onDisk->getChildIterator())
        inFile.insert (preset->getStringAttribute ("presetName"));

    for (const auto& name : saved)
        EXPECT_EQ (inFile.count (name), deleted.count (name) == 0 ? 1u : 0u) << name;
    EXPECT_EQ (onDisk->getNumChildElements(), 8 + numWorkers * 3);
}
