#include "InsertSettings.h"

#include "AAX_Errors.h"
#include "AtomicFileWrite.h"
#include "HostInstance.h"
#include "HostProject.h"
#include "OptionScanner.h"

#include <cstdint>
#include <cstdio>

namespace
{
// Names come from a file anyone may have edited: control characters (C0, DEL and C1), the line
// and paragraph separators and the text-direction controls are shown as escapes rather than sent
// for the terminal to act on or to reorder what follows them. Quotes and backslashes are escaped
// too, so that each quoted item is one name and an escape in the list is always one of these.
bool isEscapedCodePoint (uint32_t c)
{
    return c < 0x20 || c == '"' || c == '\\' || (c >= 0x7f && c <= 0x9f) || c == 0x061c || c == 0x200e || c == 0x200f ||
           (c >= 0x2028 && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069);
}

// The code point of the UTF-8 sequence at text[i] and its length; 0 for a byte that starts none
// (shown as it is: the terminal shows it as a replacement character).
size_t decodeUtf8 (const std::string& text, size_t i, uint32_t& c)
{
    const auto lead = static_cast<unsigned char> (text[i]);
    const size_t length = lead < 0x80           ? 1
                          : (lead >> 5) == 0x6  ? 2
                          : (lead >> 4) == 0xe  ? 3
                          : (lead >> 3) == 0x1e ? 4
                                                : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    c = length == 1 ? lead : lead & (0x7fu >> length);
    for (size_t k = 1; k < length; ++k)
    {
        const auto next = static_cast<unsigned char> (text[i + k]);
        if ((next & 0xc0) != 0x80)
            return 0;
        c = (c << 6) | (next & 0x3fu);
    }
    return length;
}

std::string printable (const std::string& text)
{
    std::string shown;
    char escape[16];
    for (size_t i = 0; i < text.size();)
    {
        uint32_t c = 0;
        const size_t length = decodeUtf8 (text, i, c);
        if (length != 0 && isEscapedCodePoint (c))
        {
            std::snprintf (escape, sizeof (escape), c < 0x80 ? "\\x%02X" : "\\u%04X", static_cast<unsigned> (c));
            shown += escape;
        }
        else
            shown.append (text, i, length != 0 ? length : 1);
        i += length != 0 ? length : 1;
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
    else if (option == "--load-project" || option == "--save-project")
    {
        if (! checkFileName (option, value, problem))
            return false;
        (option == "--load-project" ? loadProjectPath : saveProjectPath) = value;
    }
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

bool InsertSettings::makeProjectFile (std::optional<PendingFile>& file, std::string& error) const
{
    if (saveProjectPath.empty())
        return true;
    file.emplace (saveProjectPath);
    if (std::string reason; ! file->create (reason))
    {
        error = "cannot write project " + saveProjectPath + ": " + reason;
        return false;
    }
    return true;
}

bool InsertSettings::writeProject (HostInstance& instance, PendingFile& file, std::string& error) const
{
    HostProject project;
    return captureProject (instance, project, error) && project.write (file, saveProjectPath, error);
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
