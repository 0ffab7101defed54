#pragma once

#include "PresetListBox.h"
#include "PrimaryClickButton.h"
#include "StateLookAndFeel.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <functional>
#include <memory>

class ABSnapshot;
class ConvolutionEqAudioProcessor;
class PresetStore;

namespace state
{
/** The strip across the top of the editor: the bypass switch, A-B compare ("A-B" swaps the
    current settings with the stored snapshot, "Keep" stores them), the list of the presets file
    with Save and Delete, and a once-a-second look at the presets file for changes made by other
    instances. It drives the processor's snapshot and preset store and owns neither. */
class StateComponent : public juce::Component,
                       public juce::Button::Listener,
                       public juce::ComboBox::Listener,
                       public juce::Timer
{
public:
    /** presetStore must not be null; both stores must outlive the strip. */
    StateComponent (juce::AudioProcessorValueTreeState& valueTreeState, ABSnapshot& snapshot, PresetStore* presetStore);
    ~StateComponent() override;

    void resized() override;
    void buttonClicked (juce::Button* button) override;
    void comboBoxChanged (juce::ComboBox* comboBox) override;
    void timerCallback() override;

    /** What the save dialog's OK does: appends the current settings as a new preset and shows it
        chosen. Returns false when the store refused or could not write it (the user is told). */
    bool saveCurrentSettingsAs (const juce::String& presetName);

    /** Tells the user why a save or delete did not reach the presets file. An alert shown
        without blocking unless replaced (tests replace it). */
    std::function<void (const juce::String& message)> showFailure;

    /** The list's items 1 to 8 are the entries of the embedded default file, which cannot be
        deleted. */
    static constexpr int firstDeletablePresetId = 9;

    static constexpr int okResult = 0;
    static constexpr int cancelResult = 1;
    static constexpr const char* presetNameEditorId = "presetEditorID";

private:
    void rebuildPresetList();
    void updatePresetButtons();
    void updateDeleteButton();
    void showSavePresetDialog();
    void showFailureAlert (const juce::String& message);
    /** Rebuilds the list and selects the store's current preset; an announced selection moves the
        preset parameter (the list's attachment hears it), a silent one does not. */
    void showStoreState (juce::NotificationType selection);
    /** After opening or a state load: the store's current preset when it is known by name, else
        the entry that the preset parameter points at if it holds the current settings (none if
        not), which becomes current. Applies nothing. */
    void showRestoredPreset();
    void showParameterEntry();

    juce::AudioProcessorValueTreeState& valueTreeState;
    ABSnapshot* snapshot;
    PresetStore* presetStore;

    /** The processor that owns the parameters, when it is this plug-in's (it tells of state loads). */
    ConvolutionEqAudioProcessor* processor;

    PrimaryClickButton<juce::ToggleButton> bypassButton{ "Bypass" };
    PrimaryClickButton<juce::TextButton> abButton{ "A-B" };
    PrimaryClickButton<juce::TextButton> keepButton{ "Keep" };
    PresetListBox presetList;
    PrimaryClickButton<juce::TextButton> savePresetButton{ "Save preset" };
    PrimaryClickButton<juce::TextButton> deletePresetButton{ "Delete preset" };

    StateLookAndFeel lookAndFeel;

    std::unique_ptr<juce::AudioProcessorValueTreeState::ComboBoxAttachment> presetAttachment;
    std::unique_ptr<juce::AudioProcessorValueTreeState::ButtonAttachment> bypassAttachment;

    // Open dialogs use the strip's look-and-feel, so the strip closes them when it goes.
    juce::Component::SafePointer<juce::AlertWindow> saveDialog;
    juce::Component::SafePointer<juce::AlertWindow> failureAlert;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StateComponent)
};
} // namespace state
