#include "SteadyBlockCount.h"

#include <gtest/gtest.h>

namespace
{
// One block a character: 'p' processed by the plug-in, 'b' under the host's bypass, 'x' exempt
// (warm-up or longer than any before). Answers which blocks were steady, 's' or '.', in order.
std::string play (SteadyBlockCount& count, const std::string& blocks, int steadyFrom, std::string& reachedAt)
{
    std::string steady;
    for (size_t index = 0; index < blocks.size(); ++index)
    {
        const char block = blocks[index];
        steady += count.take (static_cast<int> (index), block == 'x', steadyFrom, block == 'b') ? 's' : '.';
        if (count.reached() && reachedAt.empty())
            reachedAt = std::to_string (index);
    }
    return steady;
}

TEST (SteadyBlockCountTest, CountsOnlyTheSettledBlocksThePluginProcessed)
{
    struct Case
    {
        const char* name;
        std::string blocks;
        int steadyFrom;
        int wanted;
        std::string steady;
        int count;
        // The block on which the count reached the wanted number, empty if it never did.
        std::string reachedAt;
    };
    const Case cases[] = {
        { "before the responses settled nothing is steady", "pppp", 4, 2, "....", 0, "" },
        { "from settling on every block is steady", "pppppp", 2, 3, "..ssss", 4, "4" },
        { "bypass held through the steady part", "ppbbbbbb", 2, 3, "..ssssss", 0, "" },
        { "bypass held from before settling", "bbbbbb", 2, 1, "..ssss", 0, "" },
        { "bypass toggled", "pbpbpb", 0, 3, "ssssss", 3, "4" },
        { "exempt blocks are neither steady nor counted", "pxpxbx", 0, 3, "s.s.s.", 2, "" },
        { "a long block during bypass", "pbxbp", 1, 1, ".s.ss", 1, "4" },
        { "nothing wanted is reached at once", "p", 5, 0, ".", 0, "0" },
    };
    for (const Case& test : cases)
    {
        SteadyBlockCount count (test.wanted);
        std::string reachedAt;
        EXPECT_EQ (play (count, test.blocks, test.steadyFrom, reachedAt), test.steady) << test.name;
        EXPECT_EQ (count.count(), test.count) << test.name;
        EXPECT_EQ (count.wanted(), test.wanted) << test.name;
        EXPECT_EQ (reachedAt, test.reachedAt) << test.name;
        EXPECT_EQ (count.reached(), ! test.reachedAt.empty()) << test.name;
    }
}

TEST (SteadyBlockCountTest, FewerThanWantedFailsNamingBothCounts)
{
    struct Case
    {
        int checked;
        int wanted;
        std::string failure;
    };
    const Case cases[] = {
        { 0, 300, "only 0 blocks were processed and checked for allocations while open, fewer than 300" },
        { 299, 300, "only 299 blocks were processed and checked for allocations while open, fewer than 300" },
        { 300, 300, "" },
        { 301, 300, "" },
        { 0, 0, "" },
    };
    for (const Case& test : cases)
        EXPECT_EQ (steadyShortfall (test.checked, test.wanted, "while open"), test.failure)
            << test.checked << " of " << test.wanted;
}
} // namespace
