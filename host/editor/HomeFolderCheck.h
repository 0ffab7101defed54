#pragma once

#include <string>

/** Why the plug-in's editor cannot be shown with this process's HOME, or empty when it can. JUCE,
    which draws the editor, looks for fonts in folders named from "~" and expands "~" through HOME
    without checking it: a HOME of "~" recursed until the stack overflowed, and any HOME that is not
    an absolute path sends the look-ups (and the presets file) somewhere else than the user's home. */
std::string describeUnusableHome();
