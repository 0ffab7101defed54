#pragma once

#include "AAX_Errors.h"
#include "AAX_IPacketHandler.h"

/** A packet handler that calls a member operation of an object (the dispatcher itself in this
    plug-in): the one taking identifier and packet when it is set, else the one taking the packet. */
template <class Worker>
class AAX_CPacketHandler : public AAX_IPacketHandler
{
public:
    using PacketCallback = AAX_Result (Worker::*) (AAX_CDispatchPacket&);
    using IdentifierPacketCallback = AAX_Result (Worker::*) (AAX_CParamID, AAX_CDispatchPacket&);

    AAX_CPacketHandler (Worker* object, PacketCallback callback)
        : mObject (object)
        , mPacketCallback (callback)
    {
    }

    AAX_CPacketHandler (Worker* object, IdentifierPacketCallback callback)
        : mObject (object)
        , mIdentifierPacketCallback (callback)
    {
    }

    AAX_CPacketHandler* Clone() const override { return new AAX_CPacketHandler (*this); }

    AAX_Result Call (AAX_CParamID identifier, AAX_CDispatchPacket& packet) const override
    {
        if (mObject != nullptr && mIdentifierPacketCallback != nullptr)
            return (mObject->*mIdentifierPacketCallback) (identifier, packet);
        if (mObject != nullptr && mPacketCallback != nullptr)
            return (mObject->*mPacketCallback) (packet);
        return AAX_ERROR_NULL_OBJECT;
    }

private:
    Worker* mObject;
    PacketCallback mPacketCallback = nullptr;
    IdentifierPacketCallback mIdentifierPacketCallback = nullptr;
};
