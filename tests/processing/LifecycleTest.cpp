#include "ProcessingReference.h"
#include "ProcessorParameterAccess.h"
#include "TemporaryUserFolder.h"

#include <gtest/gtest.h>

#include <limits>

using namespace processing_test;

namespace
{
constexpr double rate = 48000.0;
constexpr int blockSize = 1024;

void expectSameSamples (const juce::AudioBuffer<float>& actual, const juce::AudioBuffer<float>& expected)
{
    ASSERT_EQ (actual.getNumChannels(), 1);
    ASSERT_EQ (actual.getNumSamples(), expected.getNumSamples());
    for (int i = 0; i < actual.getNumSamples(); ++i)
        ASSERT_EQ (actual.getSample (0, i), expected.getSample (0, i)) << i;
}

juce::MemoryBlock stateWith (ConvolutionEqAudioProcessor& source, const std::map<juce::String, float>& plainValues)
{
    for (const auto& [id, value] : plainValues)
        setPlainValue (source, id, value);
    juce::MemoryBlock block;
    source.getStateInformation (block);
    return block;
}

// Expected output of processing channel 1 alone (linked L/R, left output) for a unit impulse:
// the band's response times its level, the other two bands passing the impulse.
std::vector<float> impulseThroughOneBand (const ResponseBank& bank, int band, const BandSettings& settings,
                                          float compensationDb)
{
    std::vector<float> expected ((size_t) blockSize, 0.0f);
    const auto& response = bankResponse (bank, band, settings);
    const float level = bandLevel (band, (float) settings.gain, settings.trim);
    for (int i = 0; i < juce::jmin (blockSize, response.getNumSamples()); ++i)
        expected[(size_t) i] = response.getSample (0, i) * level;
    expected[0] += 2.0f;
    for (auto& sample : expected)
        sample *= outputFactor (0.0f, false, compensationDb);
    return expected;
}

class LifecycleTest : public ::testing::Test
{
protected:
    TemporaryUserFolder userFolder;
    ConvolutionEqAudioProcessor processor;
    juce::Random random{ 3 };
};
} // namespace

TEST_F (LifecycleTest, FrameworkAnswers)
{
    EXPECT_EQ (processor.getName(), "Larkspur");
    EXPECT_EQ (processor.getTailLengthSeconds(), 0.0);
    EXPECT_EQ (processor.getLatencySamples(), 0);
    EXPECT_EQ (processor.getNumPrograms(), 1);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (processor.getProgramName (0), "");
    EXPECT_FALSE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_FALSE (processor.isMidiEffect());
    EXPECT_FALSE (processor.supportsMPE());
    EXPECT_FALSE (processor.supportsDoublePrecisionProcessing());
    EXPECT_FALSE (processor.canAddBus (true));
    EXPECT_FALSE (processor.canRemoveBus (false));
    EXPECT_EQ (processor.getBypassParameter(), nullptr);
    EXPECT_EQ (processor.getBusCount (true), 1);
    EXPECT_EQ (processor.getBusCount (false), 1);
    EXPECT_EQ (processor.getMainBusNumOutputChannels(), 2);

    // The editor library is not linked here: without an installed factory there is no editor.
    EXPECT_FALSE (processor.hasEditor());
    EXPECT_EQ (processor.createEditorIfNeeded(), nullptr);
}

TEST_F (LifecycleTest, TheInstalledFactoryMakesTheEditorForItsProcessor)
{
    struct BareEditor : juce::AudioProcessorEditor
    {
        explicit BareEditor (juce::AudioProcessor& owner)
            : juce::AudioProcessorEditor (owner)
        {
            setSize (8, 8);
        }
    };

    const ConvolutionEqAudioProcessor* madeFor = nullptr;
    processor.setEditorFactory (
        [&madeFor] (ConvolutionEqAudioProcessor& owner) -> std::unique_ptr<juce::AudioProcessorEditor>
        {
            madeFor = &owner;
            return std::make_unique<BareEditor> (owner);
        });
    EXPECT_TRUE (processor.hasEditor());

    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (madeFor, &processor);
    EXPECT_EQ (processor.getActiveEditor(), editor.get());
    processor.editorBeingDeleted (editor.get());
}

