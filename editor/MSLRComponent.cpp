#include "MSLRComponent.h"

#include "Artwork.h"
#include "ChannelMode.h"
#include "FilterGroupComponent.h"
#include "SharedPaint.h"
#include "SvgDrawable.h"

namespace
{
constexpr auto imageStyle = juce::DrawableButton::ImageFitted;
}

MSLRComponent::MSLRComponent (juce::AudioProcessorValueTreeState& s, FilterGroupComponent* channelGroup1,
                              FilterGroupComponent* channelGroup2)
    : state (s)
    , group1 (channelGroup1)
    , group2 (channelGroup2)
    , left ("Left", imageStyle)
    , right ("Right", imageStyle)
    , mid ("Mid", imageStyle)
    , side ("Side", imageStyle)
    , all ("All", imageStyle)
    , soloChannel1 ("Solo CH1", imageStyle)
    , soloChannel2 ("Solo CH2", imageStyle)
    , linkLR ("Link LR", imageStyle)
{
    fillColourPalette (palette);

    using namespace PaletteColour;
    setUpButton (soloChannel1, Artwork::buttonSpeaker, soloOn, soloOff, "solo_1", soloChannel1Attachment, false);
    setUpButton (soloChannel2, Artwork::buttonSpeaker, soloChannel2On, soloChannel2Off, "solo_2",
                 soloChannel2Attachment, false);
    setUpButton (left, Artwork::buttonL, leftMidAllOn, leftMidAllOff, "process_L", leftAttachment, true);
    setUpButton (linkLR, Artwork::buttonLink, selectorLinkOn, selectorLinkOff, "link_MSLR", linkAttachment, true);
    setUpButton (right, Artwork::buttonR, rightSideOn, rightSideOff, "process_R", rightAttachment, true);
    setUpButton (mid, Artwork::buttonM, leftMidAllOn, leftMidAllOff, "process_M", midAttachment, true);
    setUpButton (side, Artwork::buttonS, rightSideOn, rightSideOff, "process_S", sideAttachment, true);
    setUpButton (all, Artwork::buttonA, leftMidAllOn, leftMidAllOff, "process_A", allAttachment, true);

    // Joining the group switches off any surplus mode switch that is on, with notification, so
    // the groups already follow the switch that stays on.
    for (auto* button : { &left, &right, &mid, &side, &all })
        button->setRadioGroupId (modeRadioGroup);

    setSize (100, 60);
}

MSLRComponent::~MSLRComponent() = default;

void MSLRComponent::setUpButton (juce::DrawableButton& button, const char* artwork, PaletteColour::Entry onColour,
                                 PaletteColour::Entry offColour, const char* parameterId,
                                 std::unique_ptr<ButtonAttachment>& attachment, bool listen)
{
    button.setClickingTogglesState (true);

    setToggleImages (button, artwork, palette[onColour], palette[offColour]);
    button.setColour (juce::DrawableButton::backgroundOnColourId, juce::Colours::transparentBlack);

    attachment = std::make_unique<ButtonAttachment> (state, parameterId, button);
    addAndMakeVisible (button);
    if (listen)
        button.addListener (this);
}

void MSLRComponent::paint (juce::Graphics& g)
{
    paintTransparent (g);
}

void MSLRComponent::resized()
{
    const int w = getWidth() / 3;
    const int h = getHeight() / 4;

    soloChannel1.setBounds (0, 0, w, h);
    soloChannel2.setBounds (2 * w, 0, w, h);
    left.setBounds (0, h, w, h);
    linkLR.setBounds (w, (int) ((float) h * 1.5f), w, h); // half a row lower than its neighbours
    right.setBounds (2 * w, h, w, h);
    mid.setBounds (0, 2 * h, w, h);
    side.setBounds (2 * w, 2 * h, w, h);
    all.setBounds (0, 3 * h, getWidth(), h);
}

void MSLRComponent::buttonClicked (juce::Button* button)
{
    // A button that the radio group switches off reports too, before the one switched on, so the
    // last report is the mode that stays. A mode button's own toggle state is not consulted.
    if (button != &linkLR)
    {
        showGroupFor (*button, linkLR.getToggleState());
        return;
    }

    const bool linked = linkLR.getToggleState();
    for (auto* mode : { &left, &right, &mid, &side, &all })
    {
        if (mode->getToggleState())
        {
            showGroupFor (*mode, linked);
            return;
        }
    }
}

void MSLRComponent::showGroupFor (juce::Button& modeButton, bool linked)
{
    const std::pair<const juce::Button*, ChannelMode> modes[]{
        { &left, ChannelMode::left },  { &right, ChannelMode::right }, { &mid, ChannelMode::mid },
        { &side, ChannelMode::sides }, { &all, ChannelMode::all },
    };

    for (const auto& [candidate, mode] : modes)
    {
        if (candidate != &modeButton)
            continue;

        auto* shown = channelShowingMode (mode) == 1 ? group1 : group2;
        auto* hidden = shown == group1 ? group2 : group1;
        if (shown != nullptr)
            shown->setVisible (true);
        if (hidden != nullptr)
            hidden->setVisible (false);
        if (shown != nullptr)
            shown->setText (channelModeTitle (mode, linked));
        return;
    }
}
