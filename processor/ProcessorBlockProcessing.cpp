// Block processing: input level and saturation, encoding into the pair of signals both processing
// channels receive, three convolution bands per processing channel, routing, output gain with
// phase and level compensation, and the peak guard.
#include "ConvolutionEqAudioProcessor.h"

#include "ProcessingBuffers.h"

#include <cmath>
#include <iterator>

namespace
{
constexpr float twoOverPi = 0.63661975f;

bool isOn (float switchValue) noexcept
{
    return switchValue != 0.0f;
}

// Band levels in dB, each in the precision its calibration was made with: band 1 carries a quarter
// of the band gain on top of its trim, band 2 only its trim less 3 dB, band 3 both.
float bandGainFactor (int band, float bandGainDb, float trimDb) noexcept
{
    if (band == 1)
    {
        const double level = (double) bandGainDb * 0.25 + (double) trimDb;
        return level > -100.0 ? (float) std::pow (10.0, level * 0.05) : 0.0f;
    }

    if (band == 2)
    {
        const float level = trimDb - 3.0f;
        return level > -100.0f ? std::pow (10.0f, level * 0.05f) : 0.0f;
    }

    const double level = (double) (trimDb - 3.0f) + (double) bandGainDb * 0.25;
    return level > -100.0 ? (float) std::pow (10.0, level * 0.05) : 0.0f;
}

float outputGainFactor (float gainDb, bool invertPhase, float compensationDb) noexcept
{
    const double level = (double) gainDb + (double) compensationDb;
    const double magnitude = level > -100.0 ? std::pow (10.0, level * 0.05) : 0.0;
    return (float) (invertPhase ? -magnitude : magnitude);
}

// outputGainFactor, computed again only when one of its inputs has changed since the last block.
float outputGainFactor (ProcessingBuffers::OutputFactor& cached, float gainDb, bool invertPhase,
                        float compensationDb) noexcept
{
    if (! (cached.gainDb == gainDb && cached.invert == invertPhase && cached.compensationDb == compensationDb))
        cached = { gainDb, invertPhase, compensationDb, outputGainFactor (gainDb, invertPhase, compensationDb) };
    return cached.factor;
}

void replaceNonFiniteSamples (float* samples, int numSamples) noexcept
{
    for (int i = 0; i < numSamples; ++i)
        if (! std::isfinite (samples[i]))
            samples[i] = 0.0f;
}

// The largest absolute sample; NaN when any sample is NaN.
float peakOf (const float* const* channels, int numChannels, int numSamples) noexcept
{
    float peak = 0.0f;
    for (int ch = 0; ch < numChannels; ++ch)
        for (int i = 0; i < numSamples; ++i)
        {
            const float magnitude = std::abs (channels[ch][i]);
            if (! (magnitude <= peak))
                peak = magnitude;
        }
    return peak;
}

// One output channel: first + second, or first - second; a missing term is silence.
void writeTerms (float* out, const float* first, const float* second, bool subtractSecond, int numSamples) noexcept
{
    using FVO = juce::FloatVectorOperations;

    if (first != nullptr && second != nullptr)
    {
        if (subtractSecond)
            FVO::subtract (out, first, second, numSamples);
        else
            FVO::add (out, first, second, numSamples);
    }
    else if (first != nullptr)
    {
        FVO::copy (out, first, numSamples);
    }
    else if (second != nullptr)
    {
        if (subtractSecond)
            FVO::negate (out, second, numSamples);
        else
            FVO::copy (out, second, numSamples);
    }
    else
    {
        FVO::clear (out, numSamples);
    }
}
} // namespace

// The parameter values of one block, read once so that every step of the block agrees on them.
struct ConvolutionEqAudioProcessor::BlockSettings
{
    float inputLevel = 0.0f;
    bool processL = false, processR = false, processM = false, processS = false, processA = false;
    bool linkMSLR = false, solo = false, solo1 = false, solo2 = false;
    float gain = 0.0f, gainL = 0.0f, gainR = 0.0f;
    bool phase = false, phaseL = false, phaseR = false;
    bool active[2][3] = {};
    float bandGain[2][3] = {}, trim[2][3] = {};
    float levelCompensation = 0.0f;

