#include "EditorCommand.h"

#include "AAX_Errors.h"
#include "AtomicFileWrite.h"
#include "CommandFiles.h"
#include "HomeFolderCheck.h"
#include "HostCollection.h"
#include "HostEditor.h"
#include "HostInstance.h"
#include "HostProject.h"
#include "InsertSettings.h"
#include "InterruptGuard.h"
#include "LiveInsertAudio.h"
#include "LoadedPlugin.h"
#include "OptionScanner.h"
#include "PngImageWriter.h"
#include "TestSignal.h"
#include "X11Display.h"
#include "X11ViewWindow.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <optional>

#include <poll.h>

const char* const editorUsage =
    "usage: larkspur-host editor [plug-in library] [options]\n"
    "  --preset NAME        choose a preset of the plug-in's preset list by name\n"
    "  --set ID=VALUE       set a parameter in plain units (dB, Hz, on/off, a type such as LP)\n"
    "  --mono               a mono insert (default stereo)\n"
    "  --load-project FILE  load state chunks before the preset and settings are made\n"
    "  --save-project FILE  save the insert's state chunks when the window is closed\n"
    "  --snapshot FILE.png  write the window's picture once the editor has painted, then close (a\n"
    "                       pointer over the window is moved off it meanwhile, so no hover shows)\n"
    "Opens the plug-in's editor in a window on $DISPLAY and runs until the window is closed, with\n"
    "the built-in test signal playing through the insert.\n";

namespace
{
using Clock = std::chrono::steady_clock;

constexpr float hostRate = 48000.0f;
constexpr int blockSize = 512;
// The main thread's turn: X events, the plug-in's messages, the host's idle work.
constexpr int turnMilliseconds = 5;
// A snapshot is taken once two grabs this far apart agree three times in a row.
constexpr auto grabInterval = std::chrono::milliseconds (20);
constexpr int stableGrabsNeeded = 3;
constexpr auto paintTimeout = std::chrono::seconds (10);
// The host window's own colour, which the editor covers when it paints.
constexpr uint32_t hostBackground = 0xFF000000u;

struct EditorOptions
{
    std::string libraryPath;
    InsertSettings settings;
    bool mono = false;
    std::string snapshotPath;
};

int fail (const std::string& message)
{
    std::fprintf (stderr, "larkspur-host editor: %s\n", message.c_str());
    return 1;
}

bool parseOptions (const std::vector<std::string>& arguments, EditorOptions& options, std::string& error)
{
    OptionScanner scanner;
    scanner.valueOptions = { "--preset", "--set", "--load-project", "--save-project", "--snapshot" };
    scanner.flags = { "--mono" };
    std::vector<std::string> positional;
    const auto onOption = [&options] (const std::string& option, const std::string& value, std::string& problem)
    {
        if (option == "--mono")
            options.mono = true;
        else if (option == "--snapshot")
        {
            if (! checkFileName (option, value, problem))
                return false;
            options.snapshotPath = value;
        }
        else
            return options.settings.takeOption (option, value, problem);
        return true;
    };
    if (! scanner.scan (arguments, onOption, positional, error))
        return false;
    if (positional.size() > 1)
    {
        error = "only one plug-in library can be given";
        return false;
    }
    if (positional.size() == 1)
    {
        if (! checkFileName ("the plug-in library", positional[0], error))
            return false;
        options.libraryPath = positional[0];
    }
    return true;
}

// Why the snapshot or project cannot be written, before the window opens: what is in their place
// (the writers replace only regular files), or that one is a file the editor reads, or each other.
// Empty when both can be.
std::string refusalBeforeWindow (const EditorOptions& options)
{
    CommandFiles files;
    files.reads (options.libraryPath, "the plug-in library");
    files.writes (options.snapshotPath, options.snapshotPath, "the snapshot");
    files.addProjects (options.settings);
    return files.refusal();
}

// The files the window's closing writes, with their temporaries made before it opens.
struct EditorFiles
{
    std::optional<PendingFile> snapshot;
    std::optional<PendingFile> project;
    // Set once their writing has begun: a signal noted before that leaves them unwritten, and one
    // noted later no longer stops them.
    bool writing = false;
};

// Writes the snapshot (when taken) and the project (when saved) into their temporaries whole, and
// renames them into place only then, so that one that cannot be written leaves the other as it was.
int saveFiles (const EditorOptions& options, HostInstance& instance, const std::vector<unsigned char>* png,
               EditorFiles& files)
{
    std::string reason;
    if (png != nullptr && ! files.snapshot->fill (png->data(), png->size(), reason))
        return fail ("cannot write " + options.snapshotPath + ": " + reason);
    std::string error;
    if (files.project)
    {
        // Changes made in the window that the host has not yet confirmed arrive first.
        for (int turn = 0; turn < 3; ++turn)
            instance.idle();
        if (! options.settings.writeProject (instance, *files.project, error))
            return fail (error);
    }
    if (png != nullptr && ! files.snapshot->commit (reason))
        return fail ("cannot write " + options.snapshotPath + ": " + reason);
    if (files.project && ! HostProject::commit (*files.project, options.settings.saveProjectPath, error))
        return fail (error);
    return 0;
}

// Decides when the editor has finished painting: its pixels have covered the host window's
// colour and then stayed the same for a few grabs.
class PaintWatcher
{
public:
    explicit PaintWatcher (const X11ViewWindow& viewWindow)
        : window (viewWindow)
    {
    }

