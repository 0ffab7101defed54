#include "AAX_CDispatchPacket.h"

#include <cstring>

AAX_CDispatchPacket::AAX_CDispatchPacket (AAX_CFieldIndex fieldIndex)
    : mFieldIndex (fieldIndex)
    , mData (8, 0)
{
}

void AAX_CDispatchPacket::SetData (const void* data, uint32_t size)
{
    mData.resize (size);
    if (size != 0)
        std::memcpy (mData.data(), data, size);
    mDataSize = size;
}
