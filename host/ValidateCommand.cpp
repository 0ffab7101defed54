#include "ValidateCommand.h"

#include "AAX_ChunkRecord.h"
#include "AAX_Errors.h"
#include "HostCollection.h"
#include "HostEditor.h"
#include "HostInstance.h"
#include "HostProject.h"
#include "HostSession.h"
#include "HostString.h"
#include "PluginLibrary.h"
#include "ThreadAllocationCount.h"
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
    "  --seed N      the random seed (default: from the clock; printed, so a failure can be repeated)\n"
    "  --blocks N    blocks each insert plays per pass (default 600)\n"
    "Loads and unloads the library, runs several inserts at once at every rate of the level table and\n"
    "one more, with random block sizes from 1 to 8192, fuzzed parameters, automation, bypasses and\n"
    "state moved between inserts while audio runs, and hostile input (NaN, infinity, denormals,\n"
    "full-scale squares), and opens and closes the editor while audio runs when there is a display.\n"
    "Fails when output is not finite or passes the peak guard, when the audio thread allocates once\n"
    "responses have settled, or when the plug-in cannot be unloaded.\n";

namespace
{
constexpr int maxBlock = 8192;
// A block longer than the plug-in was prepared for is prepared for on the audio thread; the
// first blocks of an insert set up its bands.
constexpr int warmUpBlocks = 16;
// A new response plays on a scratch copy for five blocks before it takes over; a choice made
// during a hand-over waits for it to end.
constexpr int settleBlocks = 64;
// The processor's peak guard holds every block to a peak of 10 (+20 dB).
constexpr float peakGuard = 10.0f;
constexpr int loadCycles = 3;
constexpr int editorCycles = 3;
// Main-thread turns of about 2 ms each that the editor stays open.
constexpr int editorTurns = 60;
const char* const masterBypass = "MasterBypassID";

struct Options
{
    std::string libraryPath;
    unsigned long seed = 0;
    int blocks = 600;
};

// Failures are collected, printed as they come and counted.
class Report
{
public:
    void fail (const std::string& what)
    {
        ++failures;
        std::printf ("  FAILED: %s\n", what.c_str());
        std::fflush (stdout);
    }

    void note (const std::string& what)
    {
        std::printf ("%s\n", what.c_str());
        std::fflush (stdout);
    }

    int failures = 0;
    int checks = 0;
};

std::string describeValue (double value)
{
    char text[64];
    std::snprintf (text, sizeof (text), "%g", value);
    return text;
}

// What the audio thread found, written only by it and read after it ends: nothing here allocates.
struct AudioFindings
{
    int blocks = 0;
    long samples = 0;
    int exempt = 0;
    int badBlock = -1;
    int badSize = 0;
    int badChannel = 0;
    int badSample = 0;
    float badValue = 0.0f;
    float badInput = 0.0f;
    int allocatingBlock = -1;
    int allocatingSize = 0;
    long allocations = 0;
    // Allocations in blocks while responses were being changed, which the engine's restart on
    // a new response makes; reported, not failed.
    long handOverAllocations = 0;
    int handOverBlocks = 0;
};

enum class InputKind
{
    noise,
    square,
    silence,
    notANumber,
    infinity,
    denormal,
    count
};

const char* describeInput (InputKind kind)
{
    switch (kind)
    {
        case InputKind::noise:
            return "noise";
        case InputKind::square:
            return "a full-scale square";
        case InputKind::silence:
            return "silence";
        case InputKind::notANumber:
            return "NaN";
        case InputKind::infinity:
            return "infinity";
        case InputKind::denormal:
            return "denormals";
        default:
            return "?";
    }
}

// One insert played on a real-time thread of its own: random block sizes, hostile input, and the
// output and the thread's allocations checked after every block.
class AudioRun
{
public:
    AudioRun (HostInstance& insert, unsigned long seed, int blockCount)
        : instance (insert)
        , random (seed)
        , blocks (blockCount)
        , inputs (static_cast<size_t> (insert.channels()), std::vector<float> (maxBlock))
        , outputs (static_cast<size_t> (insert.channels()), std::vector<float> (maxBlock))
        , inputPointers (static_cast<size_t> (insert.channels()))
        , outputPointers (static_cast<size_t> (insert.channels()))
    {
        for (size_t channel = 0; channel < inputs.size(); ++channel)
        {
            inputPointers[channel] = inputs[channel].data();
            outputPointers[channel] = outputs[channel].data();
        }
    }

