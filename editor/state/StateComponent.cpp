#include "StateComponent.h"

#include "ABSnapshot.h"
#include "ConvolutionEqAudioProcessor.h"
#include "ParameterLayout.h"
#include "PresetStore.h"

#include <array>

namespace state
{
namespace
{
constexpr int timerIntervalMs = 1000;

// The strip's width is divided into 13 units; the controls take these, from the left.
constexpr int numUnits = 13;
constexpr std::array<int, 6> unitsPerControl{ 1, 2, 2, 4, 2, 2 };
constexpr int cellMargin = 2;

void dismiss (juce::Component::SafePointer<juce::AlertWindow>& window, int result)
{
    if (window == nullptr)
        return;

    window->exitModalState (result);
    window->setLookAndFeel (nullptr);
    window->setVisible (false);
    window = nullptr;
}
} // namespace

StateComponent::StateComponent (juce::AudioProcessorValueTreeState& state, ABSnapshot& abSnapshot, PresetStore* store)
    : valueTreeState (state)
    , snapshot (&abSnapshot)
    , presetStore (store)
    , processor (dynamic_cast<ConvolutionEqAudioProcessor*> (&state.processor))
{
    jassert (presetStore != nullptr);

    bypassButton.setClickingTogglesState (true);
    showFailure = [this] (const juce::String& message) { showFailureAlert (message); };
    presetStore->onFailure = [this] (const juce::String& message)
    {
        if (showFailure != nullptr)
            showFailure (message);
    };

    startTimer (timerIntervalMs);

    addAndMakeVisible (bypassButton);
    bypassButton.setLookAndFeel (&lookAndFeel);
    bypassAttachment = std::make_unique<juce::AudioProcessorValueTreeState::ButtonAttachment> (
        valueTreeState, ParameterIds::bypass, bypassButton);

    addAndMakeVisible (abButton);
    abButton.addListener (this);
    addAndMakeVisible (keepButton);
    keepButton.addListener (this);

    addAndMakeVisible (presetList);
    presetList.setTextWhenNothingSelected ("Load preset...");
    presetList.followItem = [this] (int itemId) -> std::function<int()>
    {
        const auto* shown = presetStore->presets.getChildElement (itemId - 1);
        if (shown == nullptr)
            return {};
        return [store = presetStore, entry = std::make_shared<juce::XmlElement> (*shown), itemId]
        { return store->findListedEntry (*entry, itemId); };
    };
    presetList.setLookAndFeel (&lookAndFeel);
    rebuildPresetList();

    // The list shows the preset the store knows by name, or else the entry the preset parameter
    // points at; the strip listens only afterwards, so that this is not applied as a preset.
    presetAttachment = std::make_unique<juce::AudioProcessorValueTreeState::ComboBoxAttachment> (
        valueTreeState, ParameterIds::preset, presetList);
    showRestoredPreset();
    presetList.addListener (this);
    if (processor != nullptr)
        processor->onStateRestored = [this]
        {
            showRestoredPreset();
            updatePresetButtons();
            updateDeleteButton();
        };

    addAndMakeVisible (savePresetButton);
    savePresetButton.addListener (this);
    updatePresetButtons();

    addAndMakeVisible (deletePresetButton);
    deletePresetButton.addListener (this);
    updateDeleteButton();

    const juce::Colour black (juce::Colours::black);
    const juce::Colour greyText (StateLookAndFeel::greyTextArgb);
    bypassButton.setColour (juce::ToggleButton::textColourId, greyText);
    for (auto* button : { &abButton, &keepButton, &savePresetButton, &deletePresetButton })
    {
        button->setColour (juce::TextButton::textColourOffId, greyText);
        button->setColour (juce::TextButton::buttonColourId, black);
    }
    presetList.setColour (juce::ComboBox::backgroundColourId, black);
}

StateComponent::~StateComponent()
{
    presetList.hidePopup();
    dismiss (saveDialog, cancelResult);
    dismiss (failureAlert, okResult);
    presetStore->onFailure = nullptr;
    if (processor != nullptr)
        processor->onStateRestored = nullptr;

    presetList.setLookAndFeel (nullptr);
    bypassButton.setLookAndFeel (nullptr);
    stopTimer();
    bypassAttachment.reset();
    presetAttachment.reset();
}

void StateComponent::resized()
{
    const std::array<juce::Component*, 6> controls{ &bypassButton, &abButton,         &keepButton,
                                                    &presetList,   &savePresetButton, &deletePresetButton };
    const auto unit = getWidth() / numUnits;
    auto remaining = getLocalBounds();

    for (size_t i = 0; i < controls.size(); ++i)
        controls[i]->setBounds (remaining.removeFromLeft (unit * unitsPerControl[i]).reduced (cellMargin));
}

void StateComponent::buttonClicked (juce::Button* button)
{
    if (button == &abButton)
    {
        snapshot->swapWithCurrent();
    }
    else if (button == &keepButton)
    {
        snapshot->keepCurrent();
    }
    else if (button == &savePresetButton)
    {
        showSavePresetDialog();
    }
    else if (button == &deletePresetButton)
    {
        // The default file's entries stay, however the click arrived.
        if (presetStore->currentPreset < firstDeletablePresetId)
            return;

        // The store removes the entry the list shows, found in the file as it is now;
        // on failure it has already told the user and re-read the file.
        presetStore->deletePreset (presetStore->currentPreset);
        showStoreState (juce::dontSendNotification);
    }
}

void StateComponent::comboBoxChanged (juce::ComboBox*)
{
    // While a state is installed the attachment follows its preset parameter; the state holds
    // the settings, and the list shows its preset once it is in.
    if (processor != nullptr && processor->isRestoringState())
        return;

    presetStore->applyPreset (presetList.getSelectedId());
    updatePresetButtons();
    updateDeleteButton();
}

void StateComponent::timerCallback()
{
    const auto lastWriteTime = PresetStore::readLastWriteTime (presetStore->presetFile);
    if (lastWriteTime == presetStore->lastModified)
        return;

    // The time is the one read before the file was, so that a rewrite while it is being read is
    // seen at the next look. The store follows the chosen entry; nothing is applied.
    presetStore->reloadFromFile();
    presetStore->lastModified = lastWriteTime;
    // Silently: another instance's edit is no change of the preset parameter.
    showStoreState (juce::dontSendNotification);
}

bool StateComponent::saveCurrentSettingsAs (const juce::String& presetName)
{
    // On failure the store has already told the user and re-read the file.
    const auto saved = presetStore->savePreset (presetName);
    // Announced: the new preset is the user's choice, and the preset parameter follows it.
    showStoreState (juce::sendNotificationAsync);
    return saved;
}

void StateComponent::rebuildPresetList()
{
    // Silently: the list's attachment would answer an empty selection by choosing the first
    // entry, and the strip would then apply it. The selection that follows notifies.
    presetList.clear (juce::dontSendNotification);

    for (int i = 0; i < presetStore->getNumListedPresets(); ++i)
    {
        auto name = presetStore->presets.getChildElement (i)->getStringAttribute ("presetName");
        presetList.addItem (name.isNotEmpty() ? name : juce::String ("(Unnamed preset)"), i + 1);
    }
}

void StateComponent::updatePresetButtons()
{
    // One preset per value of the preset parameter.
    const auto* presetParameter = valueTreeState.getParameter (ParameterIds::preset);
    const auto end = presetParameter != nullptr ? presetParameter->getNormalisableRange().end : 1.0f;
    savePresetButton.setEnabled (end >= (float) presetStore->presets.getNumChildElements());
}

void StateComponent::updateDeleteButton()
{
    deletePresetButton.setEnabled (presetList.getSelectedId() >= firstDeletablePresetId);
}

void StateComponent::showStoreState (juce::NotificationType selection)
{
    rebuildPresetList();

    // A chosen entry that has gone from the file leaves nothing chosen.
    if (presetStore->currentPreset > presetList.getNumItems())
        presetStore->setCurrentPreset (0);

    // A notification comes later and finds the number unchanged, so nothing is applied. An
    // empty selection is never announced, since the list's attachment would choose the first entry.
    presetList.setSelectedId (presetStore->currentPreset,
                              presetStore->currentPreset > 0 ? selection : juce::dontSendNotification);
    updatePresetButtons();
    updateDeleteButton();
}

void StateComponent::showRestoredPreset()
{
    if (processor == nullptr || ! processor->isChosenPresetKnown())
        showParameterEntry();
    else
        showStoreState (juce::dontSendNotification);

    if (processor != nullptr)
        processor->markChosenPresetKnown();
}

void StateComponent::showParameterEntry()
{
    // A new attachment selects the parameter's entry, as the first one did; the strip does not
    // listen meanwhile, so the entry is not applied (the state, or the user, holds the settings).
    presetList.removeListener (this);
    presetAttachment.reset();
    presetAttachment = std::make_unique<juce::AudioProcessorValueTreeState::ComboBoxAttachment> (
        valueTreeState, ParameterIds::preset, presetList);

    // The parameter is a position over the list's length then, and the list may have changed
    // since: the entry is taken for the chosen one only when it holds the settings that play.
    // Silently, so that the parameter keeps its value. No entry (0) holds any settings.
    auto entry = presetList.getSelectedId();
    if (! presetStore->holdsCurrentSettings (entry))
    {
        entry = 0;
        presetList.setSelectedId (0, juce::dontSendNotification);
    }
    presetList.addListener (this);
    presetStore->setCurrentPreset (entry);
}

void StateComponent::showSavePresetDialog()
{
    if (saveDialog != nullptr)
    {
        saveDialog->toFront (true);
        return;
    }

    auto dialog =
        std::make_unique<juce::AlertWindow> ("Save preset...", juce::String(), juce::MessageBoxIconType::NoIcon);
    dialog->setLookAndFeel (&lookAndFeel);
    dialog->setColour (juce::AlertWindow::backgroundColourId, juce::Colours::black);
    // The prompt is shown in the empty field, so that typing starts a name and OK without a name
    // is refused rather than saving the prompt.
    dialog->addTextEditor (presetNameEditorId, juce::String());
    auto* nameEditor = dialog->getTextEditor (presetNameEditorId);
    nameEditor->setTextToShowWhenEmpty ("Enter preset name", juce::Colour (StateLookAndFeel::greyTextArgb));
    nameEditor->setInputRestrictions (PresetStore::maxNameLength);
    // The dialog gives the field 22 pixels, where JUCE's top indent of 4 pushes the feet of g, j, p,
    // q, y and parentheses below its edge: the line is centred in the room inside the border.
    const auto room = nameEditor->getHeight() - nameEditor->getBorder().getTopAndBottom();
    const auto lineHeight = juce::roundToInt (nameEditor->getFont().getHeight());
    nameEditor->setIndents (nameEditor->getLeftIndent(), juce::jmax (0, (room - lineHeight) / 2));
    dialog->addButton ("OK", okResult, juce::KeyPress (juce::KeyPress::returnKey));
    dialog->addButton ("Cancel", cancelResult, juce::KeyPress (juce::KeyPress::escapeKey));

    saveDialog = dialog.get();

    // Closing the window, or the framework cancelling it, also answers 0, OK's value: only OK
    // itself (or Return) may save. A name the store would refuse keeps the dialog open and says why.
    auto okPressed = std::make_shared<bool> (false);
    for (auto* child : dialog->getChildren())
        if (auto* ok = dynamic_cast<juce::TextButton*> (child); ok != nullptr && ok->getButtonText() == "OK")
            ok->onClick = [strip = juce::Component::SafePointer<StateComponent> (this), okPressed,
                           window = dialog.get(), nameEditor]
            {
                if (strip == nullptr)
                    return;
                if (const auto problem = strip->presetStore->checkNewPresetName (nameEditor->getText());
                    problem.isNotEmpty())
                {
                    window->setMessage ("The preset was not saved: " + problem + ".");
                    nameEditor->grabKeyboardFocus();
                    return;
                }
                *okPressed = true;
                window->exitModalState (okResult);
            };

    // The dialog does not block: the strip may be gone when it is answered.
    auto onDismissed = [strip = juce::Component::SafePointer<StateComponent> (this),
                        window = juce::Component::SafePointer<juce::AlertWindow> (dialog.get()), okPressed] (int)
    {
        juce::String presetName;
        if (window != nullptr)
        {
            if (auto* editor = window->getTextEditor (presetNameEditorId))
                presetName = editor->getText();
            window->setLookAndFeel (nullptr);
        }

        if (strip == nullptr)
            return;

        strip->saveDialog = nullptr;
        if (*okPressed)
            strip->saveCurrentSettingsAs (presetName);
    };

    dialog.release()->enterModalState (true, juce::ModalCallbackFunction::create (std::move (onDismissed)), true);
    nameEditor->grabKeyboardFocus();
}

void StateComponent::showFailureAlert (const juce::String& message)
{
    dismiss (failureAlert, okResult);

    auto alert = std::make_unique<juce::AlertWindow> ("Presets", message, juce::MessageBoxIconType::NoIcon);
    alert->setLookAndFeel (&lookAndFeel);
    alert->setColour (juce::AlertWindow::backgroundColourId, juce::Colours::black);
    alert->addButton ("OK", okResult, juce::KeyPress (juce::KeyPress::returnKey),
                      juce::KeyPress (juce::KeyPress::escapeKey));

    failureAlert = alert.get();
    auto onDismissed = [window = juce::Component::SafePointer<juce::AlertWindow> (alert.get())] (int)
    {
        if (window != nullptr)
            window->setLookAndFeel (nullptr);
    };
    alert.release()->enterModalState (true, juce::ModalCallbackFunction::create (std::move (onDismissed)), true);
}
} // namespace state
