#pragma once

#include <string>
#include <vector>

/** larkspur-host validate [LIB] [--seed N] [--blocks N]: a strict run of the plug-in through its
    seven entry points and the host interfaces only, under everything a host and a session can throw
    at it. Prints what it did and every failure; answers the process's exit status (1 on failure,
    2 on bad usage). */
int runValidateCommand (const std::vector<std::string>& arguments, const std::string& defaultLibraryPath);

/** The options, for the usage text. */
extern const char* const validateUsage;
