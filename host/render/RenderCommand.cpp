#include "RenderCommand.h"

#include "AtomicFileWrite.h"
#include "CommandFiles.h"
#include "HostInstance.h"
#include "HostProject.h"
#include "InsertRenderer.h"
#include "InsertSettings.h"
#include "InterruptGuard.h"
#include "LoadedPlugin.h"
#include "OptionScanner.h"
#include "RenderInput.h"
#include "RenderOutput.h"
#include "TestSignal.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

const char* const renderUsage =
    "usage: larkspur-host render [in.wav|in.flac] out.wav|out.flac [options]\n"
    "  --preset NAME             choose a preset of the plug-in's preset list by name\n"
    "  --set ID=VALUE            set a parameter in plain units (dB, Hz, on/off, a type such as LP)\n"
    "  --set-normalised ID=VALUE set a parameter by its normalised value (0 to 1)\n"
    "  --rate HZ                 the host's sample rate (default: the input's, or 48000)\n"
    "  --block SAMPLES           samples per block (default 512)\n"
    "  --save-project FILE       save the insert's state chunks, as the settings made them, once the\n"
    "                            render has succeeded\n"
    "  --load-project FILE       load state chunks before the preset and settings are made\n"
    "  --library PATH            the plug-in library (default: next to this program's build)\n"
    "Without an input file a built-in test signal is rendered (sweep and noise, 4 seconds).\n";

namespace
{
// Longer inputs report their progress on standard error.
constexpr double progressSeconds = 10.0;
constexpr int maxBlockSize = 1 << 16;
constexpr int defaultBlockSize = 512;

struct RenderOptions
{
    std::string inputPath;
    std::string outputPath;
    InsertSettings settings;
    std::optional<double> rate;
    int blockSize = defaultBlockSize;
    std::string libraryPath;
};

int fail (const std::string& message)
{
    std::fprintf (stderr, "larkspur-host render: %s\n", message.c_str());
    return 1;
}

bool parseWhole (const std::string& text, long long& value)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtoll (text.c_str(), &end, 10);
    return errno == 0 && end == text.c_str() + text.size();
}

bool parseOptions (const std::vector<std::string>& arguments, RenderOptions& options, std::string& error)
{
    OptionScanner scanner;
    scanner.valueOptions = { "--preset", "--set",          "--set-normalised", "--rate",
                             "--block",  "--save-project", "--load-project",   "--library" };
    std::vector<std::string> positional;
    const auto onOption = [&options] (const std::string& option, const std::string& value, std::string& problem)
    {
        if (option == "--rate")
        {
            long long rate = 0;
            if (! parseWhole (value, rate) || rate < 8000 || rate > 384000)
            {
                problem = "--rate takes a whole number of hertz from 8000 to 384000, got '" + value + "'";
                return false;
            }
            options.rate = static_cast<double> (rate);
        }
        else if (option == "--block")
        {
            long long block = 0;
            if (! parseWhole (value, block) || block < 1 || block > maxBlockSize)
            {
                problem = "--block takes a number of samples from 1 to " + std::to_string (maxBlockSize) + ", got '" +
                          value + "'";
                return false;
            }
            options.blockSize = static_cast<int> (block);
        }
        else if (option == "--library")
        {
            if (! checkFileName (option, value, problem))
                return false;
            options.libraryPath = value;
        }
        else
            return options.settings.takeOption (option, value, problem);
        return true;
    };
    if (! scanner.scan (arguments, onOption, positional, error))
        return false;

    if (positional.size() == 1)
        options.outputPath = positional[0];
    else if (positional.size() == 2)
    {
        options.inputPath = positional[0];
        options.outputPath = positional[1];
    }
    else
    {
        error = positional.empty() ? "no output file given" : "too many files given";
        return false;
    }
    return checkFileName ("the output file", options.outputPath, error) &&
           (positional.size() == 1 || checkFileName ("the input file", options.inputPath, error));
}

// The rates the plug-in's level table holds; at any other it applies its -32 dB level.
bool isCalibratedRate (double rate)
{
    for (const double calibrated : { 44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0 })
        if (rate == calibrated)
            return true;
    return false;
}

