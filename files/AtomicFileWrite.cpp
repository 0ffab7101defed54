#include "AtomicFileWrite.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
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
// folder, say) survives; anything else is replaced where it is.
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
    const std::string prefix = folderOf (target) + "/." + nameOf (target) + ".tmp-" + std::to_string (getpid()) + "-";
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
