// Linked into a test binary that runs the engine tests on one kernel path: when this processor does
// not take that path, every test is skipped instead of testing another path under its name.
#include <gtest/gtest.h>

#include "SpectrumKernels.h"

namespace
{
class KernelLevelGuard : public ::testing::Environment
{
public:
    void SetUp() override
    {
        const auto wanted = (EngineKernelLevel) LARKSPUR_TEST_KERNEL_LEVEL;
        if (engineKernelLevel() != wanted)
            GTEST_SKIP() << "this processor does not run the kernel path under test";
    }
};

[[maybe_unused]] const auto* const guard = ::testing::AddGlobalTestEnvironment (new KernelLevelGuard);
} // namespace