    bool midSide() const noexcept { return processM || processS; }
    bool leftRight() const noexcept { return processL || processR; }

    Routing routing (bool stereo) const noexcept;
};

// What each output channel is made of, resolved once per block from the channel-mode switches in
// their order of precedence. The unprocessed mid, side, x0 and x1 are the encoded pair, which
// encoding made of the same kind as the branch taken here.
struct ConvolutionEqAudioProcessor::Routing
{
    enum class Term
    {
        none,
        sum1First,     // processing channel 1's band sum of the first encoded signal
        sum1Second,    // processing channel 1's band sum of the second
        sum2Second,    // processing channel 2's band sum of the second
        encodedFirst,  // the first encoded signal, unprocessed
        encodedSecond, // the second, unprocessed
    };

    bool stereo = false;
    Term leftFirst = Term::none, leftSecond = Term::none, rightFirst = Term::none, rightSecond = Term::none;
    bool subtractRight = false;

    /** The band sums that the terms take, [processing channel - 1][encoded signal]; no other is formed. */
    bool heard[2][2] = {};
};

ConvolutionEqAudioProcessor::Routing ConvolutionEqAudioProcessor::BlockSettings::routing (bool isStereo) const noexcept
{
    using Term = Routing::Term;
    Routing r;
    r.stereo = isStereo;
    auto gated = [] (bool on, Term term) { return on ? term : Term::none; };

    if (! isStereo)
        r.leftFirst = gated (solo, Term::sum1First);
    else if (linkMSLR && midSide())
    {
        if (solo1 && solo2)
        {
            r.leftFirst = r.rightFirst = Term::sum1First;
            r.leftSecond = r.rightSecond = Term::sum2Second;
            r.subtractRight = true;
        }
        else if (solo1 || solo2)
        {
            r.leftFirst = r.rightFirst = solo1 ? Term::sum1First : Term::sum2Second;
        }
    }
    else if (linkMSLR && leftRight())
    {
        r.leftFirst = gated (solo1, Term::sum1First);
        r.rightFirst = gated (solo2, Term::sum2Second);
    }
    else if (! linkMSLR && processM)
    {
        r.leftFirst = r.rightFirst = gated (solo1, Term::sum1First);
        r.leftSecond = r.rightSecond = gated (solo2, Term::encodedSecond); // side
        r.subtractRight = true;
    }
    else if (! linkMSLR && processS)
    {
        r.leftFirst = r.rightFirst = gated (solo1, Term::encodedFirst); // mid
        r.leftSecond = r.rightSecond = gated (solo2, Term::sum2Second);
        r.subtractRight = true;
    }
    else if (! linkMSLR && processL)
    {
        r.leftFirst = gated (solo1, Term::sum1First);
        r.rightFirst = gated (solo2, Term::encodedSecond); // x1
    }
    else if (! linkMSLR && processR)
    {
        r.leftFirst = gated (solo1, Term::encodedFirst); // x0
        r.rightFirst = gated (solo2, Term::sum2Second);
    }
    else if (processA)
    {
        r.leftFirst = gated (solo1, Term::sum1First);
        r.rightFirst = gated (solo2, Term::sum1Second);
    }

    for (const Term term : { r.leftFirst, r.leftSecond, r.rightFirst, r.rightSecond })
    {
        if (term == Term::sum1First)
            r.heard[0][0] = true;
        else if (term == Term::sum1Second)
            r.heard[0][1] = true;
        else if (term == Term::sum2Second)
            r.heard[1][1] = true;
    }
    return r;
}

