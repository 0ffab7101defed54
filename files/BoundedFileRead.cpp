#include "BoundedFileRead.h"

#include "AtomicFileWrite.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::string describeSize (size_t bytes)
{
    constexpr size_t mebibyte = 1024 * 1024;
    if (bytes >= mebibyte && bytes % mebibyte == 0)
        return std::to_string (bytes / mebibyte) + " MiB";
    return std::to_string (bytes) + " bytes";
}

bool readRegularFile (const std::string& path, size_t maxBytes, std::vector<unsigned char>& bytes, std::string& reason)
{
    bytes.clear();
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
    const int descriptor = ::open (path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
    {
        reason = describeErrno (errno);
        return false;
    }

    struct stat info
    {
    };
    bool ok = true;
    if (::fstat (descriptor, &info) != 0)
    {
        reason = describeErrno (errno);
        ok = false;
    }
    else if (! S_ISREG (info.st_mode))
    {
        reason = describeFileKind (info.st_mode);
        ok = false;
    }
    else if (static_cast<unsigned long long> (info.st_size) > maxBytes)
    {
        reason = "it is larger than " + describeSize (maxBytes);
        ok = false;
    }

    if (ok)
    {
        bytes.resize (static_cast<size_t> (info.st_size));
        size_t filled = 0;
        // The file may grow while it is read: one byte past the limit is enough to tell.
        while (ok)
        {
            if (filled == bytes.size())
            {
                if (bytes.size() > maxBytes)
                {
                    reason = "it is larger than " + describeSize (maxBytes);
                    ok = false;
                    break;
                }
                bytes.resize (std::min (maxBytes + 1, std::max<size_t> (bytes.size() * 2, 4096)));
            }
            const ssize_t got = ::read (descriptor, bytes.data() + filled, bytes.size() - filled);
            if (got < 0)
            {
                if (errno == EINTR)
                    continue;
                reason = describeErrno (errno);
                ok = false;
            }
            else if (got == 0)
                break;
            else
                filled += static_cast<size_t> (got);
        }
        bytes.resize (ok ? filled : 0);
    }
    ::close (descriptor);
    return ok;
}

bool isEmptyRegularFile (const std::string& path)
{
    struct stat info
    {
    };
    return ::stat (path.c_str(), &info) == 0 && S_ISREG (info.st_mode) && info.st_size == 0;
}
