#pragma once

#include "IACFUnknown.h"

#include <atomic>
#include <cstdint>

/** The reference-counted base of every component that the plug-in hands to the host. A component
    derives first from its host-facing interface (which starts with IACFUnknown) and second from
    this class; its QueryInterface, AddRef and Release forward to the controlling unknown
    (AAX_FORWARD_UNKNOWN_TO_CONTROLLER below). Counts change only atomically, from any thread. */
class CACFUnknown
{
public:
    CACFUnknown();
    virtual ~CACFUnknown();

    CACFUnknown (const CACFUnknown&) = delete;
    CACFUnknown& operator= (const CACFUnknown&) = delete;

    /** Answers 0 and does nothing else. */
    virtual ACFRESULT InitializeInstance();
    /** Runs just before the object deletes itself; empty here. */
    virtual void FinalRelease();
    /** Deletes the object through its virtual destructor. */
    virtual void DeleteThis();
    /** The base form answers only the unknown interface, with the private unknown. Components
        answer their own identifiers first and then call this form. */
    virtual ACFRESULT InternalQueryInterface (const AAX_GUID& interfaceId, void** interfaceOut);
    virtual uint32_t InternalAddRef();
    virtual uint32_t InternalRelease();

    /** The unknown that the host-facing interface forwards to: always the private unknown. */
    IACFUnknown* GetControllingUnknown() const noexcept { return mControllingUnknown; }
    IACFUnknown* GetPrivateUnknown() noexcept { return &mPrivateUnknown; }

    /** The number of live components in the process (0 means the library may be unloaded). */
    static int32_t GetActiveObjectCount() noexcept;

    /** The non-delegating unknown of a component. */
    class PrivateUnknown final : public IACFUnknown
    {
    public:
        explicit PrivateUnknown (CACFUnknown& owner) noexcept
            : mOwner (owner)
        {
        }

        ACFRESULT QueryInterface (const AAX_GUID& interfaceId, void** interfaceOut) override;
        uint32_t AddRef() override;
        uint32_t Release() override;

    private:
        CACFUnknown& mOwner;
    };

private:
    std::atomic<int32_t> mReferenceCount{ 0 };
    IACFUnknown* mControllingUnknown;
    PrivateUnknown mPrivateUnknown;
};

// Puts QueryInterface, AddRef and Release of a component's host-facing interface in place,
// forwarding unchanged to the controlling unknown of its CACFUnknown part.
#define AAX_FORWARD_UNKNOWN_TO_CONTROLLER                                                                              \
    ACFRESULT QueryInterface (const AAX_GUID& interfaceId, void** interfaceOut) override                               \
    {                                                                                                                  \
        return GetControllingUnknown()->QueryInterface (interfaceId, interfaceOut);                                    \
    }                                                                                                                  \
    uint32_t AddRef() override                                                                                         \
    {                                                                                                                  \
        return GetControllingUnknown()->AddRef();                                                                      \
    }                                                                                                                  \
    uint32_t Release() override                                                                                        \
    {                                                                                                                  \
        return GetControllingUnknown()->Release();                                                                     \
    }
