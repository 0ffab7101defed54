#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Components that draw nothing of their own fill themselves with transparent black, so that the
    editor's background shows through. */
void paintTransparent (juce::Graphics& g);

/** The band panel and the channel group: transparent, then the group box (outline and title in
    the group's colours) as juce::GroupComponent draws it. */
void paintTransparentGroup (juce::GroupComponent& group, juce::Graphics& g);
