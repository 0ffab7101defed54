#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

/** The render command's built-in input: a logarithmic sweep from 20 Hz to 20 kHz (or 0.45 times
    the sample rate, when that is lower) over three seconds, then one second of white noise, in
    both channels at moderate level, so that every band of the equaliser shows in the result. The
    same every time. */
juce::AudioBuffer<float> makeTestSignal (double sampleRate, int numChannels);
