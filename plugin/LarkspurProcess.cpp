#include "JuceAAX_Processor.h"
#include "LarkspurProcessContext.h"

void larkspurProcess (void* const instancesBegin[], const void* instancesEnd)
{
    for (void* const* walk = instancesBegin; walk != static_cast<void* const*> (instancesEnd); ++walk)
    {
        auto* context = static_cast<LarkspurProcessContext*> (*walk);
        if (context == nullptr || context->instance == nullptr || *context->instance == nullptr)
            continue;

        const int numSamples = context->bufferLength != nullptr ? *context->bufferLength : 0;
        const bool hostBypass = context->bypass != nullptr && *context->bypass >= 0.5f;
        (*context->instance)->processBlock (context->inputChannels, context->outputChannels, numSamples, hostBypass);
    }
}
