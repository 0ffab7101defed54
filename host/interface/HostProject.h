#pragma once

#include "AAX.h"

#include <string>
#include <vector>

class PendingFile;

/** One state chunk as the host keeps it in a project: type, version, name and data. */
struct ProjectChunk
{
    AAX_CTypeID chunkId = 0;
    int32_t version = 0;
    std::string name;
    std::vector<unsigned char> data;
};

/** The stand-in host's project: the chunks of one insert, saved to and loaded from a file.
    File: "LKPJ", a 32-bit count, then per chunk its type, version, 32-byte name, size and data,
    all integers little-endian. */
struct HostProject
{
    std::vector<ProjectChunk> chunks;

    /** Far beyond any project of this plug-in; a larger file is refused unread. */
    static constexpr size_t maxFileBytes = 64u * 1024u * 1024u;

    /** Writes a temporary file beside `path` and renames it over the file, so an existing project
        survives a failed save. False with a message naming the file and the reason. */
    bool save (const std::string& path, std::string& error) const;
    /** Writes the file whole into a temporary made beforehand (PendingFile::create), when the
        folder's taking the file must be known before long work, and checks that it can be renamed
        into place, without renaming it: commit() does, once whatever is saved with it (a render's
        output) is in place. `path` names the file in the message. */
    bool write (PendingFile& file, const std::string& path, std::string& error) const;
    /** Renames a temporary that write() filled into place; false with a message naming `path`. */
    static bool commit (PendingFile& file, const std::string& path, std::string& error);
    /** Reads a regular file of at most maxFileBytes; false with a message when the file cannot be
        read (a folder, a pipe, a device, too large) or is not a project. */
    bool load (const std::string& path, std::string& error);

    /** The file's bytes, and the reverse; `parse` leaves the chunks alone when it fails. */
    std::vector<unsigned char> serialise() const;
    bool parse (const unsigned char* data, size_t size);
};
