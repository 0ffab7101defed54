#pragma once

#include "ReplacedFileAccess.h"

#include <cstddef>
#include <string>

/** Writes a whole file so that readers and crashes only ever see the old content or the new:
    the bytes go to a new temporary file in the same folder, are flushed to the disk, and the
    temporary is then renamed over the target. When anything fails (a full disk, a file-size
    limit, a folder in the way) the temporary is removed, the target is left as it was, and
    `reason` says why. A target that is a symbolic link to a regular file is written through the
    link, so the link stays. Only a regular file is ever replaced: a named pipe, device, socket or
    folder (or a link to one) is refused, and stays. A replaced file keeps its permission bits, its
    access control list, its group where the writer is in it and its owner where the writer may set it
    (as root). It never grants more than the old file did: a group that cannot be kept gets no access,
    a set-id bit goes with an owner or group not kept, and the temporary is made with the owner's bits
    alone and given its final access before any content, so no one else can open it earlier.

    The temporary is named "." + the target's name (shortened to keep within NAME_MAX) + ".tmp-" +
    the writer's pid + "-" + a counter, and its writer holds a lock on it (flock) from its making
    to its rename or removal. Each new temporary first removes the temporaries of the same target
    that a killed writer left: those whose pid is gone and whose lock is free, so that a live
    writer in another pid namespace or on another NFS client keeps its file.
*/
bool replaceFileAtomically (const std::string& path, const void* data, size_t size, std::string& reason);

/** As replaceFileAtomically, but never replaces: when the target exists already (made by another
    process meanwhile, say), it is left alone, the new content is dropped and `created` is false.
*/
bool createFileAtomically (const std::string& path, const void* data, size_t size, bool& created, std::string& reason);

/** Whether the writers here would replace `path`: true when it is a regular file, a link to one,
    or nothing yet; false with the reason for a named pipe, device, socket or folder, which they
    leave as they are. For refusing early, before long work whose result goes there. */
bool isReplaceableFile (const std::string& path, std::string& reason);

/** A temporary file beside `path` that becomes `path` only when committed; removed otherwise.
    For content that is written piece by piece by someone else (an audio writer, say).
*/
class PendingFile
{
public:
    explicit PendingFile (std::string targetPath);
    ~PendingFile();

    PendingFile (const PendingFile&) = delete;
    PendingFile& operator= (const PendingFile&) = delete;

    /** The file that commit() replaces: the target path, or the file it links to. */
    const std::string& targetPath() const noexcept { return target; }

    /** The temporary's path, once open() succeeded. */
    const std::string& temporaryPath() const noexcept { return temporary; }

    /** Creates the temporary file, locked for as long as it exists, with the access of the file it
        will replace (read once, here); false with `reason` set. For finding out before long work
        whether the target's folder takes a new file. */
    bool create (std::string& reason);

    /** create(), and a descriptor of the temporary, or -1 with `reason` set. The descriptor is the
        caller's to write to and to close before commit(). */
    int open (std::string& reason);

    /** create() when not done yet, then writes `data` as the temporary's whole content and flushes
        it. */
    bool fill (const void* data, size_t size, std::string& reason);

    /** Flushes the temporary to disk and checks that commit() can rename it: the temporary is still
        there under its name and the target is still a file the writers replace; false with
        `reason` otherwise. For committing several files together: each is checked before the
        first is renamed. */
    bool checkCommittable (std::string& reason);

    /** checkCommittable(), then renames the temporary over the target. */
    bool commit (std::string& reason);

    /** Removes the temporary (also done by the destructor unless committed). */
    void discard() noexcept;

private:
    std::string target;
    std::string temporary;
    // The temporary's own descriptor, which holds its lock until the rename or removal.
    int held = -1;
    bool committed = false;
    ReplacedFileAccess replaced;
};

/** The text of errno as a reason: "No space left on device". */
std::string describeErrno (int error);

/** Why a path of this st_mode cannot be taken as a file: "it is a named pipe, not a regular file". */
std::string describeFileKind (unsigned int mode);
