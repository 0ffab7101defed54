#pragma once

#include <string>
#include <vector>

/** larkspur-host render [in.wav|in.flac] out.wav|out.flac [options]: plays an audio file (or the
    built-in test signal) through one insert of the plug-in and writes the result. Answers the
    process's exit status; errors go to standard error. */
int runRenderCommand (const std::vector<std::string>& arguments, const std::string& defaultLibraryPath);

/** The options, for the usage text. */
extern const char* const renderUsage;
