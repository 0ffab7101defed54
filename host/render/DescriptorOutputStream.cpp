#include "DescriptorOutputStream.h"

#include "AtomicFileWrite.h"

#include <cerrno>
#include <unistd.h>

DescriptorOutputStream::DescriptorOutputStream (int descriptorToUse, std::string& failureReason)
    : descriptor (descriptorToUse)
    , failure (failureReason)
{
}

void DescriptorOutputStream::fail (int error)
{
    if (failure.empty())
        failure = describeErrno (error);
}

bool DescriptorOutputStream::setPosition (juce::int64 position)
{
    if (::lseek (descriptor, static_cast<off_t> (position), SEEK_SET) < 0)
    {
        fail (errno);
        return false;
    }
    return true;
}

juce::int64 DescriptorOutputStream::getPosition()
{
    return static_cast<juce::int64> (::lseek (descriptor, 0, SEEK_CUR));
}

bool DescriptorOutputStream::write (const void* data, size_t numBytes)
{
    const auto* bytes = static_cast<const char*> (data);
    while (numBytes > 0)
    {
        const ssize_t written = ::write (descriptor, bytes, numBytes);
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            fail (errno);
            return false;
        }
        bytes += written;
        numBytes -= static_cast<size_t> (written);
    }
    return true;
}
