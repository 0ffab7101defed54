#pragma once

#include <juce_audio_formats/juce_audio_formats.h>
#include <juce_data_structures/juce_data_structures.h>

#include <map>
#include <memory>

/** The equaliser's impulse responses, decoded from the embedded responses document and
    resampled to the host rate, keyed band -> frequency (Hz) -> type -> gain (dB).

    A bank is built and loaded once for one host rate and never changed afterwards; readers
    use its fields directly.
*/
class ResponseBank
{
public:
    using GainMap = std::map<int, std::unique_ptr<juce::AudioBuffer<float>>>;
    using TypeMap = std::map<juce::String, GainMap>;
    using FrequencyMap = std::map<int, TypeMap>;
    using BandMap = std::map<int, FrequencyMap>;

    ResponseBank (double sourceRateToUse, double hostRateToUse);
    ~ResponseBank();

    /** Fills the bank from the embedded responses document. */
    void load();

    /** Fills the bank from the given document text instead of the embedded one. */
    void loadDocument (const juce::String& documentText);

    /** Reads the whole of channel 0 of the reader's stream into a one-channel buffer at the
        stream's own rate. The reader (and its stream) is deleted afterwards. */
    static void readImpulse (juce::AudioBuffer<float>& output, std::unique_ptr<juce::AudioFormatReader> reader);

    /** Resamples a one-channel response from sourceRate to hostRate with a minimum-phase
        filter, keeping its start: the output has (int) (input length / (sourceRate / hostRate))
        samples and comes out at most a few samples late. Equal rates copy the input. */
    static void resample (juce::AudioBuffer<float>& output, const juce::AudioBuffer<float>& input, double sourceRate,
                          double hostRate);

    BandMap bands;
    double sourceRate;
    double hostRate;
    juce::StringArray bandNames;
    juce::Array<int> frequencyEnabled;
    juce::Array<int> typeEnabled;
    juce::Array<int> gainEnabled;
    juce::Array<int> mixEnabled;
    juce::ValueTree tree;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ResponseBank)
};
