#include "ValidateCommand.h"

#include "AAX_ChunkRecord.h"
#include "AAX_Errors.h"
#include "HomeFolderCheck.h"
#include "HostCollection.h"
#include "HostEditor.h"
#include "HostInstance.h"
#include "HostProject.h"
#include "HostString.h"
#include "LoadedPlugin.h"
#include "OptionScanner.h"
#include "SteadyBlockCount.h"
#include "ValidationAudioRun.h"
#include "ValidationFuzzer.h"
#include "ValidationReport.h"
#include "X11Display.h"
#include "X11ViewWindow.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

const char* const validateUsage =
    "usage: larkspur-host validate [plug-in library] [options]\n"
    "  --library PATH  the plug-in library (default: next to this program's build)\n"
    "  --seed N        the random seed (default: from the clock; printed, so a failure can be repeated)\n"
    "  --blocks N      blocks each insert plays per pass (default 600); it then plays on until half as\n"
    "                  many, and at least 200, have been checked after its responses settled\n"
    "  --time-limit S  seconds each group of inserts, and each opening of the editor, may take to check\n"
    "                  its share of those blocks (default 120, at most 86400); a run that checked fewer by\n"
    "                  then fails\n"
    "Loads and unloads the library, runs several inserts at once at every rate of the level table and\n"
    "one more, with random block sizes from 1 to 8192, fuzzed parameters, automation, bypasses and\n"
    "state moved between inserts while audio runs, and hostile input (NaN, infinity, denormals,\n"
    "full-scale squares), and opens and closes the editor while audio runs when there is a display.\n"
    "Fails when output is not finite or passes the peak guard, when the audio thread allocates once\n"
    "responses have settled, when fewer blocks than that could be checked, or when the plug-in cannot\n"
    "be unloaded.\n";