ConvolutionEqAudioProcessor::BlockSettings ConvolutionEqAudioProcessor::readBlockSettings() const noexcept
{
    BlockSettings s;
    s.inputLevel = currentValue (CachedValue::inputLevel);
    s.processL = isOn (currentValue (CachedValue::processL));
    s.processR = isOn (currentValue (CachedValue::processR));
    s.processM = isOn (currentValue (CachedValue::processM));
    s.processS = isOn (currentValue (CachedValue::processS));
    s.processA = isOn (currentValue (CachedValue::processA));
    s.linkMSLR = isOn (currentValue (CachedValue::linkMSLR));
    s.solo = isOn (currentValue (CachedValue::solo));
    s.solo1 = isOn (currentValue (CachedValue::solo1));
    s.solo2 = isOn (currentValue (CachedValue::solo2));
    s.gain = currentValue (CachedValue::gain);
    s.gainL = currentValue (CachedValue::gainL);
    s.gainR = currentValue (CachedValue::gainR);
    s.phase = isOn (currentValue (CachedValue::phase));
    s.phaseL = isOn (currentValue (CachedValue::phaseL));
    s.phaseR = isOn (currentValue (CachedValue::phaseR));

    for (int channel = 1; channel <= 2; ++channel)
        for (int band = 1; band <= 3; ++band)
        {
            s.active[channel - 1][band - 1] = isOn (currentBandValue (BandValue::active, channel, band));
            s.bandGain[channel - 1][band - 1] = currentBandValue (BandValue::gain, channel, band);
            s.trim[channel - 1][band - 1] = currentBandValue (BandValue::trim, channel, band);
        }

    s.levelCompensation = getLevelCompensation();
    return s;
}

// JUCE holds the callback lock for the whole call, which keeps preparation from replacing
// the convolver sets and working buffers under it.
void ConvolutionEqAudioProcessor::processBlock (juce::AudioBuffer<float>& block, juce::MidiBuffer&)
{
    const juce::ScopedNoDenormals noDenormals;
#if defined(LARKSPUR_TEST_PLANT_AUDIO_ALLOCATION) // a test-only build's fault, which validate must catch
    char* volatile planted = new char[64];
    delete[] planted;
#endif

    const int numChannels = block.getNumChannels();
    const int numSamples = block.getNumSamples();

    for (int ch = getTotalNumInputChannels(); ch < juce::jmin (getTotalNumOutputChannels(), numChannels); ++ch)
        block.clear (ch, 0, numSamples);

    if (isOn (currentValue (CachedValue::bypass)))
        return;

    if (numChannels < 1 || numSamples < 1)
        return;

    // A NaN or infinity would reach the output through the unprocessed routing terms, and the peak
    // guard cannot catch it.
    for (int ch = 0; ch < numChannels; ++ch)
        replaceNonFiniteSamples (block.getWritePointer (ch), numSamples);

    // JUCE prepares again before a block longer than prepared; should one come anyway, it
    // goes through in segments of the prepared length rather than outgrow the working buffers.
    const int capacity = buffers->capacity;
    for (int start = 0; start < numSamples; start += capacity)
        processSegment (block, start, juce::jmin (capacity, numSamples - start));
}

void ConvolutionEqAudioProcessor::processSegment (juce::AudioBuffer<float>& block, int startSample, int numSamples)
{
    const int numChannels = block.getNumChannels();
    float* channels[16] = {};
    const int numPointers = juce::jmin (numChannels, (int) std::size (channels));
    for (int ch = 0; ch < numPointers; ++ch)
        channels[ch] = block.getWritePointer (ch, startSample);

    // A block of exactly two channels takes the stereo path, any other the mono path.
    const bool stereo = numChannels == 2;
    const auto settings = readBlockSettings();
    const auto routing = settings.routing (stereo);

    applyInputStage (channels, numPointers, numSamples, settings.inputLevel);
    encode (channels, stereo, settings, numSamples);
    runBands (stereo ? 2 : 1, numSamples, settings, routing);
    route (channels, routing, numSamples);
    if (! stereo)
        for (int ch = 1; ch < numChannels; ++ch)
            block.clear (ch, startSample, numSamples);
    applyOutputGain (channels, numPointers, settings, numSamples);
    guardPeaks (channels, numPointers, numSamples);
}

