#include "InsertSettings.h"

#include "AAX_Errors.h"
#include "HostInstance.h"
#include "HostProject.h"

namespace
{
std::string joined (const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "\"" : ", \"") + name + "\"";
    return text;
}
} // namespace

bool InsertSettings::takeOption (const std::string& option, const std::string& value, std::string& problem)
{
    if (option == "--preset")
        preset = value;
    else if (option == "--set" || option == "--set-normalised")
    {
        ParameterAssignment assignment;
        if (! ParameterAssignment::parse (value, option == "--set-normalised", assignment, problem))
            return false;
        assignments.push_back (assignment);
    }
    else if (option == "--load-project")
        loadProjectPath = value;
    else if (option == "--save-project")
        saveProjectPath = value;
    else
        return false;
    return true;
}

bool InsertSettings::apply (HostInstance& instance, std::string& error) const
{
    if (! loadProjectPath.empty())
    {
        HostProject project;
        if (! project.load (loadProjectPath, error))
            return false;
        if (const AAX_Result loaded = instance.loadChunks (project); loaded != AAX_SUCCESS)
        {
            error = "the plug-in refused the project's state (" + std::to_string (loaded) + ")";
            return false;
        }
    }

    if (preset.has_value())
    {
        HostInstance::PresetList list;
        if (instance.selectPreset (*preset, list) != AAX_SUCCESS)
        {
            if (! list.problem.empty())
                error = "unknown preset \"" + *preset + "\": the preset list is empty because " + list.problem;
            else
                error = "unknown preset \"" + *preset + "\"; the presets are " + joined (list.names) + " (from " +
                        list.file + ")";
            return false;
        }
    }

    for (const ParameterAssignment& assignment : assignments)
    {
        double normalised = 0.0;
        if (! assignment.resolve (instance, normalised, error))
            return false;
        if (const AAX_Result set = instance.automate (assignment.identifier, normalised); set != AAX_SUCCESS)
        {
            error = "the plug-in refused " + assignment.identifier + " (" + std::to_string (set) + ")";
            return false;
        }
    }

    // Confirmations, packets and the band selections the settings caused, before the first block.
    for (int turn = 0; turn < 3; ++turn)
        instance.idle();
    return true;
}

bool InsertSettings::saveProject (HostInstance& instance, std::string& error) const
{
    HostProject project;
    if (const AAX_Result saved = instance.saveChunks (project); saved != AAX_SUCCESS)
    {
        error = "the plug-in gave no state (" + std::to_string (saved) + ")";
        return false;
    }
    return project.save (saveProjectPath, error);
}
