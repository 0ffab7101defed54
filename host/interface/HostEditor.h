#pragma once

#include "AAX_IACFEffectGUI.h"
#include "HostComponent.h"
#include "HostViewContainer.h"

#include <cstdint>
#include <memory>
#include <string>

class HostCollection;
class HostInstance;
class HostEditorUnknown;

/** The GUI object of one insert as the stand-in host drives it: created through the registered
    procedure, initialised with a host unknown that offers the insert's services and its effect,
    given a native window to show the editor in and taken out of it again, called periodically on
    the main thread while a view is attached, and torn down. The insert must outlive it. */
class HostEditor
{
public:
    /** Null with a message when the description has no GUI procedure or the object refuses. */
    static std::unique_ptr<HostEditor> create (HostCollection& description, HostInstance& instance, std::string& error);
    ~HostEditor();

    HostEditor (const HostEditor&) = delete;
    HostEditor& operator= (const HostEditor&) = delete;

    AAX_IACFEffectGUI& gui() const noexcept { return *object; }

    /** The editor's size as the GUI object reports it; 0 x 0 when it has none. */
    AAX_ViewSize viewSize() const;

    /** Hands the GUI object a view container for the window (replacing one given before). */
    AAX_Result attach (uintptr_t nativeWindow);
    AAX_Result detach();
    bool isAttached() const noexcept { return static_cast<bool> (container); }

    /** The host's periodic main-thread call while a view is attached. */
    void idle();

    /** Detaches, tears the GUI object down and releases it; done by the destructor when not called. */
    void tearDown();

private:
    HostEditor() = default;

    AAX_IACFEffectGUI* object = nullptr;
    HostReference<HostEditorUnknown> hostUnknown;
    std::unique_ptr<HostViewContainer> container;
};
