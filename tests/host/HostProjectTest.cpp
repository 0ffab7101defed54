#include "HostProject.h"
#include "ScopedFileSizeLimit.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <sys/stat.h>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

HostProject projectOf (size_t dataBytes)
{
    HostProject project;
    ProjectChunk chunk;
    chunk.chunkId = 0x6A756365;
    chunk.version = 3;
    chunk.name = "state";
    chunk.data.assign (dataBytes, 0x5A);
    project.chunks.push_back (chunk);
    return project;
}

std::vector<char> bytesOf (const fs::path& path)
{
    std::ifstream in (path, std::ios::binary);
    return std::vector<char> (std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char>());
}

class HostProjectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/larkspur-project-XXXXXX";
        ASSERT_NE (mkdtemp (pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all (folder); }

    fs::path folder;
};
} // namespace

TEST_F (HostProjectTest, SavedProjectLoadsBackTheSameChunks)
{
    const auto path = (folder / "song.lkp").string();
    std::string error;
    ASSERT_TRUE (projectOf (1000).save (path, error)) << error;

    HostProject loaded;
    ASSERT_TRUE (loaded.load (path, error)) << error;
    ASSERT_EQ (loaded.chunks.size(), 1u);
    EXPECT_EQ (loaded.chunks[0].name, "state");
    EXPECT_EQ (loaded.chunks[0].data, projectOf (1000).chunks[0].data);
}

TEST_F (HostProjectTest, PathsThatAreNoRegularProjectFileAreRefusedWithTheReason)
{
    const auto pipe = folder / "pipe.lkp";
    ASSERT_EQ (mkfifo (pipe.c_str(), 0644), 0);
    const auto large = folder / "large.lkp";
    {
        std::ofstream out (large, std::ios::binary);
        out.seekp (static_cast<std::streamoff> (HostProject::maxFileBytes));
        out.put ('x');
    }
    const std::vector<std::pair<std::string, std::string>> cases{
        { folder.string(), "cannot read project " + folder.string() + ": it is a folder" },
        { "/dev/zero", "cannot read project /dev/zero: it is a device" },
        { pipe.string(), "it is a named pipe" },
        { large.string(), "it is larger than 64 MiB" },
        { (folder / "none.lkp").string(), "No such file or directory" },
    };
    for (const auto& [path, message] : cases)
    {
        HostProject project = projectOf (4);
        std::string error;
        EXPECT_FALSE (project.load (path, error)) << path;
        EXPECT_NE (error.find (message), std::string::npos) << error;
        EXPECT_EQ (project.chunks.size(), 1u) << "a failed load changed the project";
    }
}

TEST_F (HostProjectTest, FailedSaveLeavesTheExistingProjectWhole)
{
    const auto path = folder / "song.lkp";
    std::string error;
    ASSERT_TRUE (projectOf (100).save (path.string(), error));
    const auto before = bytesOf (path);
    {
        const ScopedFileSizeLimit nearlyFullDisk (1000);
        EXPECT_FALSE (projectOf (5000).save (path.string(), error));
    }
    EXPECT_NE (error.find ("cannot write project " + path.string() + ": File too large"), std::string::npos) << error;
    EXPECT_EQ (bytesOf (path), before);
    EXPECT_EQ (std::distance (fs::directory_iterator (folder), fs::directory_iterator()), 1)
        << "a temporary file was left behind";

    // A folder in the way is reported, not written into.
    EXPECT_FALSE (projectOf (10).save (folder.string(), error));
    EXPECT_NE (error.find ("cannot write project"), std::string::npos);
}

TEST_F (HostProjectTest, DamagedBytesAreNotAProject)
{
    auto bytes = projectOf (16).serialise();
    HostProject project;
    ASSERT_TRUE (project.parse (bytes.data(), bytes.size()));

    for (const size_t cut : { size_t (0), size_t (3), size_t (8), bytes.size() - 1 })
        EXPECT_FALSE (HostProject().parse (bytes.data(), cut)) << cut;
    bytes.push_back (0);
    EXPECT_FALSE (HostProject().parse (bytes.data(), bytes.size())) << "trailing byte";
}
