#include "PluginLibrary.h"

#include "AtomicFileWrite.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
bool readAt (int descriptor, void* into, size_t size, uint64_t offset)
{
    return ::pread (descriptor, into, size, static_cast<off_t> (offset)) == static_cast<ssize_t> (size);
}

// Where an extent of `count` entries of `entrySize` bytes from `offset` ends; UINT64_MAX past that.
uint64_t endOf (uint64_t offset, uint64_t count, uint64_t entrySize)
{
    uint64_t bytes = 0;
    uint64_t end = 0;
    if (__builtin_mul_overflow (count, entrySize, &bytes) || __builtin_add_overflow (offset, bytes, &end))
        return UINT64_MAX;
    return end;
}

// The end of the last byte that an ELF library of this machine's class and byte order declares
// (section header table, program headers and the file extents of its segments), or 0 for any
// other file, which is left to dlopen's own message.
uint64_t declaredElfEnd (int descriptor)
{
    ElfW (Ehdr) header{};
    if (! readAt (descriptor, &header, sizeof (header), 0) || std::memcmp (header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != (__ELF_NATIVE_CLASS == 64 ? ELFCLASS64 : ELFCLASS32) ||
        header.e_ident[EI_DATA] != (__BYTE_ORDER == __LITTLE_ENDIAN ? ELFDATA2LSB : ELFDATA2MSB))
    {
        // Cut off inside the header itself, though it begins like one of ours.
        return readAt (descriptor, header.e_ident, SELFMAG, 0) && std::memcmp (header.e_ident, ELFMAG, SELFMAG) == 0
                   ? UINT64_MAX
                   : 0;
    }

    uint64_t end = std::max (endOf (header.e_shoff, header.e_shnum, header.e_shentsize),
                             endOf (header.e_phoff, header.e_phnum, header.e_phentsize));
    if (header.e_phentsize < sizeof (ElfW (Phdr)))
        return end;
    for (unsigned index = 0; index < header.e_phnum && end != UINT64_MAX; ++index)
    {
        ElfW (Phdr) segment{};
        if (! readAt (descriptor, &segment, sizeof (segment), header.e_phoff + uint64_t (index) * header.e_phentsize))
            return UINT64_MAX;
        end = std::max (end, endOf (segment.p_offset, 1, segment.p_filesz));
    }
    return end;
}

// dlopen waits for a writer on a named pipe, and maps a cut-off library only to end the process
// with SIGBUS when it touches the missing pages; both are refused here first.
bool checkLibraryFile (const std::string& path, std::string& reason)
{
    const int descriptor = ::open (path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
    {
        reason = describeErrno (errno);
        return false;
    }
    struct stat info
    {
    };
    bool ok = ::fstat (descriptor, &info) == 0;
    if (! ok)
        reason = describeErrno (errno);
    else if (! S_ISREG (info.st_mode))
    {
        reason = describeFileKind (info.st_mode);
        ok = false;
    }
    else if (const auto size = static_cast<uint64_t> (info.st_size); declaredElfEnd (descriptor) > size)
    {
        reason = "the file is shorter than its headers declare (" + std::to_string (size) +
                 " bytes): a cut-off or damaged copy";
        ok = false;
    }
    ::close (descriptor);
    return ok;
}

template <typename Function>
bool resolve (void* handle, const char* name, Function& function, std::string& error)
{
    dlerror();
    void* const symbol = dlsym (handle, name);
    if (symbol == nullptr)
    {
        error = std::string ("missing entry point ") + name;
        return false;
    }
    function = reinterpret_cast<Function> (symbol);
    return true;
}
} // namespace

PluginLibrary::PluginLibrary (void* libraryHandle) noexcept
    : handle (libraryHandle)
{
}

PluginLibrary::~PluginLibrary()
{
    if (handle != nullptr)
        dlclose (handle);
}

std::unique_ptr<PluginLibrary> PluginLibrary::open (const std::string& path, std::string& error)
{
    // The library is a file the user named, read as the kernel reads the name: a bare name is the
    // file in the working folder, as "./" makes it for dlopen, which would search its library path.
    const std::string file = path.find ('/') == std::string::npos ? "./" + path : path;
    if (std::string reason; ! checkLibraryFile (file, reason))
    {
        error = "cannot load " + path + ": " + reason;
        return nullptr;
    }

    void* const handle = dlopen (file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        const char* const reason = dlerror();
        error = "cannot load " + path + ": " + (reason != nullptr ? reason : "unknown error");
        return nullptr;
    }

    // The OpenMP runtime that the plug-in's resampler pulls in cannot be unloaded cleanly (its
    // start-up allocation is lost), so once loaded it stays, as in a host that keeps it resident.
    if (void* openMp = dlopen ("libgomp.so.1", RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE))
        dlclose (openMp);

    std::unique_ptr<PluginLibrary> library (new PluginLibrary (handle));
    EntryPoints& entries = library->entries;
    if (! resolve (handle, "ACFRegisterPlugin", entries.registerPlugin, error) ||
        ! resolve (handle, "ACFRegisterComponent", entries.registerComponent, error) ||
        ! resolve (handle, "ACFGetClassFactory", entries.getClassFactory, error) ||
        ! resolve (handle, "ACFCanUnloadNow", entries.canUnloadNow, error) ||
        ! resolve (handle, "ACFStartup", entries.startup, error) ||
        ! resolve (handle, "ACFShutdown", entries.shutdown, error) ||
        ! resolve (handle, "ACFGetSDKVersion", entries.getSDKVersion, error))
        return nullptr;
    return library;
}
