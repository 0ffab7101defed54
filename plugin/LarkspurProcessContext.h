#pragma once

#include "AAX.h"

#include <cstddef>
#include <cstdint>

struct LarkspurInstance;

// The context the host fills for every instance before each call of the process procedure. The
// host addresses its fields by index (the field's offset in pointer-sized words), so the order
// is fixed once registered.
struct LarkspurProcessContext
{
    float** inputChannels;       // audio in
    float** outputChannels;      // audio out
    int32_t* bufferLength;       // samples in this block
    int32_t* bypass;             // the host's master bypass (a data-in port)
    LarkspurInstance** instance; // private data: the effect instance this context belongs to
};

namespace LarkspurContextFields
{
constexpr AAX_CFieldIndex fieldOf (size_t offset)
{
    return static_cast<AAX_CFieldIndex> (offset / sizeof (void*));
}

constexpr AAX_CFieldIndex inputChannels = fieldOf (offsetof (LarkspurProcessContext, inputChannels));
constexpr AAX_CFieldIndex outputChannels = fieldOf (offsetof (LarkspurProcessContext, outputChannels));
constexpr AAX_CFieldIndex bufferLength = fieldOf (offsetof (LarkspurProcessContext, bufferLength));
constexpr AAX_CFieldIndex bypass = fieldOf (offsetof (LarkspurProcessContext, bypass));
constexpr AAX_CFieldIndex instance = fieldOf (offsetof (LarkspurProcessContext, instance));

// The bypass port carries one plain 32-bit word.
constexpr uint32_t bypassSize = sizeof (int32_t);
constexpr int32_t bypassPortType = 0;
constexpr int32_t instanceSize = sizeof (LarkspurInstance*);
constexpr uint32_t instanceOption = 0;
} // namespace LarkspurContextFields

// The native process procedure registered for every component.
void larkspurProcess (void* const instancesBegin[], const void* instancesEnd);