void ConvolutionEqAudioProcessor::encode (const float* const* channels, bool stereo, const BlockSettings& settings,
                                          int numSamples) noexcept
{
    using FVO = juce::FloatVectorOperations;

    float* e0 = buffers->encoded.getWritePointer (0);
    float* e1 = buffers->encoded.getWritePointer (1);

    if (! stereo)
        FVO::copy (e0, channels[0], numSamples);
    else if (settings.midSide())
    {
        FVO::add (e0, channels[0], channels[1], numSamples);
        FVO::multiply (e0, 0.5f, numSamples);
        FVO::subtract (e1, channels[0], channels[1], numSamples);
        FVO::multiply (e1, 0.5f, numSamples);
    }
    else if (settings.leftRight() || settings.processA)
    {
        FVO::copy (e0, channels[0], numSamples);
        FVO::copy (e1, channels[1], numSamples);
    }
    else
    {
        FVO::clear (e0, numSamples);
        FVO::clear (e1, numSamples);
    }
}

// Straight into the block: every term lives in the working buffers.
void ConvolutionEqAudioProcessor::route (float* const* channels, const Routing& routing, int numSamples) const noexcept
{
    auto source = [this] (Routing::Term term) -> const float*
    {
        switch (term)
        {
            case Routing::Term::sum1First:
                return buffers->sums[0].getReadPointer (0);
            case Routing::Term::sum1Second:
                return buffers->sums[0].getReadPointer (1);
            case Routing::Term::sum2Second:
                return buffers->sums[1].getReadPointer (1);
            case Routing::Term::encodedFirst:
                return buffers->encoded.getReadPointer (0);
            case Routing::Term::encodedSecond:
                return buffers->encoded.getReadPointer (1);
            case Routing::Term::none:
                break;
        }
        return nullptr;
    };

    writeTerms (channels[0], source (routing.leftFirst), source (routing.leftSecond), false, numSamples);
    if (routing.stereo)
        writeTerms (channels[1], source (routing.rightFirst), source (routing.rightSecond), routing.subtractRight,
                    numSamples);
}

// Output gain, phase and level compensation.
void ConvolutionEqAudioProcessor::applyOutputGain (float* const* channels, int numChannels,
                                                   const BlockSettings& settings, int numSamples) noexcept
{
    using FVO = juce::FloatVectorOperations;

    if (mainOutputMono.load (std::memory_order_relaxed))
    {
        const float factor =
            outputGainFactor (buffers->outputFactors[0], settings.gain, settings.phase, settings.levelCompensation);
        for (int ch = 0; ch < numChannels; ++ch)
            FVO::multiply (channels[ch], factor, numSamples);
        return;
    }

    FVO::multiply (
        channels[0],
        outputGainFactor (buffers->outputFactors[0], settings.gainL, settings.phaseL, settings.levelCompensation),
        numSamples);
    if (numChannels > 1)
        FVO::multiply (
            channels[1],
            outputGainFactor (buffers->outputFactors[1], settings.gainR, settings.phaseR, settings.levelCompensation),
            numSamples);
}

// Finite input can still overflow on the way (a huge sample through a band with gain); such samples
// are silenced rather than let through or allowed to zero the whole block.
void ConvolutionEqAudioProcessor::guardPeaks (float* const* channels, int numChannels, int numSamples) noexcept
{
    float peak = peakOf (channels, numChannels, numSamples);
    if (! std::isfinite (peak))
    {
        for (int ch = 0; ch < numChannels; ++ch)
            replaceNonFiniteSamples (channels[ch], numSamples);
        peak = peakOf (channels, numChannels, numSamples);
    }

    if (juce::Decibels::gainToDecibels (peak) > 20.0f)
    {
        const float scale = 10.0f / peak;
        for (int ch = 0; ch < numChannels; ++ch)
            juce::FloatVectorOperations::multiply (channels[ch], scale, numSamples);
    }
}

