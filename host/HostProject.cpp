#include "HostProject.h"

#include <cstring>
#include <fstream>

namespace
{
constexpr char magic[4] = { 'L', 'K', 'P', 'J' };
constexpr size_t nameBytes = 32;
// Far beyond any chunk of this plug-in; guards against a damaged size field.
constexpr uint32_t maxChunkBytes = 64u * 1024u * 1024u;
constexpr uint32_t maxChunks = 1024;

void putWord (std::vector<unsigned char>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back (static_cast<unsigned char> (value >> shift));
}

bool getWord (const std::vector<unsigned char>& in, size_t& offset, uint32_t& value)
{
    if (offset > in.size() || in.size() - offset < 4)
        return false;
    value = 0;
    for (int byte = 0; byte < 4; ++byte)
        value |= static_cast<uint32_t> (in[offset + static_cast<size_t> (byte)]) << (8 * byte);
    offset += 4;
    return true;
}
} // namespace

bool HostProject::save (const std::string& path, std::string& error) const
{
    std::vector<unsigned char> bytes (magic, magic + sizeof (magic));
    putWord (bytes, static_cast<uint32_t> (chunks.size()));
    for (const ProjectChunk& chunk : chunks)
    {
        putWord (bytes, chunk.chunkId);
        putWord (bytes, static_cast<uint32_t> (chunk.version));
        char name[nameBytes] = {};
        std::memcpy (name, chunk.name.data(), std::min (chunk.name.size(), nameBytes - 1));
        bytes.insert (bytes.end(), name, name + nameBytes);
        putWord (bytes, static_cast<uint32_t> (chunk.data.size()));
        bytes.insert (bytes.end(), chunk.data.begin(), chunk.data.end());
    }

    std::ofstream file (path, std::ios::binary | std::ios::trunc);
    file.write (reinterpret_cast<const char*> (bytes.data()), static_cast<std::streamsize> (bytes.size()));
    file.close();
    if (! file)
    {
        error = "cannot write project " + path;
        return false;
    }
    return true;
}

bool HostProject::load (const std::string& path, std::string& error)
{
    std::ifstream file (path, std::ios::binary);
    if (! file)
    {
        error = "cannot read project " + path;
        return false;
    }
    const std::vector<unsigned char> bytes ((std::istreambuf_iterator<char> (file)), std::istreambuf_iterator<char>());

    const auto damaged = [&error, &path]
    {
        error = path + " is not a Larkspur host project";
        return false;
    };
    if (bytes.size() < sizeof (magic) || std::memcmp (bytes.data(), magic, sizeof (magic)) != 0)
        return damaged();

    size_t offset = sizeof (magic);
    uint32_t count = 0;
    if (! getWord (bytes, offset, count) || count > maxChunks)
        return damaged();

    std::vector<ProjectChunk> loaded;
    for (uint32_t index = 0; index < count; ++index)
    {
        ProjectChunk chunk;
        uint32_t version = 0;
        uint32_t size = 0;
        if (! getWord (bytes, offset, chunk.chunkId) || ! getWord (bytes, offset, version) ||
            bytes.size() - offset < nameBytes)
            return damaged();
        chunk.version = static_cast<int32_t> (version);
        const char* name = reinterpret_cast<const char*> (bytes.data() + offset);
        chunk.name.assign (name, strnlen (name, nameBytes));
        offset += nameBytes;
        if (! getWord (bytes, offset, size) || size > maxChunkBytes || bytes.size() - offset < size)
            return damaged();
        chunk.data.assign (bytes.begin() + static_cast<std::ptrdiff_t> (offset),
                           bytes.begin() + static_cast<std::ptrdiff_t> (offset + size));
        offset += size;
        loaded.push_back (std::move (chunk));
    }
    if (offset != bytes.size())
        return damaged();
    chunks = std::move (loaded);
    return true;
}
