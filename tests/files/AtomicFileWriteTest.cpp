#include "AtomicFileWrite.h"
#include "SystemCallShim.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

// A pid that ran a moment ago and runs no more.
pid_t deadPid()
{
    const pid_t child = fork();
    if (child == 0)
        _exit (0);
    waitpid (child, nullptr, 0);
    return child;
}

std::string contentOf (const fs::path& path)
{
    std::ifstream in (path, std::ios::binary);
    return std::string (std::istreambuf_iterator<char> (in), std::istreambuf_iterator<char>());
}

bool isThere (const fs::path& path)
{
    std::error_code ignored;
    return fs::exists (fs::symlink_status (path, ignored));
}

class AtomicFileWriteTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/larkspur-files-XXXXXX";
        ASSERT_NE (mkdtemp (pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override
    {
        for (const int descriptor : heldLocks)
            close (descriptor);
        fs::remove_all (folder);
    }

    bool write (const std::string& name, const std::string& content)
    {
        std::string reason;
        const bool written = replaceFileAtomically ((folder / name).string(), content.data(), content.size(), reason);
        EXPECT_TRUE (written) << reason;
        return written;
    }

    void makeFile (const std::string& name) { std::ofstream (folder / name) << "someone's"; }

    // As a writer does while its temporary exists.
    void makeLockedFile (const std::string& name)
    {
        makeFile (name);
        const int descriptor = open ((folder / name).c_str(), O_WRONLY | O_CLOEXEC);
        ASSERT_GE (descriptor, 0);
        ASSERT_EQ (flock (descriptor, LOCK_EX | LOCK_NB), 0);
        heldLocks.push_back (descriptor);
    }

    fs::path folder;
    std::vector<int> heldLocks;
};
} // namespace

// A write removes only temporaries of its own target whose writer is gone: pid not running here
// and lock free. Everything else in the folder stays as it was.
TEST_F (AtomicFileWriteTest, WriteRemovesOnlyAbandonedTemporariesOfItsTarget)
{
    const std::string dead = std::to_string (deadPid());
    const std::string live = std::to_string (getppid());
    enum class Kind
    {
        file,
        lockedFile,
        link,
        directory
    };
    struct Case
    {
        std::string name;
        Kind kind;
        bool removed;
    };
    const std::vector<Case> cases = {
        { ".song.wav.tmp-" + dead + "-0", Kind::file, true },
        { ".song.wav.tmp-" + dead + "-1", Kind::lockedFile, false }, // a writer in another pid namespace
        { ".song.wav.tmp-" + live + "-2", Kind::file, false },
        { ".notes.txt.tmp-" + dead + "-1", Kind::file, false },
        { ".song.wav.bak.tmp-" + dead + "-1", Kind::file, false },
        { ".song.tmp-" + dead + "-1", Kind::file, false },
        { "song.wav.tmp-" + dead + "-1", Kind::file, false },
        { ".song.wav.tmp-" + dead + "-x", Kind::file, false },
        { ".song.wav.tmp-" + dead + "-1-2", Kind::file, false },
        { ".song.wav.tmp-" + dead, Kind::file, false },
        { ".song.wav.tmp-" + dead + "-3", Kind::link, false },
        { ".song.wav.tmp-" + dead + "-4", Kind::directory, false },
    };
    makeFile ("linked");
    for (const Case& entry : cases)
    {
        if (entry.kind == Kind::file)
            makeFile (entry.name);
        else if (entry.kind == Kind::lockedFile)
            makeLockedFile (entry.name);
        else if (entry.kind == Kind::link)
            fs::create_symlink (folder / "linked", folder / entry.name);
        else
            fs::create_directory (folder / entry.name);
    }

    ASSERT_TRUE (write ("song.wav", "new"));

    for (const Case& entry : cases)
        EXPECT_EQ (isThere (folder / entry.name), ! entry.removed) << entry.name;
    EXPECT_EQ (contentOf (folder / "linked"), "someone's");
    EXPECT_EQ (contentOf (folder / "song.wav"), "new");
}