    void start()
    {
        thread = std::thread ([this] { run(); });
    }

    void join()
    {
        if (thread.joinable())
            thread.join();
    }

    bool finished() const noexcept { return done.load (std::memory_order_acquire); }
    const AudioFindings& findings() const noexcept { return found; }
    int blockCount() const noexcept { return blocks; }

private:
    int chooseBlockSize()
    {
        // Mostly the sizes hosts use, often odd ones, now and then very long ones.
        const int bucket = std::uniform_int_distribution<int> (0, 9) (random);
        if (bucket < 6)
            return std::uniform_int_distribution<int> (1, 512) (random);
        if (bucket < 9)
            return std::uniform_int_distribution<int> (513, 4096) (random);
        return std::uniform_int_distribution<int> (4097, maxBlock) (random);
    }

    void fillInput (InputKind kind, int size)
    {
        std::uniform_real_distribution<float> sample (-1.0f, 1.0f);
        const int period = std::uniform_int_distribution<int> (2, 400) (random);
        for (auto& channel : inputs)
            for (int i = 0; i < size; ++i)
            {
                float value = 0.0f;
                switch (kind)
                {
                    case InputKind::noise:
                        value = sample (random);
                        break;
                    case InputKind::square:
                        value = (phase + i) % period < period / 2 ? 1.0f : -1.0f;
                        break;
                    case InputKind::notANumber:
                        value = i % 7 == 0 ? std::numeric_limits<float>::quiet_NaN() : sample (random);
                        break;
                    case InputKind::infinity:
                        value = i % 5 == 0 ? (i % 2 == 0 ? 1.0f : -1.0f) * std::numeric_limits<float>::infinity()
                                           : sample (random);
                        break;
                    case InputKind::denormal:
                        value = (i % 2 == 0 ? 1.0f : -1.0f) * std::numeric_limits<float>::denorm_min() *
                                static_cast<float> (1 + i % 1000);
                        break;
                    default:
                        break;
                }
                channel[static_cast<size_t> (i)] = value;
            }
        phase += size;
    }

