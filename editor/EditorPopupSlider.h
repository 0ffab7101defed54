#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <optional>

/** A slider whose value pop-up, once enabled, is drawn inside the editor window that holds it: as
    a desktop window of its own, the pop-up sits in an opaque black box on X servers without a
    compositor. The editor is known only once the slider lies inside it, so the pop-up's parent is
    set again whenever the parent hierarchy changes; outside an editor the pop-up stays a window of
    its own. */
class EditorPopupSlider : public juce::Slider
{
public:
    /** Shows the value pop-up while dragging and on hover, until hoverTimeoutMs after the mouse
        stops. */
    void enableValuePopup (int hoverTimeoutMs);

protected:
    void parentHierarchyChanged() override;

private:
    void attachPopupToEditor();

    std::optional<int> popupHoverTimeout;
};