// A writer in another pid namespace, or on another NFS client, looks gone to kill(): its
// temporary stays because the writer holds its lock from creation to rename.
TEST_F (AtomicFileWriteTest, LiveWritersTemporaryStaysWhateverPidItsNameGives)
{
    PendingFile other ((folder / "song.wav").string());
    std::string reason;
    const int descriptor = other.open (reason);
    ASSERT_GE (descriptor, 0) << reason;
    close (descriptor);
    // The same file under the name a writer whose pid is not seen here would give it.
    const fs::path elsewhere = folder / (".song.wav.tmp-" + std::to_string (deadPid()) + "-0");
    fs::rename (other.temporaryPath(), elsewhere);

    ASSERT_TRUE (write ("song.wav", "new"));
    EXPECT_TRUE (isThere (elsewhere));
}

// A temporary's name is the target's name cut short enough for the whole to fit NAME_MAX; the
// cut never falls inside a multi-byte UTF-8 character, wherever the characters begin.
TEST_F (AtomicFileWriteTest, LongNamesAreCutBetweenWholeCharacters)
{
    for (const std::string character : { "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x8E\xB5" })
        for (size_t lead = 0; lead < 4; ++lead)
        {
            std::string name (lead, 'a');
            while (name.size() + character.size() + 4 <= NAME_MAX)
                name += character;
            name += ".wav";
            SCOPED_TRACE (std::to_string (character.size()) + "-byte characters after " + std::to_string (lead));

            PendingFile pending ((folder / name).string());
            std::string reason;
            ASSERT_TRUE (pending.fill ("x", 1, reason)) << reason;
            const std::string temporary = fs::path (pending.temporaryPath()).filename().string();
            EXPECT_LE (temporary.size(), static_cast<size_t> (NAME_MAX));
            const size_t kept = temporary.find (".tmp-") - 1;
            ASSERT_LT (kept, name.size());
            EXPECT_EQ (temporary.substr (1, kept), name.substr (0, kept));
            EXPECT_NE (static_cast<unsigned char> (name[kept]) & 0xC0, 0x80) << "cut inside a character";
            ASSERT_TRUE (pending.commit (reason)) << reason;
            EXPECT_EQ (contentOf (folder / name), "x");
        }
}

// The temporary made before long work is where the content goes, and a folder that cannot take
// it is found then; a discarded temporary leaves nothing.
TEST_F (AtomicFileWriteTest, CreatedTemporaryFailsEarlyOrLeavesNothingWhenDiscarded)
{
    std::string reason;
    PendingFile missing ((folder / "none" / "song.lkp").string());
    EXPECT_FALSE (missing.create (reason));
    EXPECT_EQ (reason, "No such file or directory");

    PendingFile pending ((folder / "song.lkp").string());
    ASSERT_TRUE (pending.create (reason)) << reason;
    EXPECT_TRUE (isThere (pending.temporaryPath()));
    pending.discard();
    EXPECT_TRUE (fs::is_empty (folder));
}