namespace
{
// A new response plays on a scratch copy for five blocks before it takes over; a choice made
// during a hand-over waits for it to end.
constexpr int settleBlocks = 64;
/** The blocks that must be checked for allocations after the responses settled: in each insert of a
    group, and while the editor is open. */
int steadyBlocksFor (int blocks)
{
    return std::max (200, blocks / 2);
}
constexpr int loadCycles = 3;
constexpr int editorCycles = 3;
// Main-thread turns of about 2 ms each that the editor stays open.
constexpr int editorTurns = 60;

struct Options
{
    std::string libraryPath;
    unsigned long seed = 0;
    int blocks = 600;
    // Guards against a hang only: a run that cannot check its steady blocks in this time is stopped
    // and fails for having checked too few.
    std::chrono::seconds timeLimit{ 120 };
};

struct Group
{
    std::vector<float> rates;
    std::vector<int> channels;
};

std::string describeRates (const Group& group)
{
    std::string text;
    for (size_t i = 0; i < group.rates.size(); ++i)
        text += (i == 0 ? "" : ", ") + std::to_string (static_cast<int> (group.rates[i])) + " Hz " +
                (group.channels[i] == 1 ? "mono" : "stereo");
    return text;
}

// The report names the entry point that failed.
bool unload (LoadedPlugin& plugin, ValidationReport& report)
{
    ++report.checks;
    std::string error;
    if (plugin.unload (error))
        return true;
    report.fail (plugin.liveObjects() != 0 ? "ACFCanUnloadNow still counts " + std::to_string (plugin.liveObjects()) +
                                                 " live objects after tear-down"
                                           : error);
    return false;
}

bool startSession (LoadedPlugin& plugin, ValidationReport& report)
{
    ++report.checks;
    std::string error;
    if (plugin.start (error))
        return true;
    report.fail (plugin.isStarted() ? "ACFRegisterPlugin answered " + std::to_string (plugin.registrationAnswer())
                                    : error);
    return false;
}

std::unique_ptr<HostInstance> makeInsert (LoadedPlugin& plugin, float rate, int channels, ValidationReport& report)
{
    HostInstance::Options options;
    options.sampleRate = rate;
    options.channels = channels;
    std::string error;
    auto insert = plugin.createInstance (options, error);
    ++report.checks;
    if (insert == nullptr)
        report.fail ("an insert at " + std::to_string (static_cast<int> (rate)) + " Hz: " + error);
    return insert;
}

void loadAndUnload (const Options& options, ValidationReport& report)
{
    report.note ("load, play and unload the library " + std::to_string (loadCycles) + " times");
    const int before = report.failures;
    for (int cycle = 0; cycle < loadCycles; ++cycle)
    {
        std::string error;
        auto plugin = LoadedPlugin::open (options.libraryPath, error);
        if (plugin == nullptr)
        {
            report.fail (error);
            return;
        }
        if (! startSession (*plugin, report))
            return;
        {
            auto insert = makeInsert (*plugin, 48000.0f, 2, report);
            if (insert == nullptr)
                return;
            ValidationAudioRun run (*insert, options.seed + static_cast<unsigned long> (cycle), 40);
            run.start();
            while (! run.finished())
            {
                insert->idle();
                std::this_thread::sleep_for (std::chrono::milliseconds (1));
            }
            run.join();
        }
        if (! unload (*plugin, report))
            return;
    }
    if (report.failures == before)
        report.note ("  ok: ACFCanUnloadNow came back to 0 and the plug-in shut down each time");
}

void playGroup (LoadedPlugin& plugin, const Group& group, const Options& options, unsigned long seed,
                ValidationReport& report)
{
    report.note ("inserts at once: " + describeRates (group));
    const int before = report.failures;
    std::vector<std::unique_ptr<HostInstance>> inserts;
    for (size_t i = 0; i < group.rates.size(); ++i)
        if (auto insert = makeInsert (plugin, group.rates[i], group.channels[i], report))
            inserts.push_back (std::move (insert));
    if (inserts.size() != group.rates.size())
        return;

    std::vector<HostInstance*> pointers;
    std::vector<std::unique_ptr<ValidationAudioRun>> runs;
    for (size_t i = 0; i < inserts.size(); ++i)
    {
        pointers.push_back (inserts[i].get());
        runs.push_back (std::make_unique<ValidationAudioRun> (*inserts[i], seed * 31 + i, options.blocks,
                                                              steadyBlocksFor (options.blocks)));
    }
    ValidationFuzzer fuzzer (pointers, seed, report);
    for (auto& run : runs)
        run->start();

    const auto allFinished = [&runs]
    { return std::all_of (runs.begin(), runs.end(), [] (const auto& run) { return run->finished(); }); };
    const auto allPast = [&runs] (int blocks)
    {
        return std::all_of (runs.begin(), runs.end(),
                            [blocks] (const auto& run) { return run->blocksDone.load() >= blocks; });
    };
    const auto idleAll = [&inserts]
    {
        for (auto& insert : inserts)
            insert->idle();
    };
    const auto passOnHostBypasses = [&inserts, &runs]
    {
        for (size_t i = 0; i < inserts.size(); ++i)
            runs[i]->hostBypassed.store (inserts[i]->normalizedValue (masterBypass) >= 0.5);
    };

    // First half: anything goes.
    while (! allFinished() && ! allPast (options.blocks / 2))
    {
        idleAll();
        fuzzer.act();
        std::this_thread::sleep_for (std::chrono::microseconds (500));
    }

    // Second half: once the last response choices have been made and handed over, nothing may
    // allocate on the audio threads.
    // Bypassed bands play nothing, so a hand-over waits: both bypasses go off for the settling.
    fuzzer.steady = true;
    for (auto& run : runs)
        run->keepWithinLongest.store (true);
    for (auto& insert : inserts)
    {
        insert->automate (masterBypass, 0.0);
        insert->automate ("bypass", 0.0);
    }
    for (int turn = 0; turn < 50; ++turn)
    {
        idleAll();
        std::this_thread::sleep_for (std::chrono::milliseconds (2));
    }
    for (auto& run : runs)
        run->steadyFrom.store (run->blocksDone.load() + settleBlocks);
    const auto giveUpAt = std::chrono::steady_clock::now() + options.timeLimit;
    while (! allFinished())
    {
        idleAll();
        fuzzer.act();
        passOnHostBypasses();
        std::this_thread::sleep_for (std::chrono::microseconds (500));
        if (std::chrono::steady_clock::now() > giveUpAt)
            for (auto& run : runs)
                run->stopRequested.store (true);
    }
    for (auto& run : runs)
        run->join();

    long samples = 0;
    long blocksPlayed = 0;
    std::string steadyCounts;
    for (size_t i = 0; i < runs.size(); ++i)
    {
        const AudioFindings& found = runs[i]->findings();
        const std::string rate = std::to_string (static_cast<int> (group.rates[i])) + " Hz";
        const std::string which = rate + " insert: ";
        samples += found.samples;
        blocksPlayed += found.blocks;
        steadyCounts += (i == 0 ? "" : ", ") + std::to_string (found.steadyBlocks) + " at " + rate;
        report.checks += 3;
        if (const std::string shortfall =
                steadyShortfall (found.steadyBlocks, runs[i]->steadyBlocksWanted(), "after its responses settled");
            ! shortfall.empty())
            report.fail (which + shortfall);
        if (found.badBlock >= 0)
            report.fail (which + "block " + std::to_string (found.badBlock) + " (" + std::to_string (found.badSize) +
                         " samples, input " + describeInput (runs[i]->lastInput) + ") put out " +
                         describeValue (found.badValue) + " at sample " + std::to_string (found.badSample) +
                         " of channel " + std::to_string (found.badChannel + 1) + " for the input " +
                         describeValue (found.badInput) + ", not a finite sample within the peak guard");
        if (found.allocatingBlock >= 0)
            report.fail (which + "block " + std::to_string (found.allocatingBlock) + " (" +
                         std::to_string (found.allocatingSize) + " samples, no longer than an earlier one) made " +
                         std::to_string (found.allocations) + " allocations on the audio thread");
    }
    for (auto& insert : inserts)
        insert->tearDown();

    long handOverAllocations = 0;
    int handOverBlocks = 0;
    for (const auto& run : runs)
    {
        handOverAllocations += run->findings().handOverAllocations;
        handOverBlocks += run->findings().handOverBlocks;
    }
    report.note ("  blocks processed after responses settled, each checked for allocations: " + steadyCounts);
    if (report.failures == before)
        report.note ("  ok: " + std::to_string (blocksPlayed) + " blocks (" + std::to_string (samples) + " samples), " +
                     std::to_string (fuzzer.parameterChanges) + " parameter changes, " +
                     std::to_string (fuzzer.stateMoves) + " state moves, " + std::to_string (fuzzer.damagedStates) +
                     " damaged states");
    if (handOverBlocks > 0)
        report.note ("  note: while responses changed, " + std::to_string (handOverBlocks) + " blocks made " +
                     std::to_string (handOverAllocations) +
                     " allocations on the audio thread (a band's engine is rebuilt for each new response)");
}

// Opens and closes the editor in a window of the host's a few times while audio runs and the host
// automates; the audio thread must neither allocate nor put out anything unguarded meanwhile.
void openAndCloseEditor (LoadedPlugin& plugin, X11Display& display, const Options& options, ValidationReport& report)
{
    report.note ("editor opened and closed " + std::to_string (editorCycles) + " times while audio runs");
    const int before = report.failures;
    auto insert = makeInsert (plugin, 48000.0f, 2, report);
    if (insert == nullptr)
        return;

    ValidationAudioRun run (*insert, options.seed + 7, std::numeric_limits<int>::max());
    const int steadyWanted = steadyBlocksFor (options.blocks);
    // Each opening keeps the editor up until its share of the steady blocks has been checked.
    const int steadyWantedPerCycle = (steadyWanted + editorCycles - 1) / editorCycles;
    int checkedWhileOpen = 0;
    int cyclesDone = 0;
    ValidationFuzzer fuzzer ({ insert.get() }, options.seed + 7, report);
    fuzzer.steady = true;
    run.start();
    const auto turn = [&]
    {
        insert->idle();
        fuzzer.act();
        run.hostBypassed.store (insert->normalizedValue (masterBypass) >= 0.5);
        std::this_thread::sleep_for (std::chrono::milliseconds (2));
    };
    while (run.blocksDone.load() < warmUpBlocks * 4)
        turn();
    run.keepWithinLongest.store (true);
    for (int pump = 0; pump < 50; ++pump)
        turn();
    run.steadyFrom.store (run.blocksDone.load() + settleBlocks);

    bool skipped = false;
    for (int cycle = 0; cycle < editorCycles && ! skipped && report.failures == before; ++cycle)
    {
        std::string error;
        auto editor = HostEditor::create (plugin.description(), *insert, error);
        ++report.checks;
        if (editor == nullptr)
        {
            report.fail ("the GUI object: " + error);
            break;
        }
        const AAX_ViewSize size = editor->viewSize();
        const int width = static_cast<int> (std::lround (size.width));
        const int height = static_cast<int> (std::lround (size.height));
        if (width <= 0 || height <= 0)
        {
            report.note ("  skipped: the plug-in offers no editor");
            skipped = true;
            break;
        }
        X11ViewWindow window (display, width, height, "larkspur-host validate");
        if (! window.show())
        {
            report.fail ("the X server did not show the editor's window");
            break;
        }
        if (const AAX_Result attached = editor->attach (window.windowId()); attached != AAX_SUCCESS)
            report.fail ("the GUI object refused the window (" + std::to_string (attached) + ")");
        const int checkedAtOpening = run.steadyBlocksChecked.load();
        const auto checkedSinceOpening = [&] { return run.steadyBlocksChecked.load() - checkedAtOpening; };
        // The time limit cuts even the editor's least time open short.
        const auto giveUpAt = std::chrono::steady_clock::now() + options.timeLimit;
        for (int step = 0; (step < editorTurns || checkedSinceOpening() < steadyWantedPerCycle) &&
                           std::chrono::steady_clock::now() < giveUpAt && window.handleEvents();
             ++step)
        {
            editor->idle();
            turn();
        }
        checkedWhileOpen += checkedSinceOpening();
        if (const AAX_Result detached = editor->detach(); detached != AAX_SUCCESS)
            report.fail ("taking the editor out of its window answered " + std::to_string (detached));
        editor->tearDown();
        window.destroy();
        for (int step = 0; step < 5; ++step)
            turn();
        ++cyclesDone;
    }
    run.stopRequested.store (true);
    run.join();
    insert->tearDown();

    const AudioFindings& found = run.findings();
    report.checks += 3;
    if (cyclesDone == editorCycles)
    {
        report.note ("  blocks processed while the editor was open, each checked for allocations: " +
                     std::to_string (checkedWhileOpen));
        if (const std::string shortfall = steadyShortfall (checkedWhileOpen, steadyWanted, "while the editor was open");
            ! shortfall.empty())
            report.fail (shortfall);
    }
    if (found.badBlock >= 0)
        report.fail ("block " + std::to_string (found.badBlock) + " put out " + describeValue (found.badValue) +
                     " while the editor opened or closed");
    if (found.allocatingBlock >= 0)
        report.fail ("block " + std::to_string (found.allocatingBlock) + " made " + std::to_string (found.allocations) +
                     " allocations on the audio thread while the editor opened or closed");
    if (report.failures == before && ! skipped)
        report.note ("  ok: " + std::to_string (found.blocks) + " blocks played meanwhile");
}

constexpr unsigned long long maxBlocks = 100000;
constexpr unsigned long long maxTimeLimitSeconds = 86400;

bool parseOptions (const std::vector<std::string>& arguments, Options& options, std::string& error)
{
    OptionScanner scanner;
    scanner.valueOptions = { "--library", "--seed", "--blocks", "--time-limit" };
    const auto setLibrary = [&options] (const std::string& path, std::string& problem)
    {
        if (! options.libraryPath.empty())
        {
            problem = "only one library can be validated";
            return false;
        }
        if (! checkFileName ("the plug-in library", path, problem))
            return false;
        options.libraryPath = path;
        return true;
    };
    const auto onOption =
        [&options, &setLibrary] (const std::string& option, const std::string& value, std::string& problem)
    {
        if (option == "--library")
            return setLibrary (value, problem);
        char* end = nullptr;
        const unsigned long long number = std::strtoull (value.c_str(), &end, 10);
        // A day at most: the deadline is the clock's now plus the limit, which far larger values
        // overflow into the past, failing every insert for checking too few blocks.
        const bool blocks = option == "--blocks";
        if (value.empty() || *end != '\0' || (blocks && (number < 1 || number > maxBlocks)) ||
            (option == "--time-limit" && number > maxTimeLimitSeconds))
        {
            problem = option + " takes a whole number" +
                      (blocks                     ? " from 1 to " + std::to_string (maxBlocks)
                       : option == "--time-limit" ? " of seconds up to " + std::to_string (maxTimeLimitSeconds)
                                                  : std::string()) +
                      ", got '" + value + "'";
            return false;
        }
        if (option == "--seed")
            options.seed = static_cast<unsigned long> (number);
        else if (option == "--time-limit")
            options.timeLimit = std::chrono::seconds (static_cast<long> (number));
        else
            options.blocks = static_cast<int> (number);
        return true;
    };
    return scanner.scan (arguments, onOption, setLibrary, error);
}
} // namespace

