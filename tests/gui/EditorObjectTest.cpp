// The plug-in's GUI object with the real processor and editor, without a display: what it makes,
// reports and deletes, and the parameter roads between the editor's controls and the host.

#include "EditorInsert.h"
#include "HostProject.h"
#include "TemporaryUserFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{
// The touches, value requests and releases the host saw for one parameter.
std::vector<std::string> gestureEventsFor (const HostInstance& instance, const std::string& identifier)
{
    std::vector<std::string> found;
    for (const auto& event : instance.services().automationEvents())
        if (event.identifier == identifier && event.kind != "post")
            found.push_back (event.kind);
    return found;
}

template <typename ComponentType>
ComponentType* findDescendant (juce::Component& parent, const std::function<bool (ComponentType&)>& matches)
{
    for (auto* child : parent.getChildren())
    {
        if (auto* typed = dynamic_cast<ComponentType*> (child); typed != nullptr && matches (*typed))
            return typed;
        if (auto* found = findDescendant (*child, matches))
            return found;
    }
    return nullptr;
}

juce::ComboBox& presetBox (HostEditor& editor)
{
    auto* box = findDescendant<juce::ComboBox> (*EditorInsert::guiObject (editor).getEditor(),
                                                [] (juce::ComboBox&) { return true; });
    if (box == nullptr)
        throw std::runtime_error ("the editor has no preset box");
    return *box;
}

void forEachSlider (juce::Component& parent, const std::function<void (juce::Slider&)>& visit)
{
    for (auto* child : parent.getChildren())
    {
        if (auto* slider = dynamic_cast<juce::Slider*> (child))
            visit (*slider);
        forEachSlider (*child, visit);
    }
}
} // namespace

TEST (EditorObject, MakesTheProcessorsEditorReportsItsSizeAndDeletesItAtTearDown)
{
    for (const int channels : { 2, 1 })
    {
        EditorInsert insert (channels);
        HostEditor& editor = insert.openEditor();
        auto& gui = EditorInsert::guiObject (editor);
        ASSERT_NE (gui.getEditor(), nullptr) << channels << " channels";
        EXPECT_EQ (insert.processor().getActiveEditor(), gui.getEditor());

        const AAX_ViewSize size = editor.viewSize();
        EXPECT_EQ (size.height, 518.0f);
        EXPECT_EQ (size.width, 800.0f);

        // Tearing down twice is harmless; the editor leaves through the processor's own path.
        editor.gui().TearDown();
        EXPECT_EQ (gui.getEditor(), nullptr);
        EXPECT_EQ (insert.processor().getActiveEditor(), nullptr);
        EXPECT_EQ (editor.gui().TearDown(), AAX_SUCCESS);
    }
}

TEST (EditorObject, ASecondGUIObjectOfTheSameInsertLeavesTheFirstEditorAlone)
{
    EditorInsert insert;
    HostEditor& first = insert.openEditor();
    HostEditor& second = insert.openEditor();
    EXPECT_NE (EditorInsert::guiObject (first).getEditor(), nullptr);
    EXPECT_EQ (EditorInsert::guiObject (second).getEditor(), nullptr);
    EXPECT_EQ (second.viewSize().width, 0.0f);

    second.tearDown();
    EXPECT_EQ (insert.processor().getActiveEditor(), EditorInsert::guiObject (first).getEditor());
}

TEST (EditorObject, WithoutAViewTheHostCallsDoNothing)
{
    EditorInsert insert;
    HostEditor& editor = insert.openEditor();
    EXPECT_EQ (editor.gui().GUICall5(), AAX_SUCCESS);
    EXPECT_EQ (editor.gui().ReportViewSize (nullptr), AAX_ERROR_NULL_ARGUMENT);
    // Taking out a view that was never given.
    EXPECT_EQ (editor.detach(), AAX_SUCCESS);
    EXPECT_FALSE (EditorInsert::guiObject (editor).getEditor()->isOnDesktop());
}