namespace
{
mode_t modeOf (const fs::path& path)
{
    struct stat info
    {
    };
    return ::stat (path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Writes `content` as the render does: piece by piece through the temporary's descriptor.
bool writeThroughDescriptor (const fs::path& path, const std::string& content, std::string& reason)
{
    PendingFile pending (path.string());
    const int descriptor = pending.open (reason);
    if (descriptor < 0)
        return false;
    const bool written = ::write (descriptor, content.data(), content.size()) == static_cast<ssize_t> (content.size());
    ::close (descriptor);
    return written && pending.commit (reason);
}

// A group of this user's other than its own, or 0 when it has none.
gid_t otherGroupOfThisUser()
{
    std::vector<gid_t> groups (static_cast<size_t> (NGROUPS_MAX));
    const int count = ::getgroups (static_cast<int> (groups.size()), groups.data());
    for (int i = 0; i < count; ++i)
        if (groups[static_cast<size_t> (i)] != ::getegid() && groups[static_cast<size_t> (i)] != 0)
            return groups[static_cast<size_t> (i)];
    return 0;
}

// The mode the writer's temporary had as it was made, or every bit when none was seen made.
mode_t creationModeOfTemporary (const std::vector<systemCallShim::Call>& calls)
{
    for (const systemCallShim::Call& call : calls)
        if (call.name == "open" && call.path.find (".tmp-") != std::string::npos)
            return call.mode;
    return 07777;
}

// Access control lists in the kernel's raw form: a version, then entries of tag, permissions and id.
constexpr const char* accessListName = "system.posix_acl_access";
enum AccessListTag : uint16_t
{
    ownerEntry = 0x01,
    userEntry = 0x02,
    groupEntry = 0x04,
    maskEntry = 0x10,
    othersEntry = 0x20
};
struct AccessListEntry
{
    uint16_t tag;
    uint16_t permissions;
    uint32_t id = UINT32_MAX;
};

std::string accessListOf (const std::vector<AccessListEntry>& entries)
{
    std::string bytes;
    const auto put = [&bytes] (uint32_t value, int size)
    {
        for (int i = 0; i < size; ++i)
            bytes += static_cast<char> ((value >> (8 * i)) & 0xFF);
    };
    put (2, 4);
    for (const AccessListEntry& entry : entries)
    {
        put (entry.tag, 2);
        put (entry.permissions, 2);
        put (entry.id, 4);
    }
    return bytes;
}

// A 0640 file's list that lets `user` read as well.
std::string readableBy (uid_t user, uint16_t groupPermissions = 4)
{
    return accessListOf ({ { ownerEntry, 6 },
                           { userEntry, 4, user },
                           { groupEntry, groupPermissions },
                           { maskEntry, 4 },
                           { othersEntry, 0 } });
}

// The file's list, empty when it has none.
std::string accessListOfFile (const fs::path& path)
{
    std::string bytes (4096, '\0');
    const ssize_t size = ::getxattr (path.c_str(), accessListName, bytes.data(), bytes.size());
    return bytes.substr (0, size > 0 ? static_cast<size_t> (size) : 0);
}

bool setAccessList (const fs::path& path, const std::string& list, const char* name = accessListName)
{
    return ::setxattr (path.c_str(), name, list.data(), list.size(), 0) == 0;
}

// Runs `work` in a child process as user `user` of group `group` and the other `groups` given.
bool succeedsAs (uid_t user, gid_t group, const std::vector<gid_t>& groups, const std::function<bool()>& work)
{
    const pid_t child = fork();
    if (child == 0)
        _exit (::setgroups (groups.size(), groups.data()) == 0 && ::setgid (group) == 0 && ::setuid (user) == 0 &&
                       work()
                   ? 0
                   : 1);
    int status = 0;
    return child > 0 && waitpid (child, &status, 0) == child && WIFEXITED (status) && WEXITSTATUS (status) == 0;
}
} // namespace

// A replaced file keeps its permission bits, whichever way its content was written, and its
// temporary is never readable by more than the file; a new file gets the usual ones.
TEST_F (AtomicFileWriteTest, ReplacedFileKeepsItsPermissionBits)
{
    const mode_t previousMask = ::umask (022);
    for (const bool byDescriptor : { false, true })
        for (const mode_t mode : { 0600, 0640, 0444, 0755, 02750, 04755 })
        {
            SCOPED_TRACE ((byDescriptor ? "through a descriptor, mode " : "whole, mode ") + std::to_string (mode));
            const fs::path target = folder / "take.wav";
            makeFile ("take.wav");
            ASSERT_EQ (::chmod (target.c_str(), mode), 0);
            std::string reason;
            {
                systemCallShim::startRecording();
                PendingFile pending (target.string());
                const bool created = pending.create (reason);
                const mode_t made = creationModeOfTemporary (systemCallShim::stopRecording());
                ASSERT_TRUE (created) << reason;
                // A descriptor opened at any moment keeps what was granted then.
                EXPECT_EQ (made & 0777 & ~mode, 0u) << "made with " << std::oct << made;
                EXPECT_EQ (modeOf (pending.temporaryPath()), mode & 0777);
            }
            ASSERT_TRUE (byDescriptor ? writeThroughDescriptor (target, "new", reason) : write ("take.wav", "new"))
                << reason;
            EXPECT_EQ (contentOf (target), "new");
            EXPECT_EQ (modeOf (target), mode);
            fs::remove (target);
        }
    std::string reason;
    EXPECT_TRUE (writeThroughDescriptor (folder / "new.wav", "new", reason)) << reason;
    EXPECT_EQ (modeOf (folder / "new.wav"), 0644u);
    ::umask (previousMask);
}

// And its owner and group: both where the writer may set them (root), else the group when the user
// is in it.
TEST_F (AtomicFileWriteTest, ReplacedFileKeepsItsOwnerAndGroup)
{
    const bool root = ::geteuid() == 0;
    const uid_t owner = root ? 54321 : ::geteuid();
    const gid_t group = root ? 54322 : otherGroupOfThisUser();
    if (group == 0)
        GTEST_SKIP() << "needs root, or a user in a second group";

    for (const bool byDescriptor : { false, true })
    {
        SCOPED_TRACE (byDescriptor ? "through a descriptor" : "whole");
        const fs::path target = folder / "take.wav";
        makeFile ("take.wav");
        ASSERT_EQ (::chown (target.c_str(), owner, group), 0);
        ASSERT_EQ (::chmod (target.c_str(), 0640), 0);
        std::string reason;
        ASSERT_TRUE (byDescriptor ? writeThroughDescriptor (target, "new", reason) : write ("take.wav", "new"))
            << reason;
        struct stat info
        {
        };
        ASSERT_EQ (::stat (target.c_str(), &info), 0);
        EXPECT_EQ (info.st_uid, owner);
        EXPECT_EQ (info.st_gid, group);
        EXPECT_EQ (info.st_mode & 07777, 0640u);
        fs::remove (target);
    }
}

// A writer who is not root keeps the old file's group only when it is in it; otherwise the new
// file's group (the writer's) is granted nothing, by the bits or by the access control list, and no
// set-id bit names another owner or group than the old file's did.
TEST_F (AtomicFileWriteTest, GroupOrOwnerTheWriterCannotKeepIsGrantedNothing)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root, to write as other users";
    constexpr uid_t writer = 54321;
    constexpr gid_t writers = 54321; // the writer's own group
    constexpr gid_t others = 54322;
    constexpr uid_t someone = 54323;
    struct Case
    {
        const char* what;
        uid_t owner;
        gid_t group;
        mode_t mode;
        bool writerInOthers;
        std::string list;
        gid_t newGroup;
        mode_t newMode;
        std::string newList;
    };
    const std::string listed = readableBy (someone);
    const std::string groupless = readableBy (someone, 0);
    // clang-format off
    const std::vector<Case> cases{
        { "own file, another group",             writer,  others,  02660, false, "",     writers, 0600,  "" },
        { "own file, a group the writer is in",  writer,  others,  02660, true,  "",     others,  02660, "" },
        { "another's file, the writer's group",  someone, writers, 04644, false, "",     writers, 0644,  "" },
        { "another's file, a group it is in",    someone, others,  06640, true,  "",     others,  02640, "" },
        { "own file with a list, another group", writer,  others,  0640,  false, listed, writers, 0640,  groupless },
    };
    // clang-format on
    ASSERT_EQ (::chown (folder.c_str(), writer, writers), 0);
    const fs::path target = folder / "take.wav";
    for (const Case& entry : cases)
    {
        SCOPED_TRACE (entry.what);
        makeFile ("take.wav");
        ASSERT_EQ (::chown (target.c_str(), entry.owner, entry.group), 0);
        ASSERT_EQ (::chmod (target.c_str(), entry.mode), 0);
        if (! entry.list.empty() && ! setAccessList (target, entry.list))
            GTEST_SKIP() << "no access control lists here: " << std::strerror (errno);
        EXPECT_TRUE (succeedsAs (writer, writers,
                                 entry.writerInOthers ? std::vector<gid_t>{ others } : std::vector<gid_t>{},
                                 [&target]
                                 {
                                     std::string reason;
                                     const bool written = replaceFileAtomically (target.string(), "new", 3, reason);
                                     if (! written)
                                         std::fprintf (stderr, "%s\n", reason.c_str());
                                     return written;
                                 }));
        struct stat info
        {
        };
        ASSERT_EQ (::stat (target.c_str(), &info), 0);
        EXPECT_EQ (contentOf (target), "new");
        EXPECT_EQ (info.st_uid, writer);
        EXPECT_EQ (info.st_gid, entry.newGroup);
        EXPECT_EQ (info.st_mode & 07777, entry.newMode) << std::oct << (info.st_mode & 07777);
        EXPECT_EQ (accessListOfFile (target), entry.newList);
        fs::remove (target);
    }
}

// And its access control list; where it had none it gets none, whatever the folder's default list
// gives new files (and that list grants nothing while the temporary is made: its mask is the
// group's bits, none then).
TEST_F (AtomicFileWriteTest, ReplacedFileKeepsItsAccessControlList)
{
    const fs::path target = folder / "take.wav";
    makeFile ("take.wav");
    ASSERT_EQ (::chmod (target.c_str(), 0640), 0);
    if (! setAccessList (target, readableBy (54321)))
        GTEST_SKIP() << "no access control lists here: " << std::strerror (errno);
    ASSERT_TRUE (write ("take.wav", "new"));
    EXPECT_EQ (accessListOfFile (target), readableBy (54321));
    EXPECT_EQ (modeOf (target), 0640u);

    fs::remove (target);
    const std::string folderDefault = accessListOf (
        { { ownerEntry, 7 }, { userEntry, 4, 54321 }, { groupEntry, 5 }, { maskEntry, 5 }, { othersEntry, 0 } });
    ASSERT_TRUE (setAccessList (folder, folderDefault, "system.posix_acl_default")) << std::strerror (errno);
    makeFile ("take.wav");
    ASSERT_EQ (::removexattr (target.c_str(), accessListName), 0);
    ASSERT_EQ (::chmod (target.c_str(), 0640), 0);
    systemCallShim::startRecording();
    const bool written = write ("take.wav", "new");
    const mode_t made = creationModeOfTemporary (systemCallShim::stopRecording());
    ASSERT_TRUE (written);
    EXPECT_EQ (made & 070, 0u) << "made with " << std::oct << made;
    EXPECT_EQ (accessListOfFile (target), "");
    EXPECT_EQ (modeOf (target), 0640u);
}

// Another user's temporary is never taken for this writer's, however abandoned it looks.
TEST_F (AtomicFileWriteTest, AnotherUsersAbandonedTemporaryIsKept)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root, to make another user's file";
    const std::string dead = std::to_string (deadPid());
    const std::string others = ".song.wav.tmp-" + dead + "-0";
    const std::string mine = ".song.wav.tmp-" + dead + "-1";
    makeFile (others);
    makeFile (mine);
    ASSERT_EQ (::chown ((folder / others).c_str(), 54321, 54321), 0);