int runValidateCommand (const std::vector<std::string>& arguments, const std::string& defaultLibraryPath)
{
    for (const std::string& argument : arguments)
        if (argument == "--help" || argument == "-h")
        {
            std::fputs (validateUsage, stdout);
            return 0;
        }

    Options options;
    options.seed = static_cast<unsigned long> (std::time (nullptr));
    std::string error;
    if (! parseOptions (arguments, options, error))
    {
        std::fprintf (stderr, "larkspur-host validate: %s\n%s", error.c_str(), validateUsage);
        return 2;
    }
    if (options.libraryPath.empty())
        options.libraryPath = defaultLibraryPath;

    ValidationReport report;
    report.note ("validating " + options.libraryPath + " with seed " + std::to_string (options.seed));

    // Before the plug-in is loaded, so that its copy of JUCE finds the window manager's atoms.
    std::unique_ptr<X11Display> display;
    std::string displayProblem = "DISPLAY is not set";
    if (std::getenv ("DISPLAY") != nullptr)
        display = X11Display::open (displayProblem);

    loadAndUnload (options, report);

    if (report.failures == 0)
    {
        auto plugin = LoadedPlugin::open (options.libraryPath, error);
        if (plugin == nullptr)
            report.fail (error);
        else if (startSession (*plugin, report))
        {
            // Every rate of the level table and one outside it, mono and stereo, a few at once.
            const std::vector<Group> groups{
                { { 44100.0f, 48000.0f, 32000.0f }, { 2, 2, 2 } },
                { { 88200.0f, 96000.0f, 48000.0f }, { 2, 2, 1 } },
                { { 176400.0f, 192000.0f }, { 2, 2 } },
            };
            unsigned long seed = options.seed;
            for (const Group& group : groups)
                playGroup (*plugin, group, options, ++seed, report);
            if (display == nullptr)
                report.note ("editor: skipped, there is no display (" + displayProblem + ")");
            else if (const std::string home = describeUnusableHome(); ! home.empty())
                report.note ("editor: skipped, " + home);
            else
                openAndCloseEditor (*plugin, *display, options, report);
            unload (*plugin, report);
        }
    }

    std::printf ("%s: %d checks, %d failed (seed %lu)\n",
                 report.failures == 0 ? "validation passed" : "VALIDATION FAILED", report.checks, report.failures,
                 options.seed);
    return report.failures == 0 ? 0 : 1;
}