// A control's gesture, as the editor's attachments make it, reaches the host as touch, value
// requests and release (each request itself touched and released, as every plug-in-side set is);
// the host's confirmation leaves the value where the control put it.
TEST (EditorObject, EditorGesturesReachTheHostAsTouchSetAndRelease)
{
    EditorInsert insert;
    insert.openEditor();
    auto* parameter = insert.processor().getValueTreeState().getParameter ("gain_1_2");
    ASSERT_NE (parameter, nullptr);
    juce::ParameterAttachment control (*parameter, [] (float) {});
    insert.instance->services().clearRecords();

    control.beginGesture();
    control.setValueAsPartOfGesture (6.0f);
    control.setValueAsPartOfGesture (4.0f);
    control.endGesture();
    insert.pump();

    EXPECT_EQ (
        gestureEventsFor (*insert.instance, "gain_1_2"),
        (std::vector<std::string>{ "touch", "touch", "request", "release", "touch", "request", "release", "release" }));
    EXPECT_NEAR (insert.instance->normalizedValue ("gain_1_2"), parameter->convertTo0to1 (4.0f), 1e-6);
    EXPECT_NEAR (parameter->getValue(), parameter->convertTo0to1 (4.0f), 1e-6);
}

// Host automation moves the controls bound to a parameter, the open editor's included.
TEST (EditorObject, HostAutomationMovesTheControls)
{
    for (const auto confirmation : { std::chrono::milliseconds (0), std::chrono::milliseconds (5) })
    {
        EditorInsert insert;
        insert.instance->services().setConfirmationDelay (confirmation);
        HostEditor& editor = insert.openEditor();
        auto* parameter = insert.processor().getValueTreeState().getParameter ("gain_1_2");
        ASSERT_NE (parameter, nullptr);
        std::vector<float> shown;
        juce::ParameterAttachment control (*parameter, [&shown] (float value) { shown.push_back (value); });

        const double normalised = parameter->convertTo0to1 (-9.0f);
        ASSERT_EQ (insert.instance->automate ("gain_1_2", normalised), AAX_SUCCESS);
        insert.pump();
        ASSERT_FALSE (shown.empty());
        EXPECT_FLOAT_EQ (shown.back(), -9.0f);

        // The editor's control of the band's gain follows too, once the editor has controls.
        auto* window = EditorInsert::guiObject (editor).getEditor();
        ASSERT_NE (window, nullptr);
        const auto sliderValues = [window]
        {
            std::vector<double> values;
            forEachSlider (*window, [&values] (juce::Slider& slider) { values.push_back (slider.getValue()); });
            return values;
        };
        const auto before = sliderValues();
        ASSERT_EQ (insert.instance->automate ("gain_1_2", parameter->convertTo0to1 (3.0f)), AAX_SUCCESS);
        insert.pump();
        const auto after = sliderValues();
        ASSERT_EQ (before.size(), after.size());
        if (! before.empty())
        {
            EXPECT_NE (before, after) << "no control of the editor moved";
        }
        EXPECT_FLOAT_EQ (shown.back(), 3.0f);
    }
}

// A project saved through the host (the controls-state chunk, whose preset parameter still points at
// the deleted preset's place, then the processor's state) reopens with the preset it chose, or none
// once the editor deleted it.
TEST (EditorObject, AProjectReopensWithItsPresetOrNoneOnceTheEditorDeletedIt)
{
    for (const bool deleted : { false, true })
    {
        SCOPED_TRACE (deleted ? "deleted in the editor" : "kept");
        TemporaryUserFolder folder;
        HostProject project;
        {
            EditorInsert insert;
            auto& store = insert.processor().getPresetStore();
            // Two user presets of the same settings, so the preset parameter left at the second's
            // place would show the first over the shorter list.
            ASSERT_TRUE (store.savePreset ("First"));
            ASSERT_TRUE (store.savePreset ("Second"));
            ASSERT_EQ (insert.instance->selectPreset ("Second"), AAX_SUCCESS);
            HostEditor& editor = insert.openEditor();
            insert.pump (5);
            ASSERT_EQ (presetBox (editor).getText(), "Second");
            if (deleted)
            {
                auto* button =
                    findDescendant<juce::Button> (*EditorInsert::guiObject (editor).getEditor(), [] (juce::Button& b)
                                                  { return b.getButtonText() == "Delete preset"; });
                ASSERT_NE (button, nullptr);
                button->triggerClick();
                insert.pump (20);
                ASSERT_EQ (presetBox (editor).getSelectedId(), 0);
            }
            ASSERT_EQ (insert.instance->saveChunks (project), AAX_SUCCESS);
        }

        EditorInsert insert;
        ASSERT_EQ (insert.instance->loadChunks (project), AAX_SUCCESS);
        HostEditor& editor = insert.openEditor();
        insert.pump (5);
        EXPECT_EQ (presetBox (editor).getText(), deleted ? "" : "Second");
        EXPECT_EQ (insert.processor().getPresetStore().currentPreset, deleted ? 0 : 10);
    }
}
