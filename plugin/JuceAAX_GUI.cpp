#include "JuceAAX_GUI.h"

#include "AAX_Errors.h"
#include "AAX_IEffectParameters.h"
#include "AAX_IViewContainer.h"
#include "JuceAAX_Processor.h"
#include "MessageThreadPump.h"

namespace AAXClasses
{
JuceAAX_GUI::JuceAAX_GUI() = default;

JuceAAX_GUI::~JuceAAX_GUI()
{
    // The base deletes a view container that is still attached; the editor goes first, while
    // the processor it refers to is still held.
    deleteEditor();
}

IACFUnknown* JuceAAX_GUI::Create()
{
    return static_cast<IACFUnknown*> (static_cast<AAX_IEffectGUI*> (new JuceAAX_GUI()));
}

AAX_Result JuceAAX_GUI::TearDown()
{
    if (GetViewContainer() != nullptr)
        SetViewContainer (nullptr);
    deleteEditor();
    return AAX_CEffectGUI::TearDown();
}

AAX_Result JuceAAX_GUI::GUICall5()
{
    dispatchPendingFrameworkMessages();
    return AAX_SUCCESS;
}

AAX_Result JuceAAX_GUI::ReportViewSize (AAX_ViewSize* size)
{
    if (size == nullptr)
        return AAX_ERROR_NULL_ARGUMENT;
    if (editor != nullptr)
    {
        size->height = static_cast<float> (editor->getHeight());
        size->width = static_cast<float> (editor->getWidth());
    }
    return AAX_SUCCESS;
}

JuceAAX_Processor* JuceAAX_GUI::findProcessorWrapper() const
{
    // The host hands back the effect of the same insert, which is our own object.
    return dynamic_cast<JuceAAX_Processor*> (GetEffectParameters());
}

void JuceAAX_GUI::BuildViewContents()
{
    auto* wrapper = findProcessorWrapper();
    if (wrapper == nullptr || editor != nullptr)
        return;
    if (! framework.has_value())
        framework.emplace();

    auto& processor = wrapper->getProcessor();
    // Another GUI object of this insert already shows the editor, which it owns.
    if (! processor.hasEditor() || processor.getActiveEditor() != nullptr)
        return;

    // Installing the editor waits for the block in progress: the editor reads the band sets
    // that preparation on the audio thread replaces.
    const juce::ScopedLock lock (processor.getCallbackLock());
    editor.reset (processor.createEditorIfNeeded());
}

void JuceAAX_GUI::AttachView()
{
    auto* view = GetViewContainer();
    if (editor == nullptr || view == nullptr || view->ViewType() != AAX_ViewContainerType_NativeWindow)
        return;
    void* const nativeWindow = view->NativeView();
    if (nativeWindow == nullptr)
        return;

    if (editor->isOnDesktop())
        editor->removeFromDesktop();
    editor->setTopLeftPosition (0, 0);
    editor->addToDesktop (0, nativeWindow);
    editor->setVisible (true);
}

void JuceAAX_GUI::DetachView()
{
    if (editor != nullptr && editor->isOnDesktop())
        editor->removeFromDesktop();
}

void JuceAAX_GUI::deleteEditor()
{
    // The editor's destructor tells the processor through its editor-deleted path.
    editor.reset();
}
} // namespace AAXClasses
