#include "ChannelMode.h"

int channelShowingMode (ChannelMode mode) noexcept
{
    return mode == ChannelMode::right || mode == ChannelMode::sides ? 2 : 1;
}

juce::String channelModeTitle (ChannelMode mode, bool linked)
{
    switch (mode)
    {
        case ChannelMode::left:
            return linked ? "Left Linked" : "Left Only";
        case ChannelMode::right:
            return linked ? "Right Linked" : "Right Only";
        case ChannelMode::mid:
            return linked ? "Mid Linked" : "Mid Only";
        case ChannelMode::sides:
            return linked ? "Sides Linked" : "Sides Only";
        case ChannelMode::all:
            break;
    }
    return "All";
}