void ConvolutionEqAudioProcessor::applyInputStage (float* const* channels, int numChannels, int numSamples,
                                                   float inputLevelDb) noexcept
{
    const float g = juce::Decibels::decibelsToGain (inputLevelDb);

    if (g == 0.0f)
    {
        for (int ch = 0; ch < numChannels; ++ch)
            juce::FloatVectorOperations::clear (channels[ch], numSamples);
    }
    else if (g != 1.0f)
    {
        for (int ch = 0; ch < numChannels; ++ch)
            juce::FloatVectorOperations::multiply (channels[ch], g, numSamples);
    }

    // Follows the current input gain in every block, so a loaded state sounds as it will later on.
    saturationOn = g > 1.0f;
    if (saturationOn)
        saturationGain = g;
    lastInputGain = g;

    if (! saturationOn)
        return;

    // The input gain is already in the samples, so the drive counts it a second time.
    for (int ch = 0; ch < numChannels; ++ch)
        for (int i = 0; i < numSamples; ++i)
            channels[ch][i] = std::atan (saturationGain * channels[ch][i]) * twoOverPi;
}

void ConvolutionEqAudioProcessor::runBands (int bandChannels, int numSamples, const BlockSettings& settings,
                                            const Routing& routing) noexcept
{
    using FVO = juce::FloatVectorOperations;

    auto* set1 = convolverSets[0].get();
    auto* set2 = convolverSets[1].get();
    const bool bandsReady = set1 != nullptr && set2 != nullptr && set1->isReady() && set2->isReady();

    const float* const* encoded = buffers->encoded.getArrayOfReadPointers();
    auto& work = buffers->work;
    auto& scratch = buffers->scratch;

    // The bands skip the direct part of convolving what the routing does not take, which nobody hears.
    const auto& heard = routing.heard;

    for (int channel = 1; channel <= 2; ++channel)
    {
        auto* set = channel == 1 ? set1 : set2;
        auto& sum = buffers->sums[channel - 1];

        for (int band = 1; band <= 3; ++band)
        {
            // A band that does not run contributes its unprocessed copy at unity.
            const float* const* contribution = encoded;
            float factor = 1.0f;
            BandConvolver* convolver = bandsReady ? set->getBand (band - 1) : nullptr;

            if (convolver != nullptr && settings.active[channel - 1][band - 1])
            {
                for (int ch = 0; ch < bandChannels; ++ch)
                    FVO::copy (work.getWritePointer (ch), encoded[ch], numSamples);

                convolver->setHeardChannels (heard[channel - 1][0], heard[channel - 1][1]);
                convolver->process (work.getArrayOfWritePointers(), scratch.getArrayOfWritePointers(), bandChannels,
                                    numSamples);

                // The factor changes only with its parameters; pow every block would cost more than
                // comparing them.
                auto& cached = buffers->bandFactors[channel - 1][band - 1];
                const float gainDb = settings.bandGain[channel - 1][band - 1];
                const float trimDb = settings.trim[channel - 1][band - 1];
                if (! (cached.gainDb == gainDb && cached.trimDb == trimDb))
                    cached = { gainDb, trimDb, bandGainFactor (band, gainDb, trimDb) };
                factor = cached.factor;
                contribution = work.getArrayOfReadPointers();
            }

            // The band level is applied on the way into the sum (the same product, rounded the same
            // way); a sum that the routing does not take is not formed.
            for (int ch = 0; ch < bandChannels; ++ch)
            {
                if (! heard[channel - 1][ch])
                    continue;
                float* total = sum.getWritePointer (ch);
                if (contribution == encoded)
                {
                    if (band == 1)
                        FVO::copy (total, contribution[ch], numSamples);
                    else
                        FVO::add (total, contribution[ch], numSamples);
                }
                else if (band == 1)
                    FVO::copyWithMultiply (total, contribution[ch], factor, numSamples);
                else
                    FVO::addWithMultiply (total, contribution[ch], factor, numSamples);
            }
        }
    }
}
