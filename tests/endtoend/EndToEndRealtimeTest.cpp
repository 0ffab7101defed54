// The audio road through the process procedure allocates nothing once the bands have their
// responses, whatever the host automates and posts between blocks.

#include "AAX_Errors.h"
#include "AllocationCounter.h"
#include "EndToEndFixture.h"

using namespace endtoend;

TEST_F (EndToEnd, SteadyBlocksThroughTheProcessProcedureAllocateNothing)
{
    auto insert = makeInstance();
    ASSERT_NE (insert, nullptr);

    constexpr int block = 512;
    constexpr int blocks = 80;
    const auto input = testSignal (block * blocks);
    juce::AudioBuffer<float> output (2, block * blocks);

    const auto processBlock = [&] (int index)
    {
        const float* inputs[] = { input.getReadPointer (0, index * block), input.getReadPointer (1, index * block) };
        float* outputs[] = { output.getWritePointer (0, index * block), output.getWritePointer (1, index * block) };
        AllocationCounter allocations;
        insert->process (inputs, outputs, block);
        return allocations.count();
    };

    // The first block loads every band's response, which allocates; it also shows that the counter
    // sees the plug-in library's allocations.
    EXPECT_GT (processBlock (0), 0);
    for (int index = 1; index < 10; ++index)
        processBlock (index);

    long steady = 0;
    for (int index = 10; index < blocks; ++index)
    {
        // Host work between blocks: automation of gains and the master bypass, packets posted.
        ASSERT_EQ (insert->automate ("gain_L", (index % 10) / 10.0), AAX_SUCCESS);
        ASSERT_EQ (insert->automate ("out_1_2", (index % 7) / 7.0), AAX_SUCCESS);
        ASSERT_EQ (insert->automate ("MasterBypassID", index % 13 == 0 ? 1.0 : 0.0), AAX_SUCCESS);
        insert->effect().DispatchPackets();
        steady += processBlock (index);
    }
    EXPECT_EQ (steady, 0);
}
