#pragma once

#include "AAX_CEffectGUI.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <optional>

namespace AAXClasses
{
class JuceAAX_Processor;

/** Our own stand-in for JUCE's AAX GUI wrapper: the GUI object of one editor window. It
    asks the insert's processor for its editor, reports the editor's size, places the editor in
    the host's native window while the host shows it, and deletes it at tear-down. Everything runs
    on the host's main thread, which is JUCE's message thread. */
class JuceAAX_GUI final : public AAX_CEffectGUI
{
public:
    JuceAAX_GUI();
    ~JuceAAX_GUI() override;

    /** The creation procedure registered on the effect: a new object with no reference yet. */
    static IACFUnknown* Create();

    AAX_Result TearDown() override;
    /** The stand-in host calls this periodically while a view is attached: it runs
        JUCE's pending messages (repaints, timers, asynchronous updates). */
    AAX_Result GUICall5() override;
    AAX_Result ReportViewSize (AAX_ViewSize* size) override;

    void BuildViewContents() override;
    void AttachView() override;
    void DetachView() override;

    /** The editor while it exists, or null. */
    juce::AudioProcessorEditor* getEditor() const noexcept { return editor.get(); }

private:
    JuceAAX_Processor* findProcessorWrapper() const;
    void deleteEditor();

    /** Made on the first build, on the message thread, so that JUCE outlives the editor
        whatever the host releases first. */
    std::optional<juce::ScopedJuceInitialiser_GUI> framework;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
};
} // namespace AAXClasses