    ASSERT_TRUE (write ("song.wav", "new"));
    EXPECT_TRUE (isThere (folder / others));
    EXPECT_FALSE (isThere (folder / mine));
}

// A write that succeeded leaves the target alone in the folder; one whose temporary or folder went
// away before the rename is found out by the check before it, which several files committed
// together make before the first rename.
TEST_F (AtomicFileWriteTest, CommitLeavesNoTemporaryAndIsRefusedWhenItsTemporaryWentAway)
{
    ASSERT_TRUE (write ("song.lkp", "new"));
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator (folder))
        names.push_back (entry.path().filename().string());
    EXPECT_EQ (names, std::vector<std::string>{ "song.lkp" });

    struct Case
    {
        const char* what;
        std::function<void (const PendingFile&)> remove;
        std::string reason;
    };
    const std::vector<Case> cases{
        { "folder removed", [this] (const PendingFile&) { fs::remove_all (folder / "sub"); },
          "No such file or directory" },
        { "temporary removed", [] (const PendingFile& pending) { fs::remove (pending.temporaryPath()); },
          "No such file or directory" },
        { "temporary replaced",
          [] (const PendingFile& pending)
          {
              fs::remove (pending.temporaryPath());
              std::ofstream (pending.temporaryPath()) << "someone's";
          },
          "was replaced meanwhile" },
    };
    for (const Case& entry : cases)
    {
        SCOPED_TRACE (entry.what);
        fs::create_directories (folder / "sub");
        std::ofstream (folder / "sub" / "song.lkp") << "old";
        PendingFile pending ((folder / "sub" / "song.lkp").string());
        std::string reason;
        ASSERT_TRUE (pending.fill ("new", 3, reason)) << reason;
        EXPECT_TRUE (pending.checkCommittable (reason)) << reason;
        entry.remove (pending);
        EXPECT_FALSE (pending.checkCommittable (reason));
        EXPECT_NE (reason.find (entry.reason), std::string::npos) << reason;
        EXPECT_FALSE (pending.commit (reason));
        if (isThere (folder / "sub" / "song.lkp"))
        {
            EXPECT_EQ (contentOf (folder / "sub" / "song.lkp"), "old");
        }
        fs::remove_all (folder / "sub");
    }
}

