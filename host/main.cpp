// larkspur-host: a stand-in for an AAX host. It loads a plug-in library, drives its entry points
// as a host would and reports what happened. Traces and assertion reports from the plug-in go to
// standard error.

#include "DescriptionPrinter.h"
#include "EditorCommand.h"
#include "LoadedPlugin.h"
#include "OptionScanner.h"
#include "RenderCommand.h"
#include "ValidateCommand.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

namespace
{
const char* const describeUsage = "usage: larkspur-host describe <plug-in library>\n";

int usage (std::FILE* stream, int status)
{
    std::fprintf (stream, "%s       larkspur-host --version\n%s%s%s", describeUsage, renderUsage, editorUsage,
                  validateUsage);
    return status;
}

bool asksForHelp (int argc, char** argv)
{
    for (int index = 2; index < argc; ++index)
        if (std::strcmp (argv[index], "--help") == 0 || std::strcmp (argv[index], "-h") == 0)
            return true;
    return false;
}

// The product library of the same build: build/host/larkspur-host next to build/plugin/.
std::string defaultLibraryPath()
{
    char path[4096] = {};
    const ssize_t length = readlink ("/proc/self/exe", path, sizeof (path) - 1);
    std::string program = length > 0 ? std::string (path, static_cast<size_t> (length)) : std::string();
    const size_t slash = program.rfind ('/');
    const std::string folder = slash == std::string::npos ? std::string (".") : program.substr (0, slash);
    return folder + "/../plugin/libLarkspur.so";
}

int describe (const std::string& libraryPath)
{
    std::string error;
    const auto plugin = LoadedPlugin::open (libraryPath, error, HostConfiguration{}, true);
    if (plugin == nullptr)
    {
        std::fprintf (stderr, "larkspur-host: %s\n", error.c_str());
        return 1;
    }

    uint64_t version = 0;
    if (plugin->entryPoints().getSDKVersion (&version) == ACF_OK)
        std::printf ("interface version: 0x%016llX\n", static_cast<unsigned long long> (version));

    int status = 0;
    if (plugin->start (error))
    {
        printDescription (std::cout, plugin->description());
        std::cout.flush();
    }
    else if (! plugin->isStarted())
    {
        std::fprintf (stderr, "larkspur-host: %s\n", error.c_str());
        return 1;
    }
    else
    {
        if (plugin->registrationAnswer() != ACF_OK)
            std::fprintf (stderr, "larkspur-host: ACFRegisterPlugin answered %d\n",
                          static_cast<int> (plugin->registrationAnswer()));
        else
            std::fprintf (stderr, "larkspur-host: the plug-in handed back no description\n");
        status = 1;
    }

    if (! plugin->unload (error))
    {
        if (plugin->liveObjects() != 0)
            std::fprintf (stderr, "larkspur-host: %d plug-in objects still alive; not shutting down\n",
                          static_cast<int> (plugin->liveObjects()));
        else
            std::fprintf (stderr, "larkspur-host: %s\n", error.c_str());
        return 1;
    }
    return status;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc >= 2 && std::strcmp (argv[1], "describe") == 0 && asksForHelp (argc, argv))
    {
        std::fputs (describeUsage, stdout);
        return 0;
    }
    if (argc == 3 && std::strcmp (argv[1], "describe") == 0)
    {
        if (std::string problem; ! checkFileName ("the plug-in library", argv[2], problem))
        {
            std::fprintf (stderr, "larkspur-host describe: %s\n%s", problem.c_str(), describeUsage);
            return 2;
        }
        return describe (argv[2]);
    }
    if (argc >= 2 && std::strcmp (argv[1], "render") == 0)
        return runRenderCommand (std::vector<std::string> (argv + 2, argv + argc), defaultLibraryPath());
    if (argc >= 2 && std::strcmp (argv[1], "validate") == 0)
        return runValidateCommand (std::vector<std::string> (argv + 2, argv + argc), defaultLibraryPath());
    if (argc >= 2 && std::strcmp (argv[1], "editor") == 0)
        return runEditorCommand (std::vector<std::string> (argv + 2, argv + argc), defaultLibraryPath());
    if (argc == 2 && std::strcmp (argv[1], "--version") == 0)
    {
        std::printf ("larkspur-host %d.%d.%d\n", LARKSPUR_VERSION_MAJOR, LARKSPUR_VERSION_MINOR,
                     LARKSPUR_VERSION_PATCH);
        return 0;
    }
    if (argc == 2 && (std::strcmp (argv[1], "--help") == 0 || std::strcmp (argv[1], "-h") == 0))
        return usage (stdout, 0);
    return usage (stderr, 2);
}
