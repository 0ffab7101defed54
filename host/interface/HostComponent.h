#pragma once

#include "IACFUnknown.h"

#include <atomic>
#include <cstdint>

/** The reference counting shared by every object the stand-in host hands to the plug-in. An
    object starts with one reference, owned by whoever created it. */
class HostComponent
{
public:
    HostComponent() noexcept;
    virtual ~HostComponent();

    HostComponent (const HostComponent&) = delete;
    HostComponent& operator= (const HostComponent&) = delete;

    uint32_t addReference() noexcept;
    uint32_t releaseReference() noexcept;
    ACFRESULT queryInterface (const AAX_GUID& interfaceId, void** interfaceOut) noexcept;

    /** Host objects alive in the process: 0 once the plug-in has released everything it was given. */
    static int32_t liveObjectCount() noexcept;

protected:
    /** The interface pointer for the identifier, or null when the object does not offer it. */
    virtual void* findInterface (const AAX_GUID& interfaceId) noexcept = 0;

private:
    std::atomic<uint32_t> references{ 1 };
};

// Puts QueryInterface, AddRef and Release of every host interface of a class in place.
#define LARKSPUR_HOST_COMPONENT_UNKNOWN                                                                                \
    ACFRESULT QueryInterface (const AAX_GUID& interfaceId, void** interfaceOut) override                               \
    {                                                                                                                  \
        return queryInterface (interfaceId, interfaceOut);                                                             \
    }                                                                                                                  \
    uint32_t AddRef() override                                                                                         \
    {                                                                                                                  \
        return addReference();                                                                                         \
    }                                                                                                                  \
    uint32_t Release() override                                                                                        \
    {                                                                                                                  \
        return releaseReference();                                                                                     \
    }

/** Holds one reference to a host object and drops it when destroyed. */
template <typename Object>
class HostReference
{
public:
    HostReference() = default;
    /** Takes over a reference the caller already holds. */
    explicit HostReference (Object* adopted) noexcept
        : object (adopted)
    {
    }
    HostReference (const HostReference& other) noexcept
        : object (other.object)
    {
        if (object != nullptr)
            object->addReference();
    }
    HostReference& operator= (HostReference other) noexcept
    {
        std::swap (object, other.object);
        return *this;
    }
    ~HostReference()
    {
        if (object != nullptr)
            object->releaseReference();
    }

    /** Adds a reference of its own to an object held elsewhere. */
    static HostReference retain (Object* shared) noexcept
    {
        if (shared != nullptr)
            shared->addReference();
        return HostReference (shared);
    }

    Object* get() const noexcept { return object; }
    Object* operator->() const noexcept { return object; }
    explicit operator bool() const noexcept { return object != nullptr; }

private:
    Object* object = nullptr;
};