TEST_F (LifecycleTest, PreparationBuildsTheBankAndBothSetsWithEveryBandSelected)
{
    EXPECT_EQ (processor.getResponseBank(), nullptr);
    EXPECT_EQ (processor.getConvolverSet (1), nullptr);
    EXPECT_EQ (processor.getLevelCompensation(), 0.0f);

    setPlainValue (processor, "frequency_2_1", 400.0f);
    setPlainValue (processor, "gain_2_1", -6.0f);
    prepare (processor, rate, blockSize);

    const auto bank = processor.getResponseBank();
    ASSERT_NE (bank, nullptr);
    EXPECT_EQ (bank->hostRate, rate);
    EXPECT_EQ (processor.getLevelCompensation(), -12.4f);

    for (int channel = 1; channel <= 2; ++channel)
    {
        const auto set = processor.getConvolverSet (channel);
        ASSERT_NE (set, nullptr);
        EXPECT_EQ (set->getChannel(), channel);
        EXPECT_TRUE (set->isReady());
        for (int band = 0; band < 3; ++band)
            EXPECT_TRUE (set->getBand (band)->isLoaded());
    }
    EXPECT_EQ (processor.getConvolverSet (0), nullptr);
    EXPECT_EQ (processor.getConvolverSet (3), nullptr);

    expectSameSamples (processor.getConvolverSet (1)->getBand (1)->getCurrentResponse(),
                       bankResponse (*bank, 2, BandSettings{ true, 1500, "PK", 0 }));
    expectSameSamples (processor.getConvolverSet (2)->getBand (0)->getCurrentResponse(),
                       bankResponse (*bank, 1, BandSettings{ true, 400, "PK", -6 }));
}

TEST_F (LifecycleTest, PreparingAgainBuildsNewSetsAndRestartsTheirHistory)
{
    ChainSettings s;
    s.mode (true, false, false, false, false);
    s.applyTo (processor);
    prepare (processor, rate, blockSize);
    const auto firstSet = processor.getConvolverSet (1);
    const auto firstBank = processor.getResponseBank();
    processed (processor, noiseBlock (2, blockSize, random));

    // A new rate gives a new bank; the same rate shares the one it already has.
    prepare (processor, 44100.0, blockSize);
    EXPECT_NE (processor.getResponseBank(), firstBank);
    EXPECT_EQ (processor.getResponseBank()->hostRate, 44100.0);
    prepare (processor, 44100.0, blockSize);
    const auto bank = processor.getResponseBank();
    EXPECT_EQ (bank->hostRate, 44100.0);
    EXPECT_NE (processor.getConvolverSet (1), firstSet);

    // History starts from silence: an impulse brings out exactly the responses.
    const auto out = processed (processor, impulseBlock (2, blockSize));
    ReferenceChain reference (bank, s);
    const auto terms = reference.run (impulseBlock (2, blockSize), s);
    auto expected = terms.p1[0];
    for (auto& sample : expected)
        sample *= outputFactor (0.0f, false, -12.2f);
    EXPECT_LT (maxDifference (out, 0, expected), 1.0e-6f);
}

// A prepared band plays its selected response from the first block.
TEST_F (LifecycleTest, EveryBandIsHeardFromTheFirstBlock)
{
    ChainSettings s;
    s.mode (true, false, false, false, false);
    s.bands[0] = { BandSettings{ true, 200, "LP", 9, 2.0f }, BandSettings{ true, 5000, "PK", -12, -1.0f },
                   BandSettings{ true, 7000, "HP", 4, 0.0f } };
    s.applyTo (processor);

    for (int band = 1; band <= 3; ++band)
    {
        SCOPED_TRACE (band);
        for (int other = 1; other <= 3; ++other)
            setPlainValue (processor, "active_1_" + juce::String (other), other == band ? 1.0f : 0.0f);

        prepare (processor, rate, blockSize);
        const auto out = processed (processor, impulseBlock (2, blockSize));
        const auto expected = impulseThroughOneBand (*processor.getResponseBank(), band, s.bands[0][(size_t) band - 1],
                                                     processor.getLevelCompensation());
        EXPECT_LT (maxDifference (out, 0, expected), 1.0e-6f);
    }
}