    void run()
    {
        int longest = 0;
        InputKind kind = InputKind::noise;
        for (int index = 0; index < blocks && ! stopRequested.load (std::memory_order_acquire); ++index)
        {
            if (index % 8 == 0)
                kind = static_cast<InputKind> (
                    std::uniform_int_distribution<int> (0, static_cast<int> (InputKind::count) - 1) (random));
            int size = chooseBlockSize();
            if (keepWithinLongest.load (std::memory_order_acquire) && longest > 0)
                size = std::min (size, longest);
            fillInput (kind, size);

            const bool exempt = index < warmUpBlocks || size > longest;
            longest = std::max (longest, size);
            const long before = allocationsOnThisThread();
            instance.process (inputPointers.data(), outputPointers.data(), size);
            const long allocated = allocationsOnThisThread() - before;

            found.blocks = index + 1;
            found.samples += size;
            found.exempt += exempt ? 1 : 0;
            if (allocated > 0 && ! exempt)
            {
                if (index < steadyFrom.load (std::memory_order_acquire))
                {
                    found.handOverAllocations += allocated;
                    ++found.handOverBlocks;
                }
                else if (found.allocatingBlock < 0)
                {
                    found.allocatingBlock = index;
                    found.allocatingSize = size;
                    found.allocations = allocated;
                }
            }
            for (size_t channel = 0; channel < outputs.size() && found.badBlock < 0; ++channel)
                for (int i = 0; i < size; ++i)
                {
                    const float value = outputs[channel][static_cast<size_t> (i)];
                    const float in = inputs[channel][static_cast<size_t> (i)];
                    // A bypassed block passes its input through untouched, NaN and all.
                    const bool passedThrough = value == in || (std::isnan (value) && std::isnan (in));
                    if (! passedThrough && (! std::isfinite (value) || std::abs (value) > peakGuard * 1.0001f))
                    {
                        found.badBlock = index;
                        found.badSize = size;
                        found.badChannel = static_cast<int> (channel);
                        found.badValue = value;
                        found.badInput = in;
                        found.badSample = i;
                        lastInput = kind;
                        break;
                    }
                }
            blocksDone.store (index + 1, std::memory_order_release);
        }
        done.store (true, std::memory_order_release);
    }

public:
    InputKind lastInput = InputKind::noise;
    // Blocks played so far, and the first block from which no response can be changing: from there
    // on every allocation fails the run.
    std::atomic<int> blocksDone{ 0 };
    std::atomic<int> steadyFrom{ std::numeric_limits<int>::max() };
    // Set for the steady part: a longer block prepares the bands afresh on the audio thread, and
    // their responses are chosen again on the main thread and loaded after it.
    std::atomic<bool> keepWithinLongest{ false };
    // Ends a run of unbounded length after the block under way.
    std::atomic<bool> stopRequested{ false };

private:
    HostInstance& instance;
    std::mt19937 random;
    int blocks;
    int phase = 0;
    std::vector<std::vector<float>> inputs;
    std::vector<std::vector<float>> outputs;
    std::vector<const float*> inputPointers;
    std::vector<float*> outputPointers;
    AudioFindings found;
    std::atomic<bool> done{ false };
    std::thread thread;
};

// The host's side while audio runs: parameters fuzzed through the effect-parameters interface and
// as automation, bypasses toggled, state moved between inserts, damaged state offered.
class MainThreadFuzzer
{
public:
    MainThreadFuzzer (std::vector<HostInstance*> inserts, unsigned long seed, Report& reportTo)
        : instances (std::move (inserts))
        , random (seed)
        , report (reportTo)
    {
        identifiers = instances.front()->parameterIds();
    }

    // In the steady part only steady automation happens: no state is moved or damaged.
    bool steady = false;

    void act()
    {
        HostInstance& insert = *instances[pick (instances.size())];
        if (! steady && sweepPosition < identifiers.size() * std::size (sweepValues))
        {
            sweep (insert);
            return;
        }
        int choice = std::uniform_int_distribution<int> (0, 9) (random);
        if (steady && (choice == 6 || choice == 7))
            choice = 9;
        switch (choice)
        {
            case 0:
            case 1:
                setThroughInterface (insert);
                break;
            case 2:
            case 3:
            case 4:
                automate (insert);
                break;
            case 5:
                toggleBypasses (insert);
                break;
            case 6:
                moveState (insert);
                break;
            case 7:
                offerDamagedState (insert);
                break;
            case 8:
                convertStrings (insert);
                break;
            default:
                checkValues (insert);
                break;
        }
    }

    int parameterChanges = 0;
    int stateMoves = 0;
    int damagedStates = 0;

private:
    size_t pick (size_t count) { return std::uniform_int_distribution<size_t> (0, count - 1) (random); }

    double anyValue()
    {
        static const double extremes[] = { 0.0,
                                           1.0,
                                           -1.0,
                                           2.0,
                                           0.5,
                                           1.0e30,
                                           -1.0e30,
                                           std::numeric_limits<double>::denorm_min(),
                                           std::numeric_limits<double>::max(),
                                           std::numeric_limits<double>::quiet_NaN(),
                                           std::numeric_limits<double>::infinity(),
                                           -std::numeric_limits<double>::infinity() };
        if (std::uniform_int_distribution<int> (0, 2) (random) == 0)
            return extremes[pick (std::size (extremes))];
        return std::uniform_real_distribution<double> (0.0, 1.0) (random);
    }

