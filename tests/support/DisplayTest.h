#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

/** True when DISPLAY names an X display; the display tests cannot run here otherwise. */
inline bool displayIsNamed()
{
    const char* name = std::getenv ("DISPLAY");
    return name != nullptr && *name != '\0';
}

/** A test that opens windows: without a display it reports itself skipped, test by test, which
    ctest shows as skipped (a skip in the global environment would be counted as passed). */
class DisplayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (! displayIsNamed())
            GTEST_SKIP() << "no X display: run these tests under xvfb-run";
    }
};
