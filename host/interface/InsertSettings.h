#pragma once

#include "ParameterAssignment.h"

#include <optional>
#include <string>
#include <vector>

class HostInstance;
class PendingFile;
struct HostProject;

/** The project, preset and parameter settings that the render and editor commands make on their
    insert before it runs. */
struct InsertSettings
{
    std::optional<std::string> preset;
    std::vector<ParameterAssignment> assignments;
    std::string loadProjectPath;
    std::string saveProjectPath;

    /** Takes "--preset", "--set", "--set-normalised", "--load-project" or "--save-project"; false
        for any other option, or with `problem` set for a value that cannot be taken (an empty
        project name among them). */
    bool takeOption (const std::string& option, const std::string& value, std::string& problem);

    /** Loads the project, selects the preset and makes the settings, in the order a user's session
        would, then lets the insert confirm them; false with the reason. */
    bool apply (HostInstance& instance, std::string& error) const;

    /** When a project is to be saved, makes its temporary in `file` now, so that a project that
        cannot be written fails the command before any long work; false with the reason. */
    bool makeProjectFile (std::optional<PendingFile>& file, std::string& error) const;

    /** Writes the insert's state chunks whole into `file`, the temporary of `saveProjectPath` made
        beforehand, for HostProject::commit once the files saved with it are in place; false with
        the reason. */
    bool writeProject (HostInstance& instance, PendingFile& file, std::string& error) const;

    /** The insert's state chunks as a project, for saving later; false with the reason. */
    static bool captureProject (HostInstance& instance, HostProject& project, std::string& error);
};
