// The entry points' shared state under concurrent use: traces from several threads through the
// process-wide host services, and the live-object count read while objects come and go.

#include "AAX_Exports.h"
#include "AAX_InterfaceIDs.h"
#include "AAX_Trace.h"
#include "AAX_VHostServices.h"
#include "HostComponent.h"
#include "HostState.h"
#include "HostUnknown.h"
#include "JuceAAX_GUI.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

TEST (RegistrationConcurrency, TracesFromManyThreadsAllReachTheHost)
{
    auto state = std::make_shared<HostState>();
    HostReference<HostUnknown> host (new HostUnknown (state));
    ASSERT_EQ (ACFStartup (host->asUnknown()), ACF_OK);

    constexpr int threadCount = 6;
    constexpr int tracesPerThread = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t)
        threads.emplace_back (
            [t]
            {
                for (int i = 0; i < tracesPerThread; ++i)
                    AAX_Trace (AAX_TRACE_PRIORITY_ERROR, "thread %d trace %d", t, i);
            });
    for (auto& thread : threads)
        thread.join();

    EXPECT_EQ (state->log.traces().size(), static_cast<size_t> (threadCount * tracesPerThread));
    EXPECT_EQ (ACFShutdown(), ACF_OK);
    host = HostReference<HostUnknown>();
    EXPECT_EQ (HostComponent::liveObjectCount(), 0);
}

TEST (RegistrationConcurrency, CanUnloadNowFollowsObjectsMadeOnOtherThreads)
{
    std::atomic<bool> done{ false };
    std::thread poller (
        [&done]
        {
            while (! done.load())
            {
                const ACFRESULT live = ACFCanUnloadNow();
                EXPECT_GE (live, 0);
                EXPECT_LE (live, 8);
            }
        });

    std::vector<std::thread> makers;
    for (int t = 0; t < 4; ++t)
        makers.emplace_back (
            []
            {
                for (int i = 0; i < 500; ++i)
                {
                    IACFUnknown* const parameters = AAXClasses::JuceAAX_GUI::Create();
                    IACFUnknown* const gui = AAXClasses::JuceAAX_GUI::Create();
                    void* held = nullptr;
                    parameters->QueryInterface (IID_IACFUnknown, &held);
                    gui->QueryInterface (IID_IACFUnknown, &held);
                    parameters->Release();
                    gui->Release();
                }
            });
    for (auto& maker : makers)
        maker.join();
    done = true;
    poller.join();

    EXPECT_EQ (ACFCanUnloadNow(), 0);
}