    // What automation does while a mix plays: levels, phases and bypasses. Everything else can
    // choose a band's response or start or stop bands (routing, solo, band switches), and with
    // them the loading of a response waiting for its band.
    static bool isSteadyAutomation (const std::string& identifier)
    {
        for (const char* steadyIdentifier : { "input_level", "gain", "gain_L", "gain_R", "link_gain", "phase",
                                              "phase_L", "phase_R", "bypass", masterBypass })
            if (identifier == steadyIdentifier)
                return true;
        return identifier.rfind ("out_", 0) == 0;
    }

    // Any parameter; in the steady part only steady automation, unless the value is one that must
    // be refused anyway.
    const std::string& anyIdentifier (double value)
    {
        while (true)
        {
            const std::string& identifier = identifiers[pick (identifiers.size())];
            if (! steady || ! std::isfinite (value) || isSteadyAutomation (identifier))
                return identifier;
        }
    }

    const std::string& anyIdentifier() { return anyIdentifier (0.0); }

    void expectRefusedIfNotFinite (HostInstance& insert, const std::string& identifier, double value, AAX_Result result,
                                   double before, const char* how)
    {
        ++report.checks;
        if (std::isfinite (value))
            return;
        const double after = insert.normalizedValue (identifier);
        if (result == AAX_SUCCESS || after != before)
            report.fail (std::string (how) + " " + identifier + " = " + describeValue (value) + " was taken (result " +
                         std::to_string (result) + ", value " + describeValue (before) + " -> " +
                         describeValue (after) + ")");
    }

    // Every parameter once through each end, past each end and through the values that must be
    // refused, alternately through the interface and as automation, a few at a time.
    static constexpr double sweepValues[] = {
        0.0, 1.0, -0.5, 1.5, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()
    };

    void sweep (HostInstance& insert)
    {
        for (int step = 0; step < 4 && sweepPosition < identifiers.size() * std::size (sweepValues); ++step)
        {
            const std::string& identifier = identifiers[sweepPosition / std::size (sweepValues)];
            const double value = sweepValues[sweepPosition % std::size (sweepValues)];
            const double before = insert.normalizedValue (identifier);
            const bool automation = sweepPosition % 2 == 1;
            const AAX_Result result = automation
                                          ? insert.automate (identifier, value)
                                          : insert.effect().SetParameterNormalizedValue (identifier.c_str(), value);
            expectRefusedIfNotFinite (insert, identifier, value, result, before,
                                      automation ? "automation of" : "setting");
            ++sweepPosition;
            ++parameterChanges;
        }
        checkValues (insert);
    }

    void setThroughInterface (HostInstance& insert)
    {
        const double value = anyValue();
        const std::string& identifier = anyIdentifier (value);
        const double before = insert.normalizedValue (identifier);
        const bool relative = std::uniform_int_distribution<int> (0, 3) (random) == 0;
        const AAX_Result result = relative ? insert.effect().SetParameterNormalizedRelative (identifier.c_str(), value)
                                           : insert.effect().SetParameterNormalizedValue (identifier.c_str(), value);
        expectRefusedIfNotFinite (insert, identifier, value, result, before,
                                  relative ? "a relative change of" : "setting");
        ++parameterChanges;
    }

    void automate (HostInstance& insert)
    {
        const double value = anyValue();
        const std::string& identifier = anyIdentifier (value);
        const double before = insert.normalizedValue (identifier);
        expectRefusedIfNotFinite (insert, identifier, value, insert.automate (identifier, value), before,
                                  "automation of");
        ++parameterChanges;
    }

    void toggleBypasses (HostInstance& insert)
    {
        insert.automate (masterBypass, insert.normalizedValue (masterBypass) < 0.5 ? 1.0 : 0.0);
        insert.automate ("bypass", insert.normalizedValue ("bypass") < 0.5 ? 1.0 : 0.0);
        parameterChanges += 2;
    }

