// The wrapper's two chunks: the base's controls-state chunk at index 0 and the processor's state
// block, 'juce', at index 1.

#include "AAX_ChunkRecord.h"
#include "AAX_Errors.h"
#include "JuceAAX_Processor.h"

#include <cstring>

namespace AAXClasses
{
AAX_Result JuceAAX_Processor::ChunkCount (int32_t* count) const
{
    if (count == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    *count = 2;
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_Processor::ChunkIdAtIndex (int32_t index, AAX_CTypeID* chunkId) const
{
    if (chunkId != nullptr && index == 1)
    {
        *chunkId = stateChunkId;
        return AAX_SUCCESS;
    }
    return AAX_CEffectParameters::ChunkIdAtIndex (index, chunkId);
}

AAX_Result JuceAAX_Processor::ChunkSizeForId (AAX_CTypeID chunkId, uint32_t* size)
{
    if (chunkId != stateChunkId)
        return AAX_CEffectParameters::ChunkSizeForId (chunkId, size);
    if (size == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;

    // The block is kept until it is written, so the host receives exactly what it was told.
    announcedState.reset();
    processor->getStateInformation (announcedState);
    stateAnnounced = true;
    *size = static_cast<uint32_t> (announcedState.getSize());
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_Processor::WriteChunk (AAX_CTypeID chunkId, ChunkRecord* chunk)
{
    if (chunkId != stateChunkId)
        return AAX_CEffectParameters::WriteChunk (chunkId, chunk);
    if (chunk == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    // The host must ask for the size first, as for the controls-state chunk.
    if (! stateAnnounced)
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;

    chunk->size = static_cast<int32_t> (announcedState.getSize());
    if (announcedState.getSize() > 0)
        std::memcpy (ChunkRecordData (chunk), announcedState.getData(), announcedState.getSize());
    stateAnnounced = false;
    announcedState.reset();
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_Processor::ApplyChunk (AAX_CTypeID chunkId, const ChunkRecord* chunk)
{
    if (chunkId != stateChunkId)
        return AAX_CEffectParameters::ApplyChunk (chunkId, chunk);
    if (chunk == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    if (chunk->size < 0)
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;

    // A block the processor does not accept leaves its state as it was. The load takes no lock
    // that the audio thread waits for: the parameters it changes are read there without one.
    processor->setStateInformation (ChunkRecordData (chunk), chunk->size);
    pushValuesToHost();
    return AAX_SUCCESS;
}

void JuceAAX_Processor::pushValuesToHost()
{
    for (size_t i = 0; i < parameters.size(); ++i)
        SetParameterNormalizedValue (parameterIds[i].c_str(), parameters[i]->getValue());
}
} // namespace AAXClasses
