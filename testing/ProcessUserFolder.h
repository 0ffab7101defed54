#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

// A private user data folder for the rest of the process: XDG_DATA_HOME points at a new folder
// under /tmp (made atomically, so processes running side by side never share one), and the folder
// is removed when the object goes. Meant as a function-local static, for processes that write
// presets files throughout their run.
class ProcessUserFolder
{
public:
    explicit ProcessUserFolder (const char* prefix)
    {
        std::string pattern = std::string ("/tmp/") + prefix + "-XXXXXX";
        if (const char* created = mkdtemp (pattern.data()))
        {
            folder = created;
            setenv ("XDG_DATA_HOME", created, 1);
        }
    }

    ~ProcessUserFolder()
    {
        std::error_code ignored;
        if (! folder.empty())
            std::filesystem::remove_all (folder, ignored);
    }

    ProcessUserFolder (const ProcessUserFolder&) = delete;
    ProcessUserFolder& operator= (const ProcessUserFolder&) = delete;

private:
    std::string folder;
};
