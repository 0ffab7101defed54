#pragma once

#include "AAX.h"

#include <string>
#include <vector>

// One state chunk as the host keeps it in a project: type, version, name and data.
struct ProjectChunk
{
    AAX_CTypeID chunkId = 0;
    int32_t version = 0;
    std::string name;
    std::vector<unsigned char> data;
};

// The stand-in host's project: the chunks of one insert, saved to and loaded from a file.
// File: "LKPJ", a 32-bit count, then per chunk its type, version, 32-byte name, size and data,
// all integers little-endian.
struct HostProject
{
    std::vector<ProjectChunk> chunks;

    // False with a message when the file cannot be written.
    bool save (const std::string& path, std::string& error) const;
    // False with a message when the file cannot be read or is not a project.
    bool load (const std::string& path, std::string& error);
};