    // True once the picture is complete; it is then in `picture()`.
    bool check (Clock::time_point now)
    {
        if (now < nextGrab)
            return false;
        nextGrab = now + grabInterval;
        if (! window.grab (current))
            return false;
        const bool painted =
            std::any_of (current.begin(), current.end(), [] (uint32_t pixel) { return pixel != hostBackground; });
        stableGrabs = painted && current == previous ? stableGrabs + 1 : 0;
        previous.swap (current);
        return stableGrabs >= stableGrabsNeeded;
    }

    const std::vector<uint32_t>& picture() const noexcept { return previous; }

private:
    const X11ViewWindow& window;
    std::vector<uint32_t> previous;
    std::vector<uint32_t> current;
    int stableGrabs = 0;
    Clock::time_point nextGrab{};
};

// Shows the editor until the window is closed (or the snapshot is taken), with audio running, and
// then writes the snapshot and the project through their temporaries.
int showEditor (X11Display& display, HostCollection& description, HostInstance& instance, const EditorOptions& options,
                EditorFiles& files)
{
    std::string error;
    auto editor = HostEditor::create (description, instance, error);
    if (editor == nullptr)
        return fail (error);
    const AAX_ViewSize size = editor->viewSize();
    const int width = static_cast<int> (std::lround (size.width));
    const int height = static_cast<int> (std::lround (size.height));
    if (width <= 0 || height <= 0)
        return fail ("the plug-in has no editor to show");

    const auto& names = description.effects.front().second->names;
    X11ViewWindow window (display, width, height, names.empty() ? std::string ("larkspur-host") : names.front());
    if (! window.show())
        return fail ("the X server did not show the window");

    const bool snapshot = ! options.snapshotPath.empty();
    if (snapshot)
        window.movePointerOff();

    LiveInsertAudio audio (instance, makeTestSignal (hostRate, instance.channels()), blockSize);
    if (const AAX_Result attached = editor->attach (window.windowId()); attached != AAX_SUCCESS)
        return fail ("the GUI object refused the window (" + std::to_string (attached) + ")");

    PaintWatcher watcher (window);
    const auto attachedAt = Clock::now();
    int status = 0;
    std::vector<unsigned char> png;
    bool pictured = false;
    pollfd connection{ display.connectionNumber(), POLLIN, 0 };
    while (window.handleEvents() && InterruptGuard::caughtSignal() == 0)
    {
        editor->idle();
        instance.idle();
        if (snapshot)
        {
            const auto now = Clock::now();
            if (watcher.check (now))
            {
                pictured = encodePngImage (options.snapshotPath, watcher.picture(), width, height, png, error);
                if (! pictured)
                    status = fail (error);
                break;
            }
            if (now - attachedAt > paintTimeout)
            {
                status = fail ("the editor did not finish painting within " +
                               std::to_string (std::chrono::seconds (paintTimeout).count()) + " seconds");
                break;
            }
        }
        poll (&connection, 1, turnMilliseconds);
    }

    // A window closed before the editor had painted takes no snapshot, as before. A signal that
    // came after the picture still means that the user wants nothing written.
    if (status == 0 && InterruptGuard::caughtSignal() == 0)
    {
        files.writing = true;
        status = saveFiles (options, instance, pictured ? &png : nullptr, files);
    }

    editor->tearDown();
    window.restorePointer();
    window.destroy();
    audio.stop();
    return status;
}
} // namespace

