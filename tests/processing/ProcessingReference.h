#pragma once

#include "ConvolutionEqAudioProcessor.h"
#include "EngineSlot.h"
#include "ResponseBank.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <memory>
#include <vector>

// An independent model of the processing chain for the tests: the bands are convolved by engines of
// their own, loaded straight from the bank's responses, and every step is written out from the
// chain's definition rather than taken from the processor.
namespace processing_test
{
struct BandSettings
{
    bool active = true;
    int frequency = 0; // a step of the band, Hz
    juce::String type = "PK";
    int gain = 0;      // a step, dB
    float trim = 0.0f; // dB
};

struct ChainSettings
{
    ChainSettings();

    float inputLevel = 0.0f;
    bool processL = false, processR = false, processM = false, processS = false, processA = true;
    bool link = true, solo = true, solo1 = true, solo2 = true;
    float gain = 0.0f, gainL = 0.0f, gainR = 0.0f;
    bool phase = false, phaseL = false, phaseR = false;
    std::array<std::array<BandSettings, 3>, 2> bands; // [processing channel - 1][band - 1]

    // Sets every parameter above on the processor, as the host would.
    void applyTo (ConvolutionEqAudioProcessor& processor) const;

    // Channel mode switches only, all others off.
    ChainSettings& mode (bool l, bool r, bool m, bool s, bool a);
};

// Linear band level of the chain's calibration formulas: band 1 a quarter of the gain plus the trim
// (double), band 2 the trim less 3 dB (single), band 3 both (the subtraction single, the rest double).
float bandLevel (int band, float gainDb, float trimDb);

// Output gain with the level compensation and phase, computed in double.
float outputFactor (float gainDb, bool invert, float compensationDb);

const juce::AudioBuffer<float>& bankResponse (const ResponseBank& bank, int band, const BandSettings& settings);

// The terms the routing chooses from, for one block.
struct BlockTerms
{
    std::vector<float> x0, x1, mid, side;
    std::vector<float> p1[2], p2[2];
};

class ReferenceChain
{
public:
    // With no bank, every band passes its input, as in a processor that has not been prepared.
    ReferenceChain (std::shared_ptr<const ResponseBank> bank, const ChainSettings& settings);

    // Runs one block (one or two channels) through input stage, encoding and bands; the engines keep
    // their history from block to block as the processor's do.
    BlockTerms run (const juce::AudioBuffer<float>& input, const ChainSettings& settings);

private:
    std::shared_ptr<const ResponseBank> bank;
    std::unique_ptr<EngineSlot> slots[2][3];
};

juce::AudioBuffer<float> noiseBlock (int numChannels, int numSamples, juce::Random& random, float amplitude = 0.5f);
juce::AudioBuffer<float> impulseBlock (int numChannels, int numSamples);

// Runs one block through the processor in place and returns it.
juce::AudioBuffer<float> processed (ConvolutionEqAudioProcessor& processor, juce::AudioBuffer<float> block);

// Sets the rate and block size as JUCE does, then prepares.
void prepare (ConvolutionEqAudioProcessor& processor, double sampleRate, int blockSize);

// Runs the message loop long enough for pending asynchronous updates.
void runMessageLoop();

// Largest absolute difference between channel ch of actual and expected.
float maxDifference (const juce::AudioBuffer<float>& actual, int ch, const std::vector<float>& expected);
} // namespace processing_test
