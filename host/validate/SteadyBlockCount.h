#pragma once

#include <string>

/** Which blocks of a validation run are steady, how many the plug-in itself processed, and whether
    that is as many as wanted. Kept apart from the audio run so that tests can drive it. */
class SteadyBlockCount
{
public:
    explicit SteadyBlockCount (int wanted) noexcept
        : wantedBlocks (wanted)
    {
    }

    /** Takes the block just played and answers whether it is steady, so that an allocation in it
        fails the run: from steadyFrom on, unless exempt (warm-up, or longer than any before, which
        prepares the bands afresh). A steady block counts only when the plug-in processed it: under
        the host's bypass the framework's bypassed path ran in its place. */
    bool take (int index, bool exempt, int steadyFrom, bool hostBypassed) noexcept
    {
        const bool steady = ! exempt && index >= steadyFrom;
        if (steady && ! hostBypassed)
            ++counted;
        return steady;
    }

    int count() const noexcept { return counted; }
    int wanted() const noexcept { return wantedBlocks; }
    bool reached() const noexcept { return counted >= wantedBlocks; }

private:
    int wantedBlocks;
    int counted = 0;
};

/** The failure of a part of the run that checked fewer steady blocks than wanted ("when" says which
    part), or an empty text when it checked enough. */
std::string steadyShortfall (int checked, int wanted, const std::string& when);