// Preparation takes each band's type from its parameter as it stands.
TEST_F (LifecycleTest, PreparationReadsTheCurrentType)
{
    prepare (processor, rate, blockSize);
    auto& type = parameter (processor, "type_1_3");
    type.setValueNotifyingHost (type.convertTo0to1 (1.0f));
    ASSERT_EQ (processor.getTypeParameter (1, 3)->getCurrentChoiceName(), "HP");

    prepare (processor, rate, blockSize);
    expectSameSamples (processor.getConvolverSet (1)->getBand (2)->getCurrentResponse(),
                       bankResponse (*processor.getResponseBank(), 3, BandSettings{ true, 10000, "HP", 0 }));
}

// With no editor, a state load or host automation reselects the bands it changes: one turn of the
// message loop, then the usual hand-over of five blocks.
TEST_F (LifecycleTest, StateLoadAndHostAutomationReselectBands)
{
    ChainSettings s;
    s.mode (true, false, false, false, false);
    for (auto& channel : s.bands)
        for (auto& band : channel)
            band.active = false;
    s.bands[0][0].active = true;
    s.applyTo (processor);
    prepare (processor, rate, blockSize);
    runMessageLoop();

    TemporaryUserFolder otherFolder;
    ConvolutionEqAudioProcessor source;
    s.applyTo (source);
    const auto state = stateWith (source, { { "frequency_1_1", 200.0f } });
    processor.setStateInformation (state.getData(), (int) state.getSize());
    runMessageLoop();

    const auto bank = processor.getResponseBank();
    const BandSettings at200{ true, 200, "PK", 0 };
    expectSameSamples (processor.getConvolverSet (1)->getBand (0)->getCurrentResponse(),
                       bankResponse (*bank, 1, at200));

    juce::AudioBuffer<float> silence (2, blockSize);
    silence.clear();
    for (int block = 0; block < 5; ++block)
        processed (processor, silence);
    auto out = processed (processor, impulseBlock (2, blockSize));
    EXPECT_LT (maxDifference (out, 0, impulseThroughOneBand (*bank, 1, at200, processor.getLevelCompensation())),
               1.0e-6f);

    // Host automation of gain_2_2 to 6 dB; processing channel 2 is heard on the right.
    setPlainValue (processor, "active_2_2", 1.0f);
    setPlainValue (processor, "gain_2_2", 6.0f);
    runMessageLoop();
    expectSameSamples (processor.getConvolverSet (2)->getBand (1)->getCurrentResponse(),
                       bankResponse (*bank, 2, BandSettings{ true, 1500, "PK", 6 }));
    for (int block = 0; block < 5; ++block)
        processed (processor, silence);
    out = processed (processor, impulseBlock (2, blockSize));
    std::vector<float> expected ((size_t) blockSize, 0.0f);
    const auto& response = bankResponse (*bank, 2, BandSettings{ true, 1500, "PK", 6 });
    const float factor = outputFactor (0.0f, false, processor.getLevelCompensation());
    for (int i = 0; i < blockSize; ++i)
        expected[(size_t) i] =
            ((i < response.getNumSamples() ? response.getSample (0, i) * bandLevel (2, 6.0f, 0.0f) : 0.0f) +
             (i == 0 ? 2.0f : 0.0f)) *
            factor;
    EXPECT_LT (maxDifference (out, 1, expected), 1.0e-6f);
}

TEST_F (LifecycleTest, LoadedInputLevelSaturatesFromTheFirstBlock)
{
    prepare (processor, rate, blockSize);
    TemporaryUserFolder otherFolder;
    ConvolutionEqAudioProcessor source;
    std::map<juce::String, float> values{ { "input_level", 6.0f } };
    for (int channel = 1; channel <= 2; ++channel)
        for (int band = 1; band <= 3; ++band)
            values["active_" + juce::String (channel) + "_" + juce::String (band)] = 0.0f;
    const auto state = stateWith (source, values);
    processor.setStateInformation (state.getData(), (int) state.getSize());

    const auto input = noiseBlock (2, blockSize, random);
    const auto out = processed (processor, input);
    const float g = std::pow (10.0f, 6.0f / 20.0f);
    const float factor = outputFactor (0.0f, false, processor.getLevelCompensation());
    for (int i = 0; i < blockSize; ++i)
    {
        const float saturated = atanf (g * g * input.getSample (0, i)) * 2.0f / juce::MathConstants<float>::pi;
        ASSERT_NEAR (out.getSample (0, i), 3.0f * saturated * factor, 2.0e-6f) << i;
    }
}