int runEditorCommand (const std::vector<std::string>& arguments, const std::string& defaultLibraryPath)
{
    for (const std::string& argument : arguments)
        if (argument == "--help" || argument == "-h")
        {
            std::fputs (editorUsage, stdout);
            return 0;
        }

    // Past a file-size limit a write then fails with a reason instead of ending the process
    // with its temporaries left behind.
    std::signal (SIGXFSZ, SIG_IGN);

    EditorOptions options;
    std::string error;
    if (! parseOptions (arguments, options, error))
    {
        std::fprintf (stderr, "larkspur-host editor: %s\n%s", error.c_str(), editorUsage);
        return 2;
    }
    if (options.libraryPath.empty())
        options.libraryPath = defaultLibraryPath;

    if (const std::string refusal = refusalBeforeWindow (options); ! refusal.empty())
        return fail (refusal);
    if (const std::string home = describeUnusableHome(); ! home.empty())
        return fail ("cannot open the editor: " + home);

    // Before the plug-in is loaded: its copy of JUCE must find the window-manager atoms.
    auto display = X11Display::open (error);
    if (display == nullptr)
    {
        std::fprintf (stderr,
                      "larkspur-host editor: %s\n"
                      "The editor needs an X display. Without a desktop, run it under a virtual one:\n"
                      "  xvfb-run -a larkspur-host editor --snapshot editor.png\n",
                      error.c_str());
        return 1;
    }

    // From here on a signal that would end the editor at once is noted instead, so that the
    // temporaries below are removed before it ends the editor.
    InterruptGuard interrupts;

    // Before the window opens, not when it closes after the user has set everything by eye.
    EditorFiles files;
    if (! options.settings.makeProjectFile (files.project, error))
        return fail (error);
    if (! options.snapshotPath.empty())
        if (std::string reason; ! files.snapshot.emplace (options.snapshotPath).create (reason))
            return fail ("cannot write " + options.snapshotPath + ": " + reason);

    const auto plugin = LoadedPlugin::open (options.libraryPath, error, HostConfiguration{}, true);
    if (plugin == nullptr || ! plugin->start (error))
        return fail (error);

    HostInstance::Options instanceOptions;
    instanceOptions.sampleRate = hostRate;
    instanceOptions.channels = options.mono ? 1 : 2;
    auto instance = plugin->createInstance (instanceOptions, error);
    if (instance == nullptr)
        return fail (error);

    int status = options.settings.apply (*instance, error) ? 0 : fail (error);
    if (status == 0 && InterruptGuard::caughtSignal() == 0)
        status = showEditor (*display, plugin->description(), *instance, options, files);

    instance.reset();
    if (! plugin->unload (error))
        status = fail (error);

    if (InterruptGuard::caughtSignal() != 0 && ! files.writing)
    {
        const std::string first = files.snapshot ? options.snapshotPath : "project " + options.settings.saveProjectPath;
        if (files.snapshot || files.project)
            std::fprintf (stderr, "larkspur-host editor: interrupted; %s was not written%s\n", first.c_str(),
                          files.snapshot && files.project ? ", nor the project" : "");
        // Ending by the signal runs no destructors: the temporaries go first.
        files.snapshot.reset();
        files.project.reset();
        interrupts.endByCaughtSignal();
    }
    return status;
}
