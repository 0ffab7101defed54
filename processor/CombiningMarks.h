#pragma once

#include <juce_core/juce_core.h>

/** True for a combining mark: Unicode's General_Category Mark (Mn, Mc, Me), as of Unicode 14.0.
    A mark is drawn on the character before it and is no letter of its own. */
bool isCombiningMark (juce::juce_wchar c);
