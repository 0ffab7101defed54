#include "HomeFolderCheck.h"

#include <cstdlib>

std::string describeUnusableHome()
{
    // Without HOME, JUCE takes the account's home folder, which is absolute.
    const char* const home = std::getenv ("HOME");
    if (home == nullptr || home[0] == '/')
        return {};
    return "HOME is '" + std::string (home) +
           "', not an absolute path; the editor looks for its fonts and presets through it";
}
