#pragma once

#include <juce_core/juce_core.h>

/** The five channel modes in the order their switches are read: process_L, process_R, process_M,
    process_S, process_A. Each mode is edited by one processing channel's group, whose title names
    the mode and whether the two channels are linked. */
enum class ChannelMode
{
    left,
    right,
    mid,
    sides,
    all
};

/** The processing channel (1 or 2) whose group edits the mode. */
int channelShowingMode (ChannelMode mode) noexcept;

/** The group title for the mode: "Left Linked" or "Left Only", ..., and "All" either way. */
juce::String channelModeTitle (ChannelMode mode, bool linked);