// Before any preparation the bands count as not ready and pass their input; the rest of the chain
// runs, with no level compensation yet.
TEST_F (LifecycleTest, BlockBeforePreparationIsSafe)
{
    for (const bool midSide : { false, true })
    {
        ChainSettings s;
        s.mode (false, false, midSide, false, ! midSide);
        s.link = false;
        s.applyTo (processor);

        ReferenceChain reference (nullptr, s);
        const auto input = noiseBlock (2, 3000, random);
        const auto out = processed (processor, input);
        const auto terms = reference.run (input, s);
        for (int i = 0; i < 3000; ++i)
        {
            ASSERT_TRUE (std::isfinite (out.getSample (0, i)));
            const float left = midSide ? terms.p1[0][(size_t) i] + terms.side[(size_t) i] : terms.p1[0][(size_t) i];
            ASSERT_NEAR (out.getSample (0, i), left, 1.0e-6f) << i;
        }
    }
    EXPECT_EQ (processor.getConvolverSet (1), nullptr);
}

// JUCE prepares again for a longer block; one that arrives anyway is processed whole.
TEST_F (LifecycleTest, ABlockLongerThanPreparedIsProcessedInPieces)
{
    ChainSettings s;
    s.mode (true, false, false, false, false);
    s.applyTo (processor);
    prepare (processor, rate, 256);

    ReferenceChain reference (processor.getResponseBank(), s);
    const auto input = noiseBlock (2, 1000, random);
    const auto out = processed (processor, input);

    juce::AudioBuffer<float> piece (2, 256);
    for (int start = 0; start < 1000; start += 256)
    {
        const int n = juce::jmin (256, 1000 - start);
        piece.setSize (2, n, false, false, true);
        for (int ch = 0; ch < 2; ++ch)
            piece.copyFrom (ch, 0, input, ch, start, n);
        const auto terms = reference.run (piece, s);
        for (int i = 0; i < n; ++i)
            ASSERT_NEAR (out.getSample (0, start + i),
                         terms.p1[0][(size_t) i] * outputFactor (0.0f, false, processor.getLevelCompensation()),
                         2.0e-6f)
                << start + i;
    }
}

TEST_F (LifecycleTest, UnusableRatesLeaveTheBandsUnprepared)
{
    for (const double badRate : { 0.0, -48000.0, std::numeric_limits<double>::quiet_NaN(), 1.0e9 })
    {
        SCOPED_TRACE (badRate);
        prepare (processor, badRate, blockSize);
        EXPECT_EQ (processor.getResponseBank(), nullptr);
        EXPECT_EQ (processor.getConvolverSet (1), nullptr);
        EXPECT_EQ (processor.getLevelCompensation(), -32.0f);

        const auto out = processed (processor, noiseBlock (2, blockSize, random));
        for (int i = 0; i < blockSize; ++i)
            ASSERT_TRUE (std::isfinite (out.getSample (0, i)));
    }
}

TEST_F (LifecycleTest, ASetHeldBySelectionOutlivesPreparation)
{
    prepare (processor, rate, blockSize);
    auto held = processor.getConvolverSet (1);
    prepare (processor, rate, blockSize);
    ASSERT_NE (held, processor.getConvolverSet (1));

    // The old set and the bank it reads stay usable for as long as it is held.
    held->getBand (0)->selectImpulse (300.0, "LP", 4.0);
    expectSameSamples (held->getBand (0)->getCurrentResponse(),
                       bankResponse (*processor.getResponseBank(), 1, BandSettings{ true, 300, "LP", 4 }));
}
