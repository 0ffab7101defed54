#include "AAX_CPacketDispatcher.h"

#include "AAX_Errors.h"
#include "AAX_IController.h"
#include "AAX_IParameter.h"

#include <string_view>

AAX_CPacketDispatcher::~AAX_CPacketDispatcher()
{
    AAX_CRecursiveMutex::ScopedLock lock (mMutex);
    mHandlers.clear();
    mPackets.clear();
}

AAX_Result AAX_CPacketDispatcher::AddPacketHandler (AAX_CParamID identifier, AAX_CFieldIndex fieldIndex,
                                                    const AAX_IPacketHandler& handler)
{
    AAX_CRecursiveMutex::ScopedLock lock (mMutex);

    auto& packet = mPackets[fieldIndex];
    if (packet == nullptr)
        packet = std::make_unique<AAX_CDispatchPacket> (fieldIndex);

    // A multimap inserts after the entries with an equal key.
    mHandlers.emplace (identifier != nullptr ? identifier : "",
                       HandlerEntry{ packet.get(), std::unique_ptr<AAX_IPacketHandler> (handler.Clone()) });
    return AAX_SUCCESS;
}

AAX_Result AAX_CPacketDispatcher::MarkPacketsDirty (AAX_CParamID identifier)
{
    if (identifier == nullptr)
        return AAX_SUCCESS;

    AAX_CRecursiveMutex::ScopedLock lock (mMutex);
    const auto [first, last] = mHandlers.equal_range (std::string_view (identifier));
    for (auto entry = first; entry != last; ++entry)
        entry->second.packet->SetDirty (true);
    return AAX_SUCCESS;
}

AAX_Result AAX_CPacketDispatcher::DispatchDirtyPackets()
{
    AAX_CRecursiveMutex::ScopedLock lock (mMutex);

    AAX_Result result = AAX_SUCCESS;
    for (auto& [identifier, entry] : mHandlers)
    {
        AAX_CDispatchPacket& packet = *entry.packet;
        if (! packet.IsDirty())
            continue;

        if (entry.handler->Call (identifier.c_str(), packet) == AAX_SUCCESS)
        {
            result = mController != nullptr
                         ? mController->PostPacket (packet.FieldIndex(), packet.Data(), packet.DataSize())
                         : AAX_ERROR_NULL_OBJECT;
        }
        packet.SetDirty (false);
    }
    return result;
}

AAX_Result AAX_CPacketDispatcher::FillValuePacket (AAX_CParamID identifier, AAX_CDispatchPacket& packet)
{
    AAX_CRecursiveMutex::ScopedLock lock (mMutex);

    AAX_IParameter* parameter = nullptr;
    if (mFindParameter == nullptr || mFindParameter (mOwner, identifier, &parameter) != AAX_SUCCESS ||
        parameter == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    bool boolValue = false;
    float floatValue = 0.0f;
    int32_t intValue = 0;
    double doubleValue = 0.0;
    if (parameter->ValueAsBool (&boolValue))
    {
        const int32_t word = boolValue ? 1 : 0;
        packet.SetData (&word, sizeof (word));
    }
    else if (parameter->ValueAsFloat (&floatValue))
        packet.SetData (&floatValue, sizeof (floatValue));
    else if (parameter->ValueAsInt32 (&intValue))
        packet.SetData (&intValue, sizeof (intValue));
    else if (parameter->ValueAsDouble (&doubleValue))
        packet.SetData (&doubleValue, sizeof (doubleValue));
    else
        return AAX_ERROR_NULL_OBJECT;
    return AAX_SUCCESS;
}
