#include "EditorPopupSlider.h"

#include <juce_audio_processors/juce_audio_processors.h>

void EditorPopupSlider::enableValuePopup (int hoverTimeoutMs)
{
    popupHoverTimeout = hoverTimeoutMs;
    attachPopupToEditor();
}

void EditorPopupSlider::parentHierarchyChanged()
{
    juce::Slider::parentHierarchyChanged();
    if (popupHoverTimeout)
        attachPopupToEditor();
}

void EditorPopupSlider::attachPopupToEditor()
{
    setPopupDisplayEnabled (true, true, findParentComponentOfClass<juce::AudioProcessorEditor>(), *popupHoverTimeout);
}
