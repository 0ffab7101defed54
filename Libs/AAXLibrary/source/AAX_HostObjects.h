#pragma once

#include "AAX_DescriptionInterfaceIDs.h"
#include "AAX_IACFObjectFactory.h"
#include "AAX_InterfaceIDs.h"
#include "IACFUnknown.h"

// Helpers for holding host interfaces: each pointer a wrapper keeps holds one reference.

// Asks the object for an interface; null when the object is null or refuses.
template <typename Interface>
Interface* AAX_QueryHostInterface (IACFUnknown* object, const AAX_GUID& interfaceId)
{
    if (object == nullptr)
        return nullptr;

    void* found = nullptr;
    if (object->QueryInterface (interfaceId, &found) != ACF_OK)
        return nullptr;
    return static_cast<Interface*> (found);
}

// Creates a host object through the object factory; null when there is none or it fails.
template <typename Interface>
Interface* AAX_CreateHostObject (AAX_IACFObjectFactory* factory, const AAX_GUID& classId, const AAX_GUID& interfaceId)
{
    if (factory == nullptr)
        return nullptr;

    void* created = nullptr;
    if (factory->CreateInstance (classId, nullptr, interfaceId, &created) != ACF_OK)
        return nullptr;
    return static_cast<Interface*> (created);
}

// Drops the reference a pointer holds and clears it.
template <typename Interface>
void AAX_ReleaseHostInterface (Interface*& held) noexcept
{
    if (held != nullptr)
    {
        held->Release();
        held = nullptr;
    }
}

// Adds a reference for a copy of the pointer that the caller will hold.
template <typename Interface>
Interface* AAX_RetainHostInterface (Interface* object) noexcept
{
    if (object != nullptr)
        object->AddRef();
    return object;
}
