// larkspur-host: a stand-in for an AAX host. It loads a plug-in library, drives its entry points
// as a host would and reports what happened. Traces and assertion reports from the plug-in go to
// standard error.

#include "DescriptionPrinter.h"
#include "EditorCommand.h"
#include "HostSession.h"
#include "PluginLibrary.h"
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
int usage (std::FILE* stream, int status)
{
    std::fprintf (stream, "usage: larkspur-host describe <plug-in library>\n       larkspur-host --version\n%s%s%s",
                  renderUsage, editorUsage, validateUsage);
    return status;
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
    const auto library = PluginLibrary::open (libraryPath, error);
    if (library == nullptr)
    {
        std::fprintf (stderr, "larkspur-host: %s\n", error.c_str());
        return 1;
    }

    int status = 0;
    {
        HostSession session (library->entryPoints(), HostConfiguration{}, true);

        uint64_t version = 0;
        if (session.plugin().getSDKVersion (&version) == ACF_OK)
            std::printf ("interface version: 0x%016llX\n", static_cast<unsigned long long> (version));

        if (const ACFRESULT started = session.startUp(); started != ACF_OK)
        {
            std::fprintf (stderr, "larkspur-host: ACFStartup answered %d\n", static_cast<int> (started));
            return 1;
        }

        const ACFRESULT registered = session.registerPlugin();
        if (registered != ACF_OK)
        {
            std::fprintf (stderr, "larkspur-host: ACFRegisterPlugin answered %d\n", static_cast<int> (registered));
            status = 1;
        }
        else if (session.description() == nullptr)
        {
            std::fprintf (stderr, "larkspur-host: the plug-in handed back no description\n");
            status = 1;
        }
        else
        {
            printDescription (std::cout, *session.description());
            std::cout.flush();
        }
        session.releaseDescription();

        const int32_t live = session.waitUntilUnloadable();
        if (live != 0)
        {
            std::fprintf (stderr, "larkspur-host: %d plug-in objects still alive; not shutting down\n",
                          static_cast<int> (live));
            session.abandon();
            library->keepLoaded();
            return 1;
        }
        if (const ACFRESULT stopped = session.shutDown(); stopped != ACF_OK)
        {
            std::fprintf (stderr, "larkspur-host: ACFShutdown answered %d\n", static_cast<int> (stopped));
            status = 1;
        }
    }
    return status;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc == 3 && std::strcmp (argv[1], "describe") == 0)
        return describe (argv[2]);
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
