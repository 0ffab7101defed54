#include "CommandLinePath.h"

#include <cctype>
#include <climits>
#include <cstdlib>

#include <sys/stat.h>

namespace
{
// The folder and last name of a path as the kernel splits it; a last name of "", "." or ".." is
// left in the folder, which then names the whole path.
void split (const std::string& path, std::string& folder, std::string& name)
{
    const size_t slash = path.rfind ('/');
    folder = slash == std::string::npos ? std::string (".") : path.substr (0, slash == 0 ? 1 : slash);
    name = slash == std::string::npos ? path : path.substr (slash + 1);
    if (name.empty() || name == "." || name == "..")
    {
        folder = path;
        name.clear();
    }
}

bool statFolder (const std::string& folder, struct stat& info)
{
    return ::stat (folder.c_str(), &info) == 0 && S_ISDIR (info.st_mode);
}
} // namespace

juce::File fileFromPath (const std::string& path)
{
    std::string folder;
    std::string name;
    split (path, folder, name);
    char resolved[PATH_MAX];
    if (path.empty() || ::realpath (folder.c_str(), resolved) == nullptr)
        return {};
    std::string full = resolved;
    if (! name.empty())
        full += (full == "/" ? "" : "/") + name;
    return juce::File (juce::String::fromUTF8 (full.c_str()));
}

bool hasNameEnding (const std::string& path, const std::string& ending)
{
    std::string folder;
    std::string name;
    split (path, folder, name);
    if (name.size() < ending.size() + 1 || name[name.size() - ending.size() - 1] != '.')
        return false;
    for (size_t i = 0; i < ending.size(); ++i)
        if (std::tolower (static_cast<unsigned char> (name[name.size() - ending.size() + i])) !=
            std::tolower (static_cast<unsigned char> (ending[i])))
            return false;
    return true;
}

bool namesSameFile (const std::string& one, const std::string& other)
{
    struct stat first
    {
    };
    struct stat second
    {
    };
    const bool firstExists = ::stat (one.c_str(), &first) == 0;
    const bool secondExists = ::stat (other.c_str(), &second) == 0;
    if (firstExists || secondExists)
        return firstExists && secondExists && first.st_dev == second.st_dev && first.st_ino == second.st_ino;

    std::string firstFolder, firstName, secondFolder, secondName;
    split (one, firstFolder, firstName);
    split (other, secondFolder, secondName);
    return ! firstName.empty() && firstName == secondName && statFolder (firstFolder, first) &&
           statFolder (secondFolder, second) && first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}
