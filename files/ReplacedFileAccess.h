#pragma once

#include <string>

#include <sys/types.h>

/** Who may use a file that a new one replaces: its owner, group, permission bits and access control
    list, read once before the new file is made and given to it step by step, so that the new file
    never grants anyone more than the old one did, at no moment. What the writer cannot keep is
    narrowed, never widened: a group it cannot keep gets no access, and a set-id bit goes with the
    owner or group it would name.
*/
class ReplacedFileAccess
{
public:
    /** Reads the access of the regular file at `path`; nothing there (or no regular file) is nothing
        to replace. False with `reason` when the file's access control list cannot be read. */
    bool read (const std::string& path, std::string& reason);

    /** Whether read() found a file to replace. */
    bool replaces() const noexcept { return found; }

    /** The mode to create the new file with: the owner's bits alone when replacing, so that no one
        else can open it before it has its final access; 0666 (less the umask) for a new file. */
    mode_t creationMode() const noexcept;

    /** Gives the new, still empty file the old one's owner and group as far as they can be kept, then
        its access control list (or none), then its permission bits but the set-id ones. False with
        `reason` when the list can be neither copied nor removed, since the file might then grant more. */
    bool grantTo (int descriptor, std::string& reason);

    /** The set-id bits as well, once the content is written (a write clears them). */
    void grantSetIdBitsTo (int descriptor) const noexcept;

private:
    mode_t permissionBits() const noexcept;

    // Set by read, which every use follows.
    bool found = false;
    uid_t owner = 0;
    gid_t group = 0;
    mode_t mode = 0;
    // "system.posix_acl_access" as the kernel gives it; empty when the file has none.
    std::string accessList;
    // Set by grantTo, which every use follows.
    bool ownerKept = false;
    bool groupKept = false;
    bool listCopied = false;
};
