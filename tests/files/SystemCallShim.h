#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

/** The test binary's own open, fsync, rename, getxattr, fsetxattr and fremovexattr, which the writer under test
    calls in place of the C library's: each passes the call on, and while a test asks, notes it or
    fails it instead. */
namespace systemCallShim
{
struct Call
{
    std::string name; // "open" (files it creates only), "fsync" or "rename"
    std::string path; // the file opened, flushed, or renamed from
    mode_t mode = 0;  // a created file's mode as it was made
};

void startRecording();
std::vector<Call> stopRecording();

/** Makes every rename fail with `error` (0: pass them on again). */
void failRenames (int error);

/** Makes every change of a file's access control list fail with `error` (0: pass them on again). */
void failAccessListChanges (int error);

/** Makes every read of a file's extended attributes fail with `error` (0: pass them on again). */
void failAccessListReads (int error);
} // namespace systemCallShim
