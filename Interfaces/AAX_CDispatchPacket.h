#pragma once

#include "AAX.h"

#include <vector>

/** Data bound to one field of the host's audio-algorithm context, refilled and posted to the host
    when it is dirty. */
class AAX_CDispatchPacket
{
public:
    /** A new packet is dirty, holds no data and has room for 8 bytes. */
    explicit AAX_CDispatchPacket (AAX_CFieldIndex fieldIndex);

    AAX_CFieldIndex FieldIndex() const noexcept { return mFieldIndex; }
    bool IsDirty() const noexcept { return mDirty; }
    void SetDirty (bool dirty) noexcept { mDirty = dirty; }

    uint32_t DataSize() const noexcept { return mDataSize; }
    const void* Data() const noexcept { return mData.data(); }
    /** Copies the bytes and sets the data size; sizes up to 8 bytes never allocate. */
    void SetData (const void* data, uint32_t size);

private:
    AAX_CFieldIndex mFieldIndex;
    bool mDirty = true;
    uint32_t mDataSize = 0;
    std::vector<unsigned char> mData;
};
