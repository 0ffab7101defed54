#include "ConvolutionEqAudioProcessor.h"
#include "ConvolutionEqAudioProcessorEditor.h"
#include "PanelTestSupport.h"
#include "ProcessorParameterAccess.h"
#include "TemporaryUserFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <vector>

namespace
{
// An editor opened as the host opens it, closed through the processor as the host closes it.
struct OpenEditor
{
    explicit OpenEditor (ConvolutionEqAudioProcessor& p)
        : processor (p)
    {
        ConvolutionEqAudioProcessorEditor::installOn (p);
        editor.reset (p.createEditorIfNeeded());
        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    }

    ~OpenEditor() { processor.editorBeingDeleted (editor.get()); }

    template <typename Child>
    Child& child (int nth = 0)
    {
        for (auto* c : editor->getChildren())
            if (auto* typed = dynamic_cast<Child*> (c); typed != nullptr && nth-- == 0)
                return *typed;
        throw std::runtime_error ("no such child");
    }

    ConvolutionEqAudioProcessor& processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
};

void setChannelMode (ConvolutionEqAudioProcessor& processor, std::initializer_list<const char*> on)
{
    for (const char* id : { "process_L", "process_R", "process_M", "process_S", "process_A" })
        setPlainValue (processor, id,
                       std::find_if (on.begin(), on.end(), [id] (const char* o) { return juce::String (o) == id; }) !=
                               on.end()
                           ? 1.0f
                           : 0.0f);
}
} // namespace

TEST (EditorWindowTest, OpensAtItsFixedSizeOnTheDarkBackground)
{
    TemporaryUserFolder folder;
    ConvolutionEqAudioProcessor processor;
    processor.prepareToPlay (48000.0, 512);
    ConvolutionEqAudioProcessorEditor::installOn (processor);
    std::unique_ptr<juce::AudioProcessorEditor> editor (processor.createEditorIfNeeded());
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getWidth(), 800);
    EXPECT_EQ (editor->getHeight(), 518);
    EXPECT_FALSE (editor->isResizable());

    const auto image = editor->createComponentSnapshot (editor->getLocalBounds());
    EXPECT_EQ (image.getPixelAt (2, 515).getARGB(), 0xFF231E1Au);

    processor.editorBeingDeleted (editor.get());
}

TEST (EditorWindowTest, ChildrenLieAtTheirRectanglesInTheirOrder)
{
    PanelProcessor p;
    OpenEditor e (p.processor);

    auto& strip = e.child<state::StateComponent>();
    auto& input = e.child<InputControllerComponent>();
    auto& group1 = e.child<FilterGroupComponent> (1); // group 2 lies below group 1
    auto& group2 = e.child<FilterGroupComponent> (0);
    auto& output = e.child<ControllerComponent>();
    ASSERT_EQ (group1.getChannel(), 1);
    ASSERT_EQ (group2.getChannel(), 2);

    const std::vector<juce::Component*> order{ &strip, &input, &group2, &group1, &output };
    EXPECT_EQ (std::vector<juce::Component*> (e.editor->getChildren().begin(), e.editor->getChildren().end()), order);

    const std::pair<juce::Component*, juce::Rectangle<int>> placements[] = {
        { &strip, { 0, 0, 800, 30 } },
        { &input, { 15, 30, 65, 480 } },
        { &group1, { 95, 45, 510, 450 } },
        { &group2, { 95, 45, 510, 450 } },
        { &output, { 610, 40, 180, 480 } },
        { &input.getFader(), { 0, 90, 65, 300 } },
        { &output.getResetButton(), { 73, 330, 35, 35 } },
    };
    for (const auto& [component, bounds] : placements)
    {
        SCOPED_TRACE (component->getName() + " " + typeid (*component).name());
        EXPECT_EQ (component->getBounds(), bounds);
    }
    EXPECT_FALSE (output.isMono());
}

TEST (EditorWindowTest, OpensOnTheGroupThatEditsTheChannelMode)
{
    const struct
    {
        std::initializer_list<const char*> on;
        bool group1Shown;
        const char* title;
    } cases[] = {
        { { "process_L" }, true, "Left Linked" },   { { "process_M" }, true, "Mid Linked" },
        { { "process_A" }, true, "All" },           { { "process_R" }, false, "Right Linked" },
        { { "process_S" }, false, "Sides Linked" }, { {}, false, "" },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.title);
        PanelProcessor p;
        setChannelMode (p.processor, c.on);
        OpenEditor e (p.processor);

        auto& group1 = e.child<FilterGroupComponent> (1);
        auto& group2 = e.child<FilterGroupComponent> (0);
        EXPECT_EQ (group1.isVisible(), c.group1Shown);
        EXPECT_EQ (group2.isVisible(), ! c.group1Shown);
        EXPECT_EQ ((c.group1Shown ? group1 : group2).getText(), c.title);
    }
}

TEST (EditorWindowTest, MonoBusGivesMonoFormsAndTheModeStillChoosesTheGroup)
{
    for (const bool channel2Mode : { false, true })
    {
        SCOPED_TRACE (channel2Mode);
        PanelProcessor p (true, true);
        setChannelMode (p.processor, { channel2Mode ? "process_R" : "process_A" });
        OpenEditor e (p.processor);

        EXPECT_TRUE (e.child<ControllerComponent>().isMono());
        auto& group1 = e.child<FilterGroupComponent> (1);
        auto& group2 = e.child<FilterGroupComponent> (0);
        EXPECT_EQ (group1.getText(), "Mono");
        EXPECT_EQ (group2.getText(), "Mono");
        EXPECT_EQ (group1.isVisible(), ! channel2Mode);
        EXPECT_EQ (group2.isVisible(), channel2Mode);
        EXPECT_EQ (e.editor->getBounds(), juce::Rectangle<int> (0, 0, 800, 518));
    }
}

TEST (EditorWindowTest, OpensAndClosesBeforeTheFirstPreparation)
{
    PanelProcessor p (false);
    OpenEditor e (p.processor);
    EXPECT_EQ (e.child<FilterGroupComponent> (1).getChannel(), 1);
    EXPECT_EQ (e.child<FilterGroupComponent> (0).getChannel(), 2);
    const auto image = e.editor->createComponentSnapshot (e.editor->getLocalBounds());
    EXPECT_EQ (image.getWidth(), 800);
}
