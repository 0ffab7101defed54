#include "HeldAudioLength.h"

#include <FLAC/stream_decoder.h>

#include <algorithm>
#include <memory>

namespace
{
struct FrameCount
{
    int64_t counted = 0;
    int64_t enough = 0;
};

FLAC__StreamDecoderWriteStatus countFrames (const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                            const FLAC__int32* const[], void* client)
{
    auto& count = *static_cast<FrameCount*> (client);
    count.counted += static_cast<int64_t> (frame->header.blocksize);
    // Past the claimed length nothing more needs decoding.
    return count.counted >= count.enough ? FLAC__STREAM_DECODER_WRITE_STATUS_ABORT
                                         : FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

// Damaged frames are skipped by the decoder and simply not counted.
void ignoreError (const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {}
} // namespace

int64_t heldFlacLength (const juce::File& file, int64_t declared)
{
    const std::unique_ptr<FLAC__StreamDecoder, decltype (&FLAC__stream_decoder_delete)> decoder (
        FLAC__stream_decoder_new(), &FLAC__stream_decoder_delete);
    if (decoder == nullptr)
        return 0;
    FrameCount count;
    count.enough = declared;
    if (FLAC__stream_decoder_init_file (decoder.get(), file.getFullPathName().toRawUTF8(), &countFrames, nullptr,
                                        &ignoreError, &count) != FLAC__STREAM_DECODER_INIT_STATUS_OK)
        return 0;
    FLAC__stream_decoder_process_until_end_of_stream (decoder.get());
    FLAC__stream_decoder_finish (decoder.get());
    return std::min (count.counted, declared);
}

int64_t heldWavLength (const WavLayout& layout, int64_t fileLength, int64_t declared)
{
    if (layout.blockAlign == 0 || fileLength <= layout.dataStart)
        return 0;
    return std::min ((fileLength - layout.dataStart) / layout.blockAlign, declared);
}