// Everything from loading the library to its shut-down, with the output written as it comes and
// the project (when one is saved) into its temporary made beforehand.
int renderWithPlugin (const RenderOptions& options, InputAudio& input, PendingFile* projectFile,
                      InterruptGuard& interrupts)
{
    std::string error;
    const auto plugin = LoadedPlugin::open (options.libraryPath, error, HostConfiguration{}, true);
    if (plugin == nullptr || ! plugin->start (error))
        return fail (error);

    HostInstance::Options instanceOptions;
    instanceOptions.sampleRate = static_cast<float> (input.rate);
    instanceOptions.channels = input.channels;
    auto instance = plugin->createInstance (instanceOptions, error);
    if (instance == nullptr)
        return fail (error);

    if (! options.settings.apply (*instance, error))
        return fail (error);
    // The state as the settings made it, written only once the render has succeeded, so that a
    // failed or interrupted render leaves an existing project as it was.
    HostProject project;
    const bool savesProject = projectFile != nullptr;
    if (savesProject && ! InsertSettings::captureProject (*instance, project, error))
        return fail (error);

    OutputAudio output (options.outputPath);
    if (! output.open (input, error))
        return fail (error);

    InsertRenderer renderer;
    renderer.blockSize = options.blockSize;
    renderer.shouldStop = [] { return InterruptGuard::caughtSignal() != 0; };
    const bool showProgress = input.length > static_cast<int64_t> (progressSeconds * input.rate);
    int lastPercent = -1;
    if (showProgress)
        renderer.onProgress = [&lastPercent] (double done)
        {
            const int percent = static_cast<int> (done * 100.0);
            if (percent != lastPercent)
            {
                lastPercent = percent;
                std::fprintf (stderr, "\rrendering: %3d%%", percent);
                std::fflush (stderr);
            }
        };
    InsertRenderer::Outcome outcome = renderer.stream (
        *instance, input.length,
        [&input] (juce::AudioBuffer<float>& buffer, int count) { return input.read (buffer, count); },
        [&output] (const juce::AudioBuffer<float>& buffer, int count) { return output.write (buffer, count); });
    if (showProgress)
        std::fprintf (stderr, "\n");

    // A signal that came after the last block still means the user wants nothing written.
    if (outcome == InsertRenderer::Outcome::finished && InterruptGuard::caughtSignal() != 0)
        outcome = InsertRenderer::Outcome::stopped;

    // The project is written whole before the output is renamed into place, so that a project
    // that cannot be written (a full disk, its folder removed meanwhile) leaves the output as it was.
    int status = 0;
    if (outcome == InsertRenderer::Outcome::finished)
    {
        const std::string& projectPath = options.settings.saveProjectPath;
        if (savesProject && ! project.write (*projectFile, projectPath, error))
        {
            output.discard();
            status = fail (error);
        }
        else if (! output.finish (error))
            status = fail (error);
        else if (savesProject && ! HostProject::commit (*projectFile, projectPath, error))
            status = fail (error);
    }
    else
    {
        output.discard();
        if (savesProject)
            projectFile->discard();
        if (outcome == InsertRenderer::Outcome::sourceFailed)
            status = fail ("cannot read " + options.inputPath + ": the audio data is damaged");
        else if (outcome == InsertRenderer::Outcome::sinkFailed)
            status = fail (output.describeWriteFailure());
        else
            std::fprintf (stderr, "larkspur-host render: interrupted; %s was not written%s\n",
                          options.outputPath.c_str(), savesProject ? ", nor the project" : "");
    }

    instance.reset();
    if (! plugin->unload (error))
        status = fail (error);

    if (outcome == InsertRenderer::Outcome::stopped)
        interrupts.endByCaughtSignal();
    if (status == 0 && output.holdsIntegers() && output.clippedSamples() > 0)
        std::fprintf (stderr, "larkspur-host render: warning: %lld %s clipped in the %d-bit output %s\n",
                      static_cast<long long> (output.clippedSamples()),
                      output.clippedSamples() == 1 ? "sample" : "samples", output.bits(), options.outputPath.c_str());
    return status;
}
} // namespace

int runRenderCommand (const std::vector<std::string>& arguments, const std::string& defaultLibraryPath)
{
    for (const std::string& argument : arguments)
        if (argument == "--help" || argument == "-h")
        {
            std::fputs (renderUsage, stdout);
            return 0;
        }

    // Past a file-size limit a write then fails with a reason instead of ending the process
    // halfway through a file.
    std::signal (SIGXFSZ, SIG_IGN);
    InterruptGuard interrupts;

    RenderOptions options;
    std::string error;
    if (! parseOptions (arguments, options, error))
    {
        std::fprintf (stderr, "larkspur-host render: %s\n%s", error.c_str(), renderUsage);
        return 2;
    }
    if (options.libraryPath.empty())
        options.libraryPath = defaultLibraryPath;
    if (! hasNameEnding (options.outputPath, "wav") && ! hasNameEnding (options.outputPath, "flac"))
        return fail ("cannot write " + options.outputPath + ": the name must end in .wav or .flac");
    // Refused before the render rather than after it; the writers check again when they write.
    CommandFiles files;
    files.reads (options.inputPath, "the input file");
    files.reads (options.libraryPath, "the plug-in library");
    files.writes (options.outputPath, options.outputPath, "the output file");
    files.addProjects (options.settings);
    if (const std::string refusal = files.refusal(); ! refusal.empty())
        return fail (refusal);

    InputAudio input;
    if (! options.inputPath.empty())
    {
        if (! openInput (options.inputPath, input, error))
            return fail (error);
        if (options.rate.has_value() && *options.rate != input.rate)
            return fail (options.inputPath + " is at " + std::to_string (static_cast<long long> (input.rate)) +
                         " Hz, not the --rate given; the host does not resample");
    }
    else
    {
        input.rate = options.rate.value_or (InputAudio::defaultRate);
        input.signal = makeTestSignal (input.rate, 2);
        input.channels = 2;
        input.length = input.signal.getNumSamples();
    }

    // Before the render replaces the output.
    std::optional<PendingFile> projectFile;
    if (! options.settings.makeProjectFile (projectFile, error))
        return fail (error);

    if (! isCalibratedRate (input.rate))
        std::fprintf (stderr,
                      "larkspur-host render: warning: %lld Hz is not one of the plug-in's calibrated rates "
                      "(44100, 48000, 88200, 96000, 176400, 192000 Hz); it applies its -32 dB level\n",
                      static_cast<long long> (input.rate));

    return renderWithPlugin (options, input, projectFile ? &*projectFile : nullptr, interrupts);
}
