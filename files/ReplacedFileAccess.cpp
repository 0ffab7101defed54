#include "ReplacedFileAccess.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace
{
// The access control list in its raw form, without libacl: a little-endian 32-bit version (2), then
// entries of a 16-bit tag, 16-bit permissions and a 32-bit id.
constexpr const char* accessListName = "system.posix_acl_access";
constexpr size_t listHeaderSize = 4;
constexpr size_t listEntrySize = 8;
constexpr unsigned listVersion = 2;
constexpr unsigned owningGroupTag = 0x04;

bool withoutListsHere (int error)
{
#if ENOTSUP != EOPNOTSUPP
    if (error == EOPNOTSUPP)
        return true;
#endif
    return error == ENOTSUP;
}

unsigned littleEndianAt (const std::string& bytes, size_t at, size_t size)
{
    unsigned value = 0;
    for (size_t i = size; i-- > 0;)
        value = (value << 8) | static_cast<unsigned char> (bytes[at + i]);
    return value;
}

// The file's list, empty when it has none or the file system keeps none; false with errno set.
bool readAccessList (const std::string& path, std::string& list)
{
    list.clear();
    // The list may grow between asking its size and reading it.
    for (int attempt = 0; attempt < 8; ++attempt)
    {
        const ssize_t size = ::getxattr (path.c_str(), accessListName, nullptr, 0);
        if (size < 0)
            return errno == ENODATA || withoutListsHere (errno);
        list.resize (static_cast<size_t> (size));
        const ssize_t read = ::getxattr (path.c_str(), accessListName, list.data(), list.size());
        if (read >= 0)
        {
            list.resize (static_cast<size_t> (read));
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
    return false;
}

// The owning group's entry grants nothing, for a file whose group became another. Named entries and
// the mask stay: they name the same users and groups as before. (The kernel gives only lists of this
// form; the check keeps an unknown one from being taken apart wrongly.)
bool withdrawOwningGroup (std::string& list)
{
    if (list.size() < listHeaderSize || (list.size() - listHeaderSize) % listEntrySize != 0 ||
        littleEndianAt (list, 0, 4) != listVersion)
        return false;
    for (size_t at = listHeaderSize; at < list.size(); at += listEntrySize)
        if (littleEndianAt (list, at, 2) == owningGroupTag)
            list[at + 2] = list[at + 3] = 0;
    return true;
}

std::string becauseOf (int error)
{
    return std::string (" (") + std::strerror (error) + ")";
}
} // namespace

bool ReplacedFileAccess::read (const std::string& path, std::string& reason)
{
    found = false;
    struct stat existing
    {
    };
    if (::stat (path.c_str(), &existing) != 0 || ! S_ISREG (existing.st_mode))
        return true;
    if (! readAccessList (path, accessList))
    {
        reason = "the access control list of the file it replaces cannot be read" + becauseOf (errno);
        return false;
    }
    found = true;
    owner = existing.st_uid;
    group = existing.st_gid;
    mode = existing.st_mode & 07777;
    return true;
}

mode_t ReplacedFileAccess::creationMode() const noexcept
{
    return found ? mode & 0700 : 0666;
}

bool ReplacedFileAccess::grantTo (int descriptor, std::string& reason)
{
    if (! found)
        return true;
    // The owner only where this writer may give files away (as root), the group where the user is in it.
    if (::fchown (descriptor, owner, group) != 0)
        (void) ::fchown (descriptor, static_cast<uid_t> (-1), group);
    struct stat made
    {
    };
    // Of a descriptor just opened, only an I/O error fails this: no test reaches it.
    if (::fstat (descriptor, &made) != 0)
    {
        reason = std::strerror (errno);
        return false;
    }
    ownerKept = made.st_uid == owner;
    groupKept = made.st_gid == group;

    // Also replaces or removes a list the folder's default list gave the new file.
    std::string list = accessList;
    if (! list.empty() && ! groupKept && ! withdrawOwningGroup (list))
    {
        reason = "the access control list of the file it replaces is of an unknown form";
        return false;
    }
    const int done = list.empty() ? ::fremovexattr (descriptor, accessListName)
                                  : ::fsetxattr (descriptor, accessListName, list.data(), list.size(), 0);
    if (done != 0 && errno != ENODATA && ! withoutListsHere (errno))
    {
        reason = std::string ("the access control list of the file it replaces cannot be ") +
                 (list.empty() ? "kept off its temporary" : "copied to its temporary") + becauseOf (errno);
        return false;
    }
    listCopied = done == 0 && ! list.empty();
    // A failure leaves the file with the owner's bits alone: narrower than the old, never wider.
    (void) ::fchmod (descriptor, permissionBits());
    return true;
}

void ReplacedFileAccess::grantSetIdBitsTo (int descriptor) const noexcept
{
    if (! found)
        return;
    // A set-id bit never names another user or group than it did.
    mode_t bits = permissionBits() | (mode & S_ISVTX);
    if (ownerKept)
        bits |= mode & S_ISUID;
    if (groupKept)
        bits |= mode & S_ISGID;
    (void) ::fchmod (descriptor, bits);
}

mode_t ReplacedFileAccess::permissionBits() const noexcept
{
    // With a list the group bits are its mask, which its named entries still need; the owning
    // group's entry was withdrawn instead.
    if (! groupKept && ! listCopied)
        return mode & 0707;
    return mode & 0777;
}
