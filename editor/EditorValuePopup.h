#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** Shows a slider's value pop-up while it is dragged or hovered, drawn inside the editor window
    that holds the slider: as a desktop window of its own, the pop-up sits in an opaque black box
    on X servers without a compositor. Call it again whenever the slider's parent hierarchy
    changes, since the editor is known only once the slider lies inside it; outside an editor the
    pop-up stays a window of its own. */
inline void showValuePopupInEditor (juce::Slider& slider, int hoverTimeoutMs)
{
    slider.setPopupDisplayEnabled (true, true, slider.findParentComponentOfClass<juce::AudioProcessorEditor>(),
                                   hoverTimeoutMs);
}
