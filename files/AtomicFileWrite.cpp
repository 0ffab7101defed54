#include "AtomicFileWrite.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
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
// + ".tmp-" + the writer's pid + "-" + a counter: hidden, ours by their shape, and their writer
// can be asked whether it still runs.
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

// The pid of a temporary of ours, or 0 for any other name.
pid_t writerOfTemporary (const std::string& name)
{
    const size_t mark = name.rfind (temporaryMark);
    if (name.size() < 2 || name[0] != '.' || mark == std::string::npos || mark < 2)
        return 0;
    const std::string rest = name.substr (mark + std::strlen (temporaryMark));
    const size_t dash = rest.find ('-');
    if (dash == std::string::npos || ! allDigits (rest.substr (0, dash)) || ! allDigits (rest.substr (dash + 1)))
        return 0;
    const long long pid = std::atoll (rest.substr (0, dash).c_str());
    return pid > 0 && pid <= INT_MAX ? static_cast<pid_t> (pid) : 0;
}

// Removes the temporaries that killed writers left in `folder`: only regular files of ours, of
// this user, whose writer no longer exists. A reused pid keeps its file, which errs on the safe side.
void removeStaleTemporaries (const std::string& folder)
{
    DIR* const listing = ::opendir (folder.c_str());
    if (listing == nullptr)
        return;
    const int saved = errno;
    while (const dirent* entry = ::readdir (listing))
    {
        const pid_t writer = writerOfTemporary (entry->d_name);
        if (writer == 0 || writer == getpid() || ::kill (writer, 0) == 0 || errno != ESRCH)
            continue;
        struct stat info
        {
        };
        if (::fstatat (::dirfd (listing), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG (info.st_mode) &&
            info.st_uid == ::geteuid())
            ::unlinkat (::dirfd (listing), entry->d_name, 0);
    }
    ::closedir (listing);
    errno = saved;
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

bool closeChecked (int descriptor, std::string& reason)
{
    if (::close (descriptor) != 0 && errno != EINTR)
    {
        reason = describeErrno (errno);
        return false;
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

// Writes the temporary of `pending` in full and flushes it; the descriptor is closed either way.
bool writeTemporary (PendingFile& pending, const std::string& target, const void* data, size_t size,
                     std::string& reason)
{
    const int descriptor = pending.open (reason);
    if (descriptor < 0)
        return false;

    // A replaced file keeps its permissions.
    struct stat existing
    {
    };
    if (stat (target.c_str(), &existing) == 0 && S_ISREG (existing.st_mode))
        ::fchmod (descriptor, existing.st_mode & 07777);

    const bool written = writeAll (descriptor, data, size, reason);
    const bool flushed = written && (::fsync (descriptor) == 0 || (reason = describeErrno (errno), false));
    const bool closed = closeChecked (descriptor, reason);
    return written && flushed && closed;
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

int PendingFile::open (std::string& reason)
{
    if (! isReplaceableFile (target, reason))
        return -1;
    const std::string folder = folderOf (target);
    removeStaleTemporaries (folder);
    const std::string prefix = folder + "/" + temporaryPrefix (nameOf (target)) + std::to_string (getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        const std::string candidate = prefix + std::to_string (temporaryCounter.fetch_add (1));
        const int descriptor = ::open (candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0)
        {
            temporary = candidate;
            return descriptor;
        }
        if (errno != EEXIST)
        {
            reason = describeErrno (errno);
            return -1;
        }
    }
    reason = describeErrno (EEXIST);
    return -1;
}

bool PendingFile::commit (std::string& reason)
{
    if (temporary.empty())
    {
        reason = "nothing was written";
        return false;
    }
    // Something else may have taken the name while the content was written.
    if (! isReplaceableFile (target, reason))
        return false;
    const int descriptor = ::open (temporary.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor >= 0)
    {
        const bool flushed = ::fsync (descriptor) == 0;
        const int error = errno;
        ::close (descriptor);
        if (! flushed)
        {
            reason = describeErrno (error);
            return false;
        }
    }
    if (std::rename (temporary.c_str(), target.c_str()) != 0)
    {
        reason = describeErrno (errno);
        return false;
    }
    committed = true;
    syncFolder (folderOf (target));
    return true;
}

void PendingFile::discard() noexcept
{
    if (! temporary.empty())
        ::unlink (temporary.c_str());
    temporary.clear();
}

bool replaceFileAtomically (const std::string& path, const void* data, size_t size, std::string& reason)
{
    PendingFile pending (path);
    return writeTemporary (pending, pending.targetPath(), data, size, reason) && pending.commit (reason);
}

bool createFileAtomically (const std::string& path, const void* data, size_t size, bool& created, std::string& reason)
{
    created = false;
    PendingFile pending (path);
    if (! writeTemporary (pending, path, data, size, reason))
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
