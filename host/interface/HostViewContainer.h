#pragma once

#include "AAX_IACFViewContainer.h"
#include "HostComponent.h"

#include <atomic>
#include <cstdint>

/** The host's view container: the native window (on Linux an X11 window id) that the plug-in's
    editor is placed in while the host shows it. It offers versions 1 and 2; the mouse and other
    calls are refused, since the stand-in has no control surfaces to pass them to. By the host's
    contract the plug-in never releases a container it was given, so references are counted but
    do not end its life: its owner deletes it once the plug-in has let go of it. */
class HostViewContainer final : public HostComponent, public AAX_IACFViewContainer_V2
{
public:
    explicit HostViewContainer (uintptr_t nativeWindow);

    ACFRESULT QueryInterface (const AAX_GUID& interfaceId, void** interfaceOut) override;
    uint32_t AddRef() override;
    uint32_t Release() override;

    IACFUnknown* asUnknown() noexcept { return static_cast<AAX_IACFViewContainer*> (this); }

    int32_t GetType() override;
    void* GetPtr() override;
    AAX_Result GetModifiers (uint32_t* modifiers) override;
    int32_t ViewContainerQuery6 (uint32_t value) override;
    AAX_Result HandleParameterMouseDown (AAX_CParamID parameterId, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseDrag (AAX_CParamID parameterId, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseUp (AAX_CParamID parameterId, uint32_t modifiers) override;
    AAX_Result ViewContainerCall10 (void* data) override;
    AAX_Result ViewContainerCall11 (void* data) override;
    AAX_Result ViewContainerCall12 (void* data) override;

protected:
    void* findInterface (const AAX_GUID& interfaceId) noexcept override;

private:
    const uintptr_t window;
    std::atomic<int32_t> heldReferences{ 0 };
};
