#include "FakeController.h"
#include "TestParameters.h"

#include "AAX_CPacketDispatcher.h"
#include "AAX_CPacketHandler.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// One host thread marks packets dirty (as value updates do) while another dispatches them.
TEST (DispatcherConcurrency, MarkingAndDispatchingOnTwoThreads)
{
    FakeController controller;
    FakeParameterOwner owner;
    owner.registry.AddParameter (makeUnitParameter ("MasterBypassID", 0.0f).release());
    owner.registry.AddParameter (makeUnitParameter ("gain", 0.5f).release());

    AAX_CPacketDispatcher dispatcher;
    dispatcher.Initialize (&controller, &owner);
    const AAX_CPacketHandler<AAX_CPacketDispatcher> handler (&dispatcher, &AAX_CPacketDispatcher::FillValuePacket);
    dispatcher.AddPacketHandler ("MasterBypassID", 3, handler);
    dispatcher.AddPacketHandler ("gain", 4, handler);

    constexpr int rounds = 2000;
    std::atomic<bool> marking{ true };
    std::thread marker (
        [&]
        {
            for (int i = 0; i < rounds; ++i)
                dispatcher.MarkPacketsDirty (i % 2 == 0 ? "MasterBypassID" : "gain");
            marking = false;
        });
    std::thread poster (
        [&]
        {
            while (marking)
                dispatcher.DispatchDirtyPackets();
        });
    marker.join();
    poster.join();

    dispatcher.MarkPacketsDirty ("gain");
    dispatcher.DispatchDirtyPackets();
    EXPECT_GE (controller.posts.size(), 2u);
    EXPECT_LE (controller.posts.size(), size_t (rounds + 3));
    EXPECT_EQ (controller.posts.back().field, 4);

    // Every mark has been served: nothing is left dirty.
    const size_t served = controller.posts.size();
    dispatcher.DispatchDirtyPackets();
    EXPECT_EQ (controller.posts.size(), served);
}
