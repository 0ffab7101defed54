#pragma once

#include "AAX.h"
#include "AAX_CDispatchPacket.h"
#include "AAX_CRecursiveMutex.h"
#include "AAX_IPacketHandler.h"

#include <map>
#include <memory>
#include <string>

class AAX_IController;
class AAX_IParameter;

/** Keeps one packet per context field for chosen parameters. Updating such a parameter marks its
    packets dirty; dispatching refills every dirty packet through its handler and posts it to the
    host through the controller. Marking and dispatching may come from different host threads:
    every operation holds the recursive mutex, so a handler may call back into the dispatcher. */
class AAX_CPacketDispatcher
{
public:
    AAX_CPacketDispatcher() = default;
    ~AAX_CPacketDispatcher();

    AAX_CPacketDispatcher (const AAX_CPacketDispatcher&) = delete;
    AAX_CPacketDispatcher& operator= (const AAX_CPacketDispatcher&) = delete;

    /** The controller posts the packets; the owner's ParameterById (identifier, AAX_IParameter**)
        finds the parameters that FillValuePacket reads. Neither is owned. */
    template <class Owner>
    void Initialize (AAX_IController* controller, Owner* owner)
    {
        AAX_CRecursiveMutex::ScopedLock lock (mMutex);
        mController = controller;
        mOwner = owner;
        mFindParameter = [] (void* target, AAX_CParamID identifier, AAX_IParameter** parameter) -> AAX_Result
        { return static_cast<Owner*> (target)->ParameterById (identifier, parameter); };
    }

    /** Binds the identifier to the packet of the field (created, dirty, when the field has none)
        with a clone of the handler. Answers 0. */
    AAX_Result AddPacketHandler (AAX_CParamID identifier, AAX_CFieldIndex fieldIndex,
                                 const AAX_IPacketHandler& handler);
    /** Marks dirty every packet bound to exactly this identifier. Answers 0. */
    AAX_Result MarkPacketsDirty (AAX_CParamID identifier);
    /** Refills and posts every dirty packet once, in identifier order, and clears its dirty flag
        whatever happened. Answers the last post's result (0 when nothing was posted). */
    AAX_Result DispatchDirtyPackets();
    /** The value callback that handlers are built with: writes the parameter's value in native
        byte order (bool and int32 and float as 4 bytes, double as 8). */
    AAX_Result FillValuePacket (AAX_CParamID identifier, AAX_CDispatchPacket& packet);

    /** The dispatcher's lock, for callers that change what the packets are filled from. */
    AAX_CRecursiveMutex& Mutex() const noexcept { return mMutex; }

private:
    using ParameterFinder = AAX_Result (*) (void* owner, AAX_CParamID identifier, AAX_IParameter** parameter);

    struct HandlerEntry
    {
        AAX_CDispatchPacket* packet;
        std::unique_ptr<AAX_IPacketHandler> handler;
    };

    mutable AAX_CRecursiveMutex mMutex;
    std::map<AAX_CFieldIndex, std::unique_ptr<AAX_CDispatchPacket>> mPackets;
    /** Entries with equal identifiers stay in the order they were added. */
    std::multimap<std::string, HandlerEntry, std::less<>> mHandlers;
    AAX_IController* mController = nullptr;
    void* mOwner = nullptr;
    ParameterFinder mFindParameter = nullptr;
};
