#include "HostEditor.h"

#include "AAX_Callbacks.h"
#include "AAX_Errors.h"
#include "AAX_InterfaceIDs.h"
#include "HostCollection.h"
#include "HostInstance.h"

// The unknown handed to the GUI object: the insert's effect for the effect-parameters
// interfaces, the insert's host services for everything else.
class HostEditorUnknown final : public HostComponent, public IACFUnknown
{
public:
    HostEditorUnknown (IACFUnknown& insertEffect, HostInstanceServices& insertServices)
        : effect (insertEffect)
        , services (insertServices)
    {
    }

    ACFRESULT QueryInterface (const AAX_GUID& interfaceId, void** interfaceOut) override
    {
        if (interfaceOut == nullptr)
            return ACF_E_NOINTERFACE;
        if (interfaceId == IID_IACFUnknown)
            return queryInterface (interfaceId, interfaceOut);
        if (interfaceId == AAX_IID_EffectParameters || interfaceId == AAX_IID_EffectParameters_V2 ||
            interfaceId == AAX_IID_EffectParameters_V3 || interfaceId == AAX_IID_EffectParameters_V4)
            return effect.QueryInterface (interfaceId, interfaceOut);
        return services.QueryInterface (interfaceId, interfaceOut);
    }
    uint32_t AddRef() override { return addReference(); }
    uint32_t Release() override { return releaseReference(); }

protected:
    void* findInterface (const AAX_GUID& interfaceId) noexcept override
    {
        return interfaceId == IID_IACFUnknown ? static_cast<IACFUnknown*> (this) : nullptr;
    }

private:
    IACFUnknown& effect;
    HostInstanceServices& services;
};

std::unique_ptr<HostEditor> HostEditor::create (HostCollection& description, HostInstance& instance, std::string& error)
{
    if (description.effects.empty() || ! description.effects.front().second)
    {
        error = "the plug-in described no effect";
        return nullptr;
    }
    const auto& procedures = description.effects.front().second->procPointers;
    const auto creator = procedures.find (kAAX_ProcPtrID_Create_EffectGUI);
    if (creator == procedures.end() || creator->second == nullptr)
    {
        error = "the plug-in registered no GUI procedure";
        return nullptr;
    }

    IACFUnknown* const created = reinterpret_cast<AAX_CCreateObjectProc> (creator->second)();
    if (created == nullptr)
    {
        error = "the plug-in created no GUI object";
        return nullptr;
    }
    void* face = nullptr;
    if (created->QueryInterface (AAX_IID_EffectGUI, &face) != ACF_OK || face == nullptr)
    {
        // Nobody holds the new object yet: one reference and its release delete it.
        created->AddRef();
        created->Release();
        error = "the plug-in's GUI object does not offer the GUI interface";
        return nullptr;
    }

    std::unique_ptr<HostEditor> editor (new HostEditor());
    editor->object = static_cast<AAX_IACFEffectGUI*> (face);
    editor->hostUnknown =
        HostReference<HostEditorUnknown> (new HostEditorUnknown (instance.effect(), instance.services()));
    if (const AAX_Result result = editor->object->InitializeWithHost (editor->hostUnknown.get()); result != AAX_SUCCESS)
    {
        error = "the GUI object's initialisation answered " + std::to_string (result);
        return nullptr;
    }
    return editor;
}

HostEditor::~HostEditor()
{
    tearDown();
}

AAX_ViewSize HostEditor::viewSize() const
{
    AAX_ViewSize size;
    if (object == nullptr || object->ReportViewSize (&size) != AAX_SUCCESS)
        return {};
    return size;
}

AAX_Result HostEditor::attach (uintptr_t nativeWindow)
{
    if (object == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    auto next = std::make_unique<HostViewContainer> (nativeWindow);
    const AAX_Result result = object->SetViewContainer (next->asUnknown());
    // The old container stays alive until the GUI object has let go of it.
    container = std::move (next);
    return result;
}

AAX_Result HostEditor::detach()
{
    if (object == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    const AAX_Result result = object->SetViewContainer (nullptr);
    container.reset();
    return result;
}

void HostEditor::idle()
{
    if (object != nullptr && container)
        object->GUICall5();
}

void HostEditor::tearDown()
{
    if (object == nullptr)
        return;
    if (container)
        detach();
    object->TearDown();
    object->Release();
    object = nullptr;
    hostUnknown = HostReference<HostEditorUnknown>();
}
