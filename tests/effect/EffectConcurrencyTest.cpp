#include "FakeEffectHost.h"
#include "TestEffect.h"

#include "AAX_Errors.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

// The host may push automation values on one thread while another dispatches the packets that
// are filled from those values.
TEST (EffectConcurrency, ValueUpdatesAndPacketDispatchOnTwoThreads)
{
    FakeEffectHost host;
    TestEffect effect;
    effect.addParameter (unitParameter (AAX_MasterBypassParameterId, 0.0f));
    effect.addParameter (unitParameter ("gain", 0.0f));
    effect.extraInit = [] (TestEffect& self)
    {
        self.addValuePacket (AAX_MasterBypassParameterId, 3);
        self.addValuePacket ("gain", 4);
        return AAX_SUCCESS;
    };
    ASSERT_EQ (effect.InitializeWithHost (host.unknown()), AAX_SUCCESS);

    constexpr int rounds = 4000;
    std::atomic<bool> updating{ true };
    std::thread automation (
        [&]
        {
            for (int i = 0; i < rounds; ++i)
            {
                const char* identifier = i % 2 == 0 ? AAX_MasterBypassParameterId : "gain";
                effect.UpdateParameterNormalizedValue (identifier, double ((i / 2) % 2), 0);
            }
            updating = false;
        });
    std::thread dispatching (
        [&]
        {
            int32_t count = 0;
            while (updating)
            {
                effect.DispatchPackets();
                effect.ParameterChangeCount (&count);
            }
        });
    automation.join();
    dispatching.join();

    // Each parameter alternated 0, 1, 0, ... starting from 0: every update but the first changed it.
    int32_t count = 0;
    EXPECT_EQ (effect.ParameterChangeCount (&count), AAX_SUCCESS);
    EXPECT_EQ (count, rounds - 2);

    host.calls.clear();
    effect.DispatchPackets();
    effect.UpdateParameterNormalizedValue ("gain", 0.5, 0);
    effect.DispatchPackets();
    EXPECT_EQ (host.callsStartingWith ("post 4").back(), "post 4 4 0.5");
    effect.TearDown();
}
