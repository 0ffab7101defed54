#pragma once

#include "AAX.h"

#include <cstddef>
#include <cstdint>

namespace AAXClasses
{
class JuceAAX_Processor;
}

/** The context the host fills for every instance before each call of the process procedure. The
    host addresses its fields by index (the field's offset in pointer-sized words), so the order
    is fixed once registered. */
struct LarkspurProcessContext
{
    float** inputChannels;                    // audio in
    float** outputChannels;                   // audio out
    int32_t* bufferLength;                    // samples in this block
    float* bypass;                            // the host's master bypass as posted: the parameter's 4-byte float
    AAXClasses::JuceAAX_Processor** instance; // private data: the effect instance of this context
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

/** The bypass port carries one 32-bit float. */
constexpr uint32_t bypassSize = sizeof (float);
constexpr int32_t bypassPortType = 0;
constexpr int32_t instanceSize = sizeof (AAXClasses::JuceAAX_Processor*);
constexpr uint32_t instanceOption = 0;
} // namespace LarkspurContextFields

/** The native process procedure registered for every component. */
void larkspurProcess (void* const instancesBegin[], const void* instancesEnd);
