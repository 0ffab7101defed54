#include "HostProject.h"

#include "AtomicFileWrite.h"
#include "BoundedFileRead.h"

#include <algorithm>
#include <cstring>

namespace
{
constexpr char magic[4] = { 'L', 'K', 'P', 'J' };
constexpr size_t nameBytes = 32;
// Far beyond any chunk of this plug-in; guards against a damaged size field.
constexpr uint32_t maxChunkBytes = static_cast<uint32_t> (HostProject::maxFileBytes);
constexpr uint32_t maxChunks = 1024;

void putWord (std::vector<unsigned char>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back (static_cast<unsigned char> (value >> shift));
}

bool getWord (const unsigned char* in, size_t size, size_t& offset, uint32_t& value)
{
    if (offset > size || size - offset < 4)
        return false;
    value = 0;
    for (int byte = 0; byte < 4; ++byte)
        value |= static_cast<uint32_t> (in[offset + static_cast<size_t> (byte)]) << (8 * byte);
    offset += 4;
    return true;
}
} // namespace

std::vector<unsigned char> HostProject::serialise() const
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

    return bytes;
}

bool HostProject::save (const std::string& path, std::string& error) const
{
    PendingFile file (path);
    return write (file, path, error) && commit (file, path, error);
}

bool HostProject::write (PendingFile& file, const std::string& path, std::string& error) const
{
    const std::vector<unsigned char> bytes = serialise();
    std::string reason;
    if (! file.fill (bytes.data(), bytes.size(), reason) || ! file.checkCommittable (reason))
    {
        error = "cannot write project " + path + ": " + reason;
        return false;
    }
    return true;
}

bool HostProject::commit (PendingFile& file, const std::string& path, std::string& error)
{
    std::string reason;
    if (file.commit (reason))
        return true;
    error = "cannot write project " + path + ": " + reason;
    return false;
}

bool HostProject::load (const std::string& path, std::string& error)
{
    std::vector<unsigned char> bytes;
    std::string reason;
    if (! readRegularFile (path, maxFileBytes, bytes, reason))
    {
        error = "cannot read project " + path + ": " + reason;
        return false;
    }
    if (! parse (bytes.data(), bytes.size()))
    {
        error = path + " is not a Larkspur host project";
        return false;
    }
    return true;
}

bool HostProject::parse (const unsigned char* bytes, size_t size)
{
    if (bytes == nullptr || size < sizeof (magic) || std::memcmp (bytes, magic, sizeof (magic)) != 0)
        return false;

    size_t offset = sizeof (magic);
    uint32_t count = 0;
    if (! getWord (bytes, size, offset, count) || count > maxChunks)
        return false;

    std::vector<ProjectChunk> loaded;
    for (uint32_t index = 0; index < count; ++index)
    {
        ProjectChunk chunk;
        uint32_t version = 0;
        uint32_t chunkSize = 0;
        if (! getWord (bytes, size, offset, chunk.chunkId) || ! getWord (bytes, size, offset, version) ||
            size - offset < nameBytes)
            return false;
        chunk.version = static_cast<int32_t> (version);
        const char* name = reinterpret_cast<const char*> (bytes + offset);
        chunk.name.assign (name, strnlen (name, nameBytes));
        offset += nameBytes;
        if (! getWord (bytes, size, offset, chunkSize) || chunkSize > maxChunkBytes || size - offset < chunkSize)
            return false;
        chunk.data.assign (bytes + offset, bytes + offset + chunkSize);
        offset += chunkSize;
        loaded.push_back (std::move (chunk));
    }
    if (offset != size)
        return false;
    chunks = std::move (loaded);
    return true;
}