    void moveState (HostInstance& from)
    {
        HostInstance& to = *instances[pick (instances.size())];
        HostProject project;
        ++report.checks;
        if (const AAX_Result saved = from.saveChunks (project); saved != AAX_SUCCESS)
        {
            report.fail ("saving state chunks answered " + std::to_string (saved));
            return;
        }
        if (const AAX_Result loaded = to.loadChunks (project); loaded != AAX_SUCCESS)
        {
            report.fail ("restoring state chunks into another insert answered " + std::to_string (loaded));
            return;
        }
        for (const ProjectChunk& chunk : project.chunks)
        {
            bool equal = false;
            if (to.compareChunk (chunk, equal) != AAX_SUCCESS)
                report.fail ("comparing a restored chunk failed");
        }
        ++stateMoves;
    }

    void offerDamagedState (HostInstance& insert)
    {
        HostProject project;
        if (insert.saveChunks (project) != AAX_SUCCESS || project.chunks.empty())
            return;
        ProjectChunk& chunk = project.chunks[pick (project.chunks.size())];
        switch (std::uniform_int_distribution<int> (0, 2) (random))
        {
            case 0:
                if (! chunk.data.empty())
                    chunk.data.resize (pick (chunk.data.size()));
                break;
            case 1:
                for (int flips = 0; flips < 8 && ! chunk.data.empty(); ++flips)
                    chunk.data[pick (chunk.data.size())] ^= static_cast<unsigned char> (1u << pick (8));
                break;
            default:
                chunk.data.assign (pick (64), static_cast<unsigned char> (pick (256)));
                break;
        }
        // Refusing is fine; crashing, hanging or taking non-finite values is not.
        insert.loadChunks (project);
        ++damagedStates;
        checkValues (insert);
    }

    void convertStrings (HostInstance& insert)
    {
        static const char* const texts[] = { "",    "nan", "-inf", "1e999",  "-1e999",   "12",
                                             "-96", "abc", "0x10", "  3 dB", "\xff\xfe", "1e-320" };
        const std::string& identifier = anyIdentifier();
        HostString shown;
        insert.effect().StringFromNormalizedValue (identifier.c_str(), anyValue(), shown, 32);
        double value = 0.0;
        const HostString text (texts[pick (std::size (texts))]);
        ++report.checks;
        if (insert.effect().NormalizedValueFromString (identifier.c_str(), &value, text) == AAX_SUCCESS &&
            ! (value >= 0.0 && value <= 1.0))
            report.fail ("the text '" + std::string (text.CString()) + "' for " + identifier + " gave " +
                         describeValue (value));
    }

    void checkValues (HostInstance& insert)
    {
        ++report.checks;
        for (const std::string& identifier : identifiers)
        {
            const double value = insert.normalizedValue (identifier);
            if (! (value >= 0.0 && value <= 1.0))
            {
                report.fail (identifier + " holds " + describeValue (value));
                return;
            }
        }
    }

