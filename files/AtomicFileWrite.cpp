#include "AtomicFileWrite.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
std::atomic<unsigned> temporaryCounter{ 0 };

std::string folderOf (const std::string& path)
{
    const size_t slash = path.rfind ('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string ("/") : path.substr (0, slash);
}

std::string nameOf (const std::string& path)
{
    const size_t slash = path.rfind ('/');
    return slash == std::string::npos ? path : path.substr (slash + 1);
}

// A link to a regular file is written through, so that a user's link (into a synchronised
// folder, say) survives; a link to a pipe or device is refused like the file it names.
std::string resolveTarget (const std::string& path)
{
    struct stat link
    {
    };
    struct stat target
    {
    };
    if (lstat (path.c_str(), &link) != 0 || ! S_ISLNK (link.st_mode) || stat (path.c_str(), &target) != 0 ||
        ! S_ISREG (target.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (realpath (path.c_str(), resolved) == nullptr)
        return path;
    return resolved;
}

// Temporaries are named "." + the target's name (cut short when the whole would pass NAME_MAX)
// + ".tmp-" + the writer's pid + "-" + a counter: hidden, known as the target's by their shape,
// and locked by their writer while it writes.
constexpr const char* temporaryMark = ".tmp-";

std::string temporaryPrefix (const std::string& name)
{
    // Room for the dot, the mark, a pid and a counter of up to ten digits each, and the dash.
    constexpr size_t reserved = 1 + 5 + 10 + 1 + 10;
    size_t length = name.size();
    if (length > NAME_MAX - reserved)
    {
        length = NAME_MAX - reserved;
        // Whole UTF-8 characters only, so the name still reads as the target's.
        while (length > 1 && (static_cast<unsigned char> (name[length]) & 0xC0) == 0x80)
            --length;
    }
    return "." + name.substr (0, length) + temporaryMark;
}

bool allDigits (const std::string& text)
{
    return ! text.empty() && text.size() <= 10 && text.find_first_not_of ("0123456789") == std::string::npos;
}

// The writer's pid in a temporary of the target whose temporaries begin with `prefix` (the rest is
// "PID-N"), or 0 for any other name: other files of the folder are never touched.
pid_t writerOfTemporary (const std::string& name, const std::string& prefix)
{
    if (name.size() <= prefix.size() || name.compare (0, prefix.size(), prefix) != 0)
        return 0;
    const std::string rest = name.substr (prefix.size());
    const size_t dash = rest.find ('-');
    if (dash == std::string::npos || ! allDigits (rest.substr (0, dash)) || ! allDigits (rest.substr (dash + 1)))
        return 0;
    const long long pid = std::atoll (rest.substr (0, dash).c_str());
    return pid > 0 && pid <= INT_MAX ? static_cast<pid_t> (pid) : 0;
}

bool sameFile (const struct stat& one, const struct stat& other)
{
    return one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

// Removes one temporary when its lock can be taken: a writer holds it until its rename or removal,
// wherever the writer runs, so a free lock means the writer is gone. Only a regular file of this
// user, still under the name once locked.
void removeIfAbandoned (int folder, const char* name)
{
    struct stat named
    {
    };
    if (::fstatat (folder, name, &named, AT_SYMLINK_NOFOLLOW) != 0 || ! S_ISREG (named.st_mode) ||
        named.st_uid != ::geteuid())
        return;
    // Opened for writing where possible, since NFS takes an exclusive lock only on such a descriptor.
    constexpr int flags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int descriptor = ::openat (folder, name, O_WRONLY | flags);
    if (descriptor < 0 && errno == EACCES)
        descriptor = ::openat (folder, name, O_RDONLY | flags);
    if (descriptor < 0)
        return;
    struct stat opened
    {
    };
    struct stat still
    {
    };
    if (::fstat (descriptor, &opened) == 0 && sameFile (opened, named) &&
        ::flock (descriptor, LOCK_EX | LOCK_NB) == 0 && ::fstatat (folder, name, &still, AT_SYMLINK_NOFOLLOW) == 0 &&
        sameFile (still, opened))
        ::unlinkat (folder, name, 0);
    ::close (descriptor);
}

// Removes the temporaries of one target that killed writers left in `folder`. A pid that runs here
// keeps its file (a reused pid errs on the safe side); one that does not is taken as gone only
// when the file's lock is free too, since the writer may run in another pid namespace.
void removeStaleTemporaries (const std::string& folder, const std::string& prefix)
{
    DIR* const listing = ::opendir (folder.c_str());
    if (listing == nullptr)
        return;
    const int saved = errno;
    while (const dirent* entry = ::readdir (listing))
    {
        const pid_t writer = writerOfTemporary (entry->d_name, prefix);
        if (writer == 0 || writer == getpid() || ::kill (writer, 0) == 0 || errno != ESRCH)
            continue;
        removeIfAbandoned (::dirfd (listing), entry->d_name);
    }
    ::closedir (listing);
    errno = saved;
}

// Locks a new temporary. False when a clean-up holds the lock (it took the file for abandoned, since
// the pid did not look alive from where it runs) or removed the name before the lock was ours.
// A file system without locks leaves the temporary unlocked, and its clean-ups remove nothing.
bool lockNewTemporary (int descriptor)
{
    int locked = 0;
    do
        locked = ::flock (descriptor, LOCK_EX | LOCK_NB);
    while (locked != 0 && errno == EINTR);
    if (locked != 0 && errno == EWOULDBLOCK)
        return false;
    struct stat info
    {
    };
    return ::fstat (descriptor, &info) == 0 && info.st_nlink > 0;
}

bool writeAll (int descriptor, const void* data, size_t size, std::string& reason)
{
    const auto* bytes = static_cast<const unsigned char*> (data);
    while (size > 0)
    {
        const ssize_t written = ::write (descriptor, bytes, size);
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            reason = describeErrno (errno);
            return false;
        }
        bytes += written;
        size -= static_cast<size_t> (written);
    }
    return true;
}

// The rename itself reaches the disk only with its folder; a failure here loses nothing.
void syncFolder (const std::string& folder)
{
    const int descriptor = ::open (folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0)
    {
        ::fsync (descriptor);
        ::close (descriptor);
    }
}

} // namespace

std::string describeErrno (int error)
{
    return std::strerror (error);
}

bool isReplaceableFile (const std::string& path, std::string& reason)
{
    struct stat info
    {
    };
    if (::stat (path.c_str(), &info) != 0 || S_ISREG (info.st_mode))
        return true;
    reason = describeFileKind (info.st_mode);
    return false;
}

std::string describeFileKind (unsigned int mode)
{
    if (S_ISDIR (mode))
        return "it is a folder";
    if (S_ISFIFO (mode))
        return "it is a named pipe, not a regular file";
    if (S_ISCHR (mode) || S_ISBLK (mode))
        return "it is a device, not a regular file";
    if (S_ISSOCK (mode))
        return "it is a socket, not a regular file";
    return "it is not a regular file";
}

PendingFile::PendingFile (std::string targetPath)
    : target (resolveTarget (targetPath))
{
}

PendingFile::~PendingFile()
{
    if (! committed)
        discard();
}

bool PendingFile::create (std::string& reason)
{
    if (held >= 0)
        return true;
    if (! isReplaceableFile (target, reason))
        return false;
    const std::string folder = folderOf (target);
    const std::string prefix = temporaryPrefix (nameOf (target));
    removeStaleTemporaries (folder, prefix);
    // Read once, so that the temporary is made and committed with what the file was when the write began.
    if (! replaced.read (target, reason))
        return false;
    const std::string stem = folder + "/" + prefix + std::to_string (getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        const std::string candidate = stem + std::to_string (temporaryCounter.fetch_add (1));
        const int descriptor =
            ::open (candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, replaced.creationMode());
        if (descriptor < 0)
        {
            if (errno == EEXIST)
                continue;
            reason = describeErrno (errno);
            return false;
        }
        if (lockNewTemporary (descriptor))
        {
            temporary = candidate;
            held = descriptor;
            if (replaced.grantTo (descriptor, reason))
                return true;
            discard();
            return false;
        }
        ::close (descriptor);
    }
    reason = describeErrno (EEXIST);
    return false;
}

int PendingFile::open (std::string& reason)
{
    if (! create (reason))
        return -1;
    const int descriptor = ::fcntl (held, F_DUPFD_CLOEXEC, 0);
    if (descriptor < 0)
        reason = describeErrno (errno);
    return descriptor;
}

bool PendingFile::fill (const void* data, size_t size, std::string& reason)
{
    if (! create (reason))
        return false;
    if (! writeAll (held, data, size, reason))
        return false;
    if (::fsync (held) != 0)
    {
        reason = describeErrno (errno);
        return false;
    }
    return true;
}

bool PendingFile::checkCommittable (std::string& reason)
{
    if (held < 0)
    {
        reason = "nothing was written";
        return false;
    }
    // Something else may have taken the name while the content was written.
    if (! isReplaceableFile (target, reason))
        return false;
    // The folder, or the temporary alone, may have been removed meanwhile.
    struct stat named
    {
    };
    struct stat opened
    {
    };
    if (::stat (temporary.c_str(), &named) != 0 || ::fstat (held, &opened) != 0)
    {
        reason = describeErrno (errno);
        return false;
    }
    if (! sameFile (named, opened))
    {
        reason = "its temporary " + temporary + " was replaced meanwhile";
        return false;
    }
    if (::fsync (held) != 0)
    {
        reason = describeErrno (errno);
        return false;
    }
    return true;
}

bool PendingFile::commit (std::string& reason)
{
    if (! checkCommittable (reason))
        return false;
    replaced.grantSetIdBitsTo (held);
    if (std::rename (temporary.c_str(), target.c_str()) != 0)
    {
        reason = describeErrno (errno);
        return false;
    }
    committed = true;
    // The lock goes only once the temporary's name has.
    ::close (held);
    held = -1;
    syncFolder (folderOf (target));
    return true;
}

void PendingFile::discard() noexcept
{
    if (! temporary.empty() && held >= 0)
        ::unlink (temporary.c_str());
    if (held >= 0)
        ::close (held);
    held = -1;
    temporary.clear();
}

bool replaceFileAtomically (const std::string& path, const void* data, size_t size, std::string& reason)
{
    PendingFile pending (path);
    return pending.fill (data, size, reason) && pending.commit (reason);
}

bool createFileAtomically (const std::string& path, const void* data, size_t size, bool& created, std::string& reason)
{
    created = false;
    PendingFile pending (path);
    if (! pending.fill (data, size, reason))
        return false;

    // A hard link appears whole and fails when the name is taken, so of several processes
    // creating the file at once exactly one succeeds and the others keep what it made.
    if (::link (pending.temporaryPath().c_str(), path.c_str()) == 0)
    {
        created = true;
        syncFolder (folderOf (path));
        return true;
    }
    if (errno == EEXIST)
        return true;

    // File systems without hard links: a rename, unless the name was taken meanwhile.
    struct stat existing
    {
    };
    if (lstat (path.c_str(), &existing) == 0)
        return true;
    if (! pending.commit (reason))
        return false;
    created = true;
    return true;
}
