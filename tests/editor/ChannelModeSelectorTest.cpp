#include "FilterGroupComponent.h"
#include "MSLRComponent.h"
#include "PanelTestSupport.h"
#include "ProcessorParameterAccess.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
class ChannelModeSelectorTest : public ::testing::Test
{
protected:
    juce::Button& button (const juce::String& name)
    {
        for (auto* child : selector.getChildren())
            if (child->getName() == name)
                return dynamic_cast<juce::Button&> (*child);
        throw std::runtime_error (("no button " + name).toStdString());
    }

    // A user's click, delivered.
    void click (const juce::String& name)
    {
        button (name).triggerClick();
        dispatchMessages();
    }

    bool on (const char* id) { return plainValue (p.processor, id) > 0.5f; }

    PanelProcessor p;
    juce::AudioChannelSet output{ p.mainOutput() };
    FilterGroupComponent group1{ p.state(), output, p.slot1 };
    FilterGroupComponent group2{ p.state(), output, p.slot2 };
    MSLRComponent selector{ p.state(), &group1, &group2 };
};
} // namespace

TEST_F (ChannelModeSelectorTest, ButtonsSettleOnTheirGrid)
{
    EXPECT_EQ (selector.getBounds(), juce::Rectangle<int> (0, 0, 100, 60));
    selector.setBounds (15, 0, 150, 112);
    settleLayout (selector);

    const std::pair<const char*, juce::Rectangle<int>> grid[] = {
        { "Solo CH1", { 0, 0, 50, 28 } },  { "Solo CH2", { 100, 0, 50, 28 } }, { "Left", { 0, 28, 50, 28 } },
        { "Link LR", { 50, 42, 50, 28 } }, { "Right", { 100, 28, 50, 28 } },   { "Mid", { 0, 56, 50, 28 } },
        { "Side", { 100, 56, 50, 28 } },   { "All", { 0, 84, 150, 28 } },
    };
    for (const auto& [name, bounds] : grid)
    {
        EXPECT_EQ (button (name).getBounds(), bounds) << name;
        EXPECT_TRUE (button (name).isVisible()) << name;
        EXPECT_TRUE (button (name).getClickingTogglesState()) << name;
    }
    for (const char* mode : { "Left", "Right", "Mid", "Side", "All" })
        EXPECT_EQ (button (mode).getRadioGroupId(), MSLRComponent::modeRadioGroup) << mode;
}

TEST_F (ChannelModeSelectorTest, ClicksShowAndTitleTheGroupOfTheChosenMode)
{
    struct Row
    {
        std::vector<const char*> clicks;
        int shownChannel;
        const char* title;
        const char* modeSwitch;
        bool linked;
    };
    const Row rows[] = {
        { { "Side" }, 2, "Sides Linked", "process_S", true },
        { { "Side", "Link LR" }, 2, "Sides Only", "process_S", false },
        { { "Link LR", "All" }, 1, "All", "process_A", false },
        { { "All" }, 1, "All", "process_A", true },
        { { "Link LR", "Left" }, 1, "Left Only", "process_L", false },
        { { "Mid" }, 1, "Mid Linked", "process_M", true },
        { { "Right", "Link LR", "Link LR" }, 2, "Right Linked", "process_R", true },
        { { "Link LR", "Right", "Mid", "Side" }, 2, "Sides Only", "process_S", false },
    };

    for (const auto& row : rows)
    {
        SCOPED_TRACE (std::string ("ending with \"") + row.title + "\"");
        // Back to the defaults: All and Link LR on, channel group 1 shown.
        click ("All");
        if (! button ("Link LR").getToggleState())
            click ("Link LR");
        ASSERT_TRUE (group1.isVisible());

        for (const auto* name : row.clicks)
            click (name);

        auto& shown = row.shownChannel == 1 ? group1 : group2;
        auto& hidden = row.shownChannel == 1 ? group2 : group1;
        EXPECT_TRUE (shown.isVisible());
        EXPECT_FALSE (hidden.isVisible());
        EXPECT_EQ (shown.getText(), row.title);
        EXPECT_EQ (on ("link_MSLR"), row.linked);
        for (const char* id : { "process_L", "process_R", "process_M", "process_S", "process_A" })
            EXPECT_EQ (on (id), juce::String (id) == row.modeSwitch) << id;
    }
}

TEST_F (ChannelModeSelectorTest, TheModeSwitchedOffReportsBeforeTheModeSwitchedOn)
{
    click ("Left");
    group1.setText ("marker");
    group2.setText ("marker");

    click ("Right");

    // Left's report showed and retitled group 1; Right's, the last, left group 2 shown.
    EXPECT_EQ (group1.getText(), "Left Linked");
    EXPECT_EQ (group2.getText(), "Right Linked");
    EXPECT_FALSE (group1.isVisible());
    EXPECT_TRUE (group2.isVisible());
}

TEST_F (ChannelModeSelectorTest, SoloAndLinkWithoutAModeLeaveTheGroupsAlone)
{
    click ("Side");
    group2.setText ("marker");

    click ("Solo CH1");
    click ("Solo CH2");
    EXPECT_FALSE (on ("solo_1"));
    EXPECT_FALSE (on ("solo_2"));
    EXPECT_TRUE (on ("process_S"));
    EXPECT_EQ (group2.getText(), "marker");
    EXPECT_TRUE (group2.isVisible());
    EXPECT_FALSE (group1.isVisible());

    // With every mode switch off (possible through automation) Link LR changes only its switch.
    setPlainValue (p.processor, "process_S", 0.0f);
    group1.setText ("marker");
    group2.setText ("marker");
    const bool group1Visible = group1.isVisible();
    click ("Link LR");
    EXPECT_FALSE (on ("link_MSLR"));
    EXPECT_EQ (group1.getText(), "marker");
    EXPECT_EQ (group2.getText(), "marker");
    EXPECT_EQ (group1.isVisible(), group1Visible);
    EXPECT_TRUE (group2.isVisible());
}

TEST_F (ChannelModeSelectorTest, HostChangesReachTheGroupsThroughTheAttachments)
{
    setPlainValue (p.processor, "link_MSLR", 0.0f);
    EXPECT_EQ (group1.getText(), "All");

    setPlainValue (p.processor, "process_S", 1.0f);
    EXPECT_FALSE (on ("process_A")); // the radio group switched All off and said so
    EXPECT_TRUE (group2.isVisible());
    EXPECT_FALSE (group1.isVisible());
    EXPECT_EQ (group2.getText(), "Sides Only");

    setPlainValue (p.processor, "link_MSLR", 1.0f);
    EXPECT_EQ (group2.getText(), "Sides Linked");
}

TEST (ChannelModeSelectorOpeningTest, OpeningSwitchesOffEveryModeButTheLastOneOn)
{
    PanelProcessor p;
    for (const char* id : { "process_L", "process_S", "process_A" })
        setPlainValue (p.processor, id, 1.0f);

    const auto output = p.mainOutput();
    FilterGroupComponent group1 (p.state(), output, p.slot1), group2 (p.state(), output, p.slot2);
    MSLRComponent selector (p.state(), &group1, &group2);

    EXPECT_FLOAT_EQ (plainValue (p.processor, "process_L"), 0.0f);
    EXPECT_FLOAT_EQ (plainValue (p.processor, "process_S"), 0.0f);
    EXPECT_FLOAT_EQ (plainValue (p.processor, "process_A"), 1.0f);
}
