#include "SystemCallShim.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace
{
bool recording = false;
std::vector<systemCallShim::Call> calls;
int renameError = 0;
int accessListError = 0;
int accessListReadError = 0;

template <typename Function>
Function* next (const char* name)
{
    return reinterpret_cast<Function*> (::dlsym (RTLD_NEXT, name));
}

std::string pathOf (int descriptor)
{
    char path[PATH_MAX];
    const std::string link = "/proc/self/fd/" + std::to_string (descriptor);
    const ssize_t length = ::readlink (link.c_str(), path, sizeof (path));
    return length > 0 ? std::string (path, static_cast<size_t> (length)) : std::string();
}
} // namespace

void systemCallShim::startRecording()
{
    calls.clear();
    recording = true;
}

std::vector<systemCallShim::Call> systemCallShim::stopRecording()
{
    recording = false;
    return std::move (calls);
}

void systemCallShim::failRenames (int error)
{
    renameError = error;
}

void systemCallShim::failAccessListChanges (int error)
{
    accessListError = error;
}

void systemCallShim::failAccessListReads (int error)
{
    accessListReadError = error;
}

extern "C" int open (const char* path, int flags, ...)
{
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE)
    {
        va_list arguments;
        va_start (arguments, flags);
        mode = static_cast<mode_t> (va_arg (arguments, unsigned int));
        va_end (arguments);
    }
    static auto* const real = next<int (const char*, int, ...)> ("open");
    const int descriptor = real (path, flags, mode);
    struct stat made
    {
    };
    if (recording && descriptor >= 0 && (flags & O_CREAT) != 0 && ::fstat (descriptor, &made) == 0)
        calls.push_back ({ "open", path, made.st_mode & 07777 });
    return descriptor;
}

extern "C" int fsync (int descriptor)
{
    if (recording)
        calls.push_back ({ "fsync", pathOf (descriptor) });
    static auto* const real = next<int (int)> ("fsync");
    return real (descriptor);
}

extern "C" int rename (const char* from, const char* to) noexcept
{
    if (recording)
        calls.push_back ({ "rename", from });
    if (renameError != 0)
    {
        errno = renameError;
        return -1;
    }
    static auto* const real = next<int (const char*, const char*)> ("rename");
    return real (from, to);
}

extern "C" int fsetxattr (int descriptor, const char* name, const void* value, size_t size, int flags) noexcept
{
    if (accessListError != 0)
    {
        errno = accessListError;
        return -1;
    }
    static auto* const real = next<int (int, const char*, const void*, size_t, int)> ("fsetxattr");
    return real (descriptor, name, value, size, flags);
}

extern "C" int fremovexattr (int descriptor, const char* name) noexcept
{
    if (accessListError != 0)
    {
        errno = accessListError;
        return -1;
    }
    static auto* const real = next<int (int, const char*)> ("fremovexattr");
    return real (descriptor, name);
}

extern "C" ssize_t getxattr (const char* path, const char* name, void* value, size_t size) noexcept
{
    if (accessListReadError != 0)
    {
        errno = accessListReadError;
        return -1;
    }
    static auto* const real = next<ssize_t (const char*, const char*, void*, size_t)> ("getxattr");
    return real (path, name, value, size);
}
