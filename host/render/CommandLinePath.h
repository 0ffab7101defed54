#pragma once

#include <juce_core/juce_core.h>

#include <string>

/* Paths from the command line mean what the kernel means by them, from the working folder: no
   ".." is folded by text and no "~" expanded (the shell has done that already), so a ".." after a
   link leads where the link's target leads. */

/** The juce::File that `path` names: its folder as the kernel resolves it, and its last name as
    given. An empty File when the folder cannot be resolved. (JUCE's own path parsing folds ".."
    and expands "~" by text, so it is given only a resolved folder.) */
juce::File fileFromPath (const std::string& path);

/** Whether the last name in `path` ends in "." + `ending`, in any case ("wav" for "Take.WAV"). */
bool hasNameEnding (const std::string& path, const std::string& ending);

/** Whether two paths name the same file: the same device and inode when both exist (links
    followed, as the writers write through them), otherwise the same last name in the same folder. */
bool namesSameFile (const std::string& one, const std::string& other);
