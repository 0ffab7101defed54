#include "FakeHostServices.h"
#include "TestComponents.h"

#include "AAX_Trace.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

// Components are created, shared and released on several host threads at once while those
// threads trace; the counts must come out exact.
TEST (ComponentConcurrency, CountsStayExactAcrossThreads)
{
    FakeHostServices host;
    const int32_t before = CACFUnknown::GetActiveObjectCount();
    constexpr int threadCount = 4;
    constexpr int rounds = 500;

    auto* shared = new TestEffectComponent;
    void* sharedFace = nullptr;
    ASSERT_EQ (shared->GetPrivateUnknown()->QueryInterface (AAX_IID_EffectParameters, &sharedFace), ACF_OK);
    auto* face = static_cast<TestHostFacingInterface*> (sharedFace);

    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t)
        threads.emplace_back (
            [face, t]
            {
                for (int i = 0; i < rounds; ++i)
                {
                    auto* own = new TestGuiComponent;
                    void* ownFace = nullptr;
                    own->GetPrivateUnknown()->QueryInterface (AAX_IID_EffectGUI, &ownFace);
                    face->AddRef();
                    AAX_Trace (0x8000000, "thread %d round %d", t, i);
                    face->Release();
                    static_cast<TestHostFacingInterface*> (ownFace)->Release();
                }
            });
    for (auto& thread : threads)
        thread.join();

    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), before + 1);
    EXPECT_EQ (face->Release(), 0u);
    EXPECT_EQ (CACFUnknown::GetActiveObjectCount(), before);
    EXPECT_EQ (host.traces.size(), size_t (threadCount * rounds));
}
