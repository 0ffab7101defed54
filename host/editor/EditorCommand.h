#pragma once

#include <string>
#include <vector>

/** larkspur-host editor [library] [options]: shows the plug-in's editor in an X11 window, with
    audio running through the insert, until the window is closed; or takes a snapshot of it.
    Answers the process's exit status; errors go to standard error. */
int runEditorCommand (const std::vector<std::string>& arguments, const std::string& defaultLibraryPath);

/** The options, for the usage text. */
extern const char* const editorUsage;
