#pragma once

#include "AAX.h"

class AAX_CDispatchPacket;

/** Fills a packet for a parameter before the packet is posted to the host. */
class AAX_IPacketHandler
{
public:
    virtual ~AAX_IPacketHandler() = default;

    virtual AAX_IPacketHandler* Clone() const = 0;
    /** 0 when the packet was filled and may be posted. */
    virtual AAX_Result Call (AAX_CParamID identifier, AAX_CDispatchPacket& packet) const = 0;
};
