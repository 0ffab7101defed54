#pragma once

#include <cstddef>
#include <string>
#include <vector>

/** Reads a whole file only when it is a regular file (a symbolic link to one is fine) of at most
    maxBytes. A FIFO, device, socket or folder is never read or waited on, and a file larger than
    the limit is never loaded; those answer false with `reason` saying what the path is. The checks
    are made on the opened file itself, so a file swapped in meanwhile cannot slip past them.
*/
bool readRegularFile (const std::string& path, size_t maxBytes, std::vector<unsigned char>& bytes, std::string& reason);

/** Whether the path names a file that exists and is empty (a zero-length regular file). */
bool isEmptyRegularFile (const std::string& path);

/** A short description of a size for messages: "16 MiB", "512 bytes". */
std::string describeSize (size_t bytes);
