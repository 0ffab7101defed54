#include "SteadyBlockCount.h"

std::string steadyShortfall (int checked, int wanted, const std::string& when)
{
    if (checked >= wanted)
        return {};
    return "only " + std::to_string (checked) + " blocks were processed and checked for allocations " + when +
           ", fewer than " + std::to_string (wanted);
}