// The content reaches the disk before the rename makes it the file's; a rename that fails leaves the
// old file as it was and no temporary.
TEST_F (AtomicFileWriteTest, TemporaryIsFlushedBeforeItsRenameAndRemovedWhenTheRenameFails)
{
    std::ofstream (folder / "song.lkp") << "old";
    PendingFile pending ((folder / "song.lkp").string());
    std::string reason;
    const int descriptor = pending.open (reason);
    ASSERT_GE (descriptor, 0) << reason;
    ASSERT_EQ (::write (descriptor, "new", 3), 3);
    ::close (descriptor);
    systemCallShim::startRecording();
    const bool committed = pending.commit (reason);
    std::vector<std::string> callsOnTemporary;
    for (const systemCallShim::Call& call : systemCallShim::stopRecording())
        if (call.path == pending.temporaryPath())
            callsOnTemporary.push_back (call.name);
    ASSERT_TRUE (committed) << reason;
    EXPECT_EQ (callsOnTemporary, (std::vector<std::string>{ "fsync", "rename" }));

    // A rename that fails, or an access control list that can be neither read nor copied nor kept off
    // the temporary (which might then grant more than the old file), leaves no temporary behind.
    std::ofstream (folder / "take.lkp") << "old";
    const auto namesInFolder = [this]
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator (folder))
            names.push_back (entry.path().filename().string());
        std::sort (names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> onlyTheTargets{ "song.lkp", "take.lkp" };
    struct Failure
    {
        void (*inject) (int error);
        const char* reasonHolds;
    };
    for (const Failure& failure : { Failure{ systemCallShim::failRenames, "" },
                                    Failure{ systemCallShim::failAccessListChanges, "access control list" },
                                    Failure{ systemCallShim::failAccessListReads, "access control list" } })
    {
        SCOPED_TRACE (failure.reasonHolds);
        failure.inject (EIO);
        const bool written = replaceFileAtomically ((folder / "take.lkp").string(), "new", 3, reason);
        failure.inject (0);
        EXPECT_FALSE (written);
        EXPECT_NE (reason.find (std::strerror (EIO)), std::string::npos) << reason;
        EXPECT_NE (reason.find (failure.reasonHolds), std::string::npos) << reason;
        EXPECT_EQ (contentOf (folder / "take.lkp"), "old");
        EXPECT_EQ (namesInFolder(), onlyTheTargets);
    }

    // Removed at once, not only when the writer goes, and the next attempt makes a new one.
    PendingFile later ((folder / "take.lkp").string());
    systemCallShim::failAccessListChanges (EIO);
    EXPECT_FALSE (later.create (reason));
    systemCallShim::failAccessListChanges (0);
    EXPECT_EQ (namesInFolder(), onlyTheTargets);
    ASSERT_TRUE (later.fill ("new", 3, reason)) << reason;
    EXPECT_TRUE (later.commit (reason)) << reason;
    EXPECT_EQ (contentOf (folder / "take.lkp"), "new");
}
