// Reads arbitrary bytes as a host project. What is accepted must survive being written and read
// again, and a second writing must give the same bytes as the first.
#include "HostProject.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    HostProject project;
    if (! project.parse (data, size))
    {
        if (! project.chunks.empty())
            std::abort();
        return 0;
    }

    const auto written = project.serialise();
    HostProject again;
    if (! again.parse (written.data(), written.size()) || again.chunks.size() != project.chunks.size())
        std::abort();
    for (size_t i = 0; i < project.chunks.size(); ++i)
        if (again.chunks[i].chunkId != project.chunks[i].chunkId ||
            again.chunks[i].version != project.chunks[i].version || again.chunks[i].data != project.chunks[i].data)
            std::abort();
    if (again.serialise() != written)
        std::abort();
    return 0;
}
