#include "InsertSettings.h"

#include "AAX_Errors.h"
#include "HostInstance.h"
#include "HostProject.h"

#include <cstdio>

namespace
{
// Names come from a file anyone may have edited: control characters (C0, DEL and the UTF-8 form
// of C1) are shown as escapes rather than sent for the terminal to act on.
std::string printable (const std::string& text)
{
    std::string shown;
    char escape[8];
    for (size_t i = 0; i < text.size(); ++i)
    {
        const auto byte = static_cast<unsigned char> (text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char> (text[i + 1]) : 0;
        if (byte < 0x20 || byte == 0x7f)
        {
            std::snprintf (escape, sizeof (escape), "\\x%02X", byte);
            shown += escape;
        }
        else if (byte == 0xc2 && next >= 0x80 && next <= 0x9f)
        {
            std::snprintf (escape, sizeof (escape), "\\u%04X", static_cast<unsigned> (next));
            shown += escape;
            ++i;
        }
        else
            shown += text[i];
    }
    return shown;
}

std::string joined (const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "\"" : ", \"") + printable (name) + "\"";
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
            const std::string unknown = "unknown preset \"" + printable (*preset) + "\"";
            if (! list.problem.empty())
                error = unknown + ": the preset list is empty because " + printable (list.problem);
            else
                error = unknown + "; the presets are " + joined (list.names) + " (from " + printable (list.file) + ")";
            if (list.problem.empty() && list.numInFile > list.names.size())
                error += "; " + std::to_string (list.numInFile - list.names.size()) + " more presets in the file are " +
                         "not listed, since the list holds the first " + std::to_string (list.names.size());
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
    return captureProject (instance, project, error) && project.save (saveProjectPath, error);
}

bool InsertSettings::captureProject (HostInstance& instance, HostProject& project, std::string& error)
{
    if (const AAX_Result saved = instance.saveChunks (project); saved != AAX_SUCCESS)
    {
        error = "the plug-in gave no state (" + std::to_string (saved) + ")";
        return false;
    }
    return true;
}