    std::vector<HostInstance*> instances;
    std::mt19937 random;
    Report& report;
    std::vector<std::string> identifiers;
    size_t sweepPosition = 0;
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

bool unload (HostSession& session, PluginLibrary& library, Report& report)
{
    session.releaseDescription();
    ++report.checks;
    if (const int32_t live = session.waitUntilUnloadable(); live != 0)
    {
        report.fail ("ACFCanUnloadNow still counts " + std::to_string (live) + " live objects after tear-down");
        session.abandon();
        library.keepLoaded();
        return false;
    }
    if (const ACFRESULT stopped = session.shutDown(); stopped != ACF_OK)
    {
        report.fail ("ACFShutdown answered " + std::to_string (stopped));
        return false;
    }
    return true;
}

bool startSession (HostSession& session, Report& report)
{
    ++report.checks;
    if (const ACFRESULT started = session.startUp(); started != ACF_OK)
    {
        report.fail ("ACFStartup answered " + std::to_string (started));
        return false;
    }
    if (const ACFRESULT registered = session.registerPlugin(); registered != ACF_OK || session.description() == nullptr)
    {
        report.fail ("ACFRegisterPlugin answered " + std::to_string (registered));
        return false;
    }
    return true;
}

std::unique_ptr<HostInstance> makeInsert (HostSession& session, float rate, int channels, Report& report)
{
    HostInstance::Options options;
    options.sampleRate = rate;
    options.channels = channels;
    std::string error;
    auto insert = HostInstance::create (*session.description(), options, error);
    ++report.checks;
    if (insert == nullptr)
        report.fail ("an insert at " + std::to_string (static_cast<int> (rate)) + " Hz: " + error);
    return insert;
}

void loadAndUnload (const Options& options, Report& report)
{
    report.note ("load, play and unload the library " + std::to_string (loadCycles) + " times");
    const int before = report.failures;
    for (int cycle = 0; cycle < loadCycles; ++cycle)
    {
        std::string error;
        auto library = PluginLibrary::open (options.libraryPath, error);
        if (library == nullptr)
        {
            report.fail (error);
            return;
        }
        HostSession session (library->entryPoints());
        if (! startSession (session, report))
            return;
        {
            auto insert = makeInsert (session, 48000.0f, 2, report);
            if (insert == nullptr)
                return;
            AudioRun run (*insert, options.seed + static_cast<unsigned long> (cycle), 40);
            run.start();
            while (! run.finished())
            {
                insert->idle();
                std::this_thread::sleep_for (std::chrono::milliseconds (1));
            }
            run.join();
        }
        if (! unload (session, *library, report))
            return;
    }
    if (report.failures == before)
        report.note ("  ok: ACFCanUnloadNow came back to 0 and the plug-in shut down each time");
}

void playGroup (HostSession& session, const Group& group, const Options& options, unsigned long seed, Report& report)
{
    report.note ("inserts at once: " + describeRates (group));
    const int before = report.failures;
    std::vector<std::unique_ptr<HostInstance>> inserts;
    for (size_t i = 0; i < group.rates.size(); ++i)
        if (auto insert = makeInsert (session, group.rates[i], group.channels[i], report))
            inserts.push_back (std::move (insert));
    if (inserts.size() != group.rates.size())
        return;

    std::vector<HostInstance*> pointers;
    std::vector<std::unique_ptr<AudioRun>> runs;
    for (size_t i = 0; i < inserts.size(); ++i)
    {
        pointers.push_back (inserts[i].get());
        runs.push_back (std::make_unique<AudioRun> (*inserts[i], seed * 31 + i, options.blocks));
    }
    MainThreadFuzzer fuzzer (pointers, seed, report);
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
    while (! allFinished())
    {
        idleAll();
        fuzzer.act();
        std::this_thread::sleep_for (std::chrono::microseconds (500));
    }
    for (auto& run : runs)
        run->join();

    long samples = 0;
    for (size_t i = 0; i < runs.size(); ++i)
    {
        const AudioFindings& found = runs[i]->findings();
        const std::string which = std::to_string (static_cast<int> (group.rates[i])) + " Hz insert: ";
        samples += found.samples;
        report.checks += 2;
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
    if (report.failures == before)
        report.note ("  ok: " + std::to_string (runs.size()) + " x " + std::to_string (options.blocks) + " blocks (" +
                     std::to_string (samples) + " samples), " + std::to_string (fuzzer.parameterChanges) +
                     " parameter changes, " + std::to_string (fuzzer.stateMoves) + " state moves, " +
                     std::to_string (fuzzer.damagedStates) + " damaged states");
    if (handOverBlocks > 0)
        report.note ("  note: while responses changed, " + std::to_string (handOverBlocks) + " blocks made " +
                     std::to_string (handOverAllocations) +
                     " allocations on the audio thread (a band's engine is rebuilt for each new response)");
}

// Opens and closes the editor in a window of the host's a few times while audio runs and the host
// automates; the audio thread must neither allocate nor put out anything unguarded meanwhile.
void openAndCloseEditor (HostSession& session, X11Display& display, const Options& options, Report& report)
{
    report.note ("editor opened and closed " + std::to_string (editorCycles) + " times while audio runs");
    const int before = report.failures;
    auto insert = makeInsert (session, 48000.0f, 2, report);
    if (insert == nullptr)
        return;

    AudioRun run (*insert, options.seed + 7, std::numeric_limits<int>::max());
    MainThreadFuzzer fuzzer ({ insert.get() }, options.seed + 7, report);
    fuzzer.steady = true;
    run.start();
    const auto turn = [&]
    {
        insert->idle();
        fuzzer.act();
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
        auto editor = HostEditor::create (*session.description(), *insert, error);
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
        for (int step = 0; step < editorTurns && window.handleEvents(); ++step)
        {
            editor->idle();
            turn();
        }
        if (const AAX_Result detached = editor->detach(); detached != AAX_SUCCESS)
            report.fail ("taking the editor out of its window answered " + std::to_string (detached));
        editor->tearDown();
        window.destroy();
        for (int step = 0; step < 5; ++step)
            turn();
    }
    run.stopRequested.store (true);
    run.join();
    insert->tearDown();

    const AudioFindings& found = run.findings();
    report.checks += 2;
    if (found.badBlock >= 0)
        report.fail ("block " + std::to_string (found.badBlock) + " put out " + describeValue (found.badValue) +
                     " while the editor opened or closed");
    if (found.allocatingBlock >= 0)
        report.fail ("block " + std::to_string (found.allocatingBlock) + " made " + std::to_string (found.allocations) +
                     " allocations on the audio thread while the editor opened or closed");
    if (report.failures == before && ! skipped)
        report.note ("  ok: " + std::to_string (found.blocks) + " blocks played meanwhile");
}

bool parseOptions (const std::vector<std::string>& arguments, Options& options, std::string& error)
{
    for (size_t i = 0; i < arguments.size(); ++i)
    {
        const std::string& argument = arguments[i];
        if (argument == "--seed" || argument == "--blocks")
        {
            if (i + 1 >= arguments.size())
            {
                error = argument + " needs a value";
                return false;
            }
            const std::string& value = arguments[++i];
            char* end = nullptr;
            const unsigned long long number = std::strtoull (value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || (argument == "--blocks" && (number < 1 || number > 100000)))
            {
                error = argument + " takes a whole number, got '" + value + "'";
                return false;
            }
            if (argument == "--seed")
                options.seed = static_cast<unsigned long> (number);
            else
                options.blocks = static_cast<int> (number);
        }
        else if (argument.rfind ("--", 0) == 0)
        {
            error = "unknown option " + argument;
            return false;
        }
        else if (options.libraryPath.empty())
            options.libraryPath = argument;
        else
        {
            error = "only one library can be validated";
            return false;
        }
    }
    return true;
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

    Report report;
    report.note ("validating " + options.libraryPath + " with seed " + std::to_string (options.seed));

    // Before the plug-in is loaded, so that its framework finds the window manager's atoms.
    std::unique_ptr<X11Display> display;
    std::string displayProblem = "DISPLAY is not set";
    if (std::getenv ("DISPLAY") != nullptr)
        display = X11Display::open (displayProblem);

    loadAndUnload (options, report);

    if (report.failures == 0)
    {
        auto library = PluginLibrary::open (options.libraryPath, error);
        if (library == nullptr)
            report.fail (error);
        else
        {
            HostSession session (library->entryPoints());
            if (startSession (session, report))
            {
                // Every rate of the level table and one outside it, mono and stereo, a few at once.
                const std::vector<Group> groups{
                    { { 44100.0f, 48000.0f, 32000.0f }, { 2, 2, 2 } },
                    { { 88200.0f, 96000.0f, 48000.0f }, { 2, 2, 1 } },
                    { { 176400.0f, 192000.0f }, { 2, 2 } },
                };
                unsigned long seed = options.seed;
                for (const Group& group : groups)
                    playGroup (session, group, options, ++seed, report);
                if (display != nullptr)
                    openAndCloseEditor (session, *display, options, report);
                else
                    report.note ("editor: skipped, there is no display (" + displayProblem + ")");
                unload (session, *library, report);
            }
        }
    }

    std::printf ("%s: %d checks, %d failed (seed %lu)\n",
                 report.failures == 0 ? "validation passed" : "VALIDATION FAILED", report.checks, report.failures,
                 options.seed);
    return report.failures == 0 ? 0 : 1;
}
