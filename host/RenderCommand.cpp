#include "RenderCommand.h"

#include "AAX_Errors.h"
#include "HeldAudioLength.h"
#include "HostCollection.h"
#include "HostInstance.h"
#include "HostProject.h"
#include "HostSession.h"
#include "InsertRenderer.h"
#include "ParameterAssignment.h"
#include "PluginLibrary.h"
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
    "  --save-project FILE       save the insert's state chunks after the settings are made\n"
    "  --load-project FILE       load state chunks before the preset and settings are made\n"
    "  --library PATH            the plug-in library (default: next to this program's build)\n"
    "Without an input file a built-in test signal is rendered (sweep and noise, 4 seconds).\n";

namespace
{
// Longer inputs report their progress on standard error.
constexpr double progressSeconds = 10.0;
constexpr int maxBlockSize = 1 << 16;
constexpr int defaultBlockSize = 512;
constexpr double defaultRate = 48000.0;

struct RenderOptions
{
    std::string inputPath;
    std::string outputPath;
    std::optional<std::string> preset;
    std::vector<ParameterAssignment> assignments;
    std::optional<double> rate;
    int blockSize = defaultBlockSize;
    std::string saveProjectPath;
    std::string loadProjectPath;
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
    std::vector<std::string> positional;
    for (size_t i = 0; i < arguments.size(); ++i)
    {
        const std::string& argument = arguments[i];
        const bool takesValue = argument == "--preset" || argument == "--set" || argument == "--set-normalised" ||
                                argument == "--rate" || argument == "--block" || argument == "--save-project" ||
                                argument == "--load-project" || argument == "--library";
        if (! takesValue)
        {
            if (argument.rfind ("--", 0) == 0)
            {
                error = "unknown option " + argument;
                return false;
            }
            positional.push_back (argument);
            continue;
        }
        if (i + 1 >= arguments.size())
        {
            error = argument + " needs a value";
            return false;
        }
        const std::string& value = arguments[++i];

        if (argument == "--preset")
            options.preset = value;
        else if (argument == "--set" || argument == "--set-normalised")
        {
            ParameterAssignment assignment;
            if (! ParameterAssignment::parse (value, argument == "--set-normalised", assignment, error))
                return false;
            options.assignments.push_back (assignment);
        }
        else if (argument == "--rate")
        {
            long long rate = 0;
            if (! parseWhole (value, rate) || rate < 8000 || rate > 384000)
            {
                error = "--rate takes a whole number of hertz from 8000 to 384000, got '" + value + "'";
                return false;
            }
            options.rate = static_cast<double> (rate);
        }
        else if (argument == "--block")
        {
            long long block = 0;
            if (! parseWhole (value, block) || block < 1 || block > maxBlockSize)
            {
                error = "--block takes a number of samples from 1 to " + std::to_string (maxBlockSize) + ", got '" +
                        value + "'";
                return false;
            }
            options.blockSize = static_cast<int> (block);
        }
        else if (argument == "--save-project")
            options.saveProjectPath = value;
        else if (argument == "--load-project")
            options.loadProjectPath = value;
        else
            options.libraryPath = value;
    }

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
    return true;
}

juce::File fileFromPath (const std::string& path)
{
    return juce::File::getCurrentWorkingDirectory().getChildFile (juce::String (path));
}

bool readInput (const std::string& path, juce::AudioBuffer<float>& audio, double& rate, int& bitsPerSample,
                std::string& error)
{
    const juce::File file = fileFromPath (path);
    if (! file.existsAsFile())
    {
        error = "cannot read " + path + ": no such file";
        return false;
    }
    juce::AudioFormatManager formats;
    formats.registerFormat (new juce::WavAudioFormat(), true);
    formats.registerFormat (new juce::FlacAudioFormat(), false);
    std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));
    if (reader == nullptr)
    {
        error = "cannot read " + path + ": not a WAV or FLAC file";
        return false;
    }
    if (reader->numChannels < 1 || reader->numChannels > 2)
    {
        error = "cannot read " + path + ": only mono and stereo files can be rendered";
        return false;
    }
    if (reader->lengthInSamples <= 0 || reader->lengthInSamples > std::numeric_limits<int>::max() / 2)
    {
        error = "cannot read " + path + ": " + (reader->lengthInSamples <= 0 ? "no audio in it" : "too long");
        return false;
    }
    if (! (reader->sampleRate >= 8000.0 && reader->sampleRate <= 384000.0))
    {
        error = "cannot read " + path + ": unusable sample rate";
        return false;
    }

    const int64_t held = heldAudioLength (file, *reader, reader->lengthInSamples);
    if (held < reader->lengthInSamples)
    {
        error = "cannot read " + path + ": the audio data is damaged: the header claims " +
                std::to_string (reader->lengthInSamples) + " samples per channel, the file holds " +
                std::to_string (held);
        return false;
    }

    audio.setSize (static_cast<int> (reader->numChannels), static_cast<int> (reader->lengthInSamples));
    if (! reader->read (&audio, 0, audio.getNumSamples(), 0, true, true))
    {
        error = "cannot read " + path + ": the audio data is damaged";
        return false;
    }
    rate = reader->sampleRate;
    bitsPerSample = static_cast<int> (reader->bitsPerSample);
    return true;
}

bool writeOutput (const std::string& path, const juce::AudioBuffer<float>& audio, double rate, int bitsPerSample,
                  std::string& error)
{
    const juce::File file = fileFromPath (path);
    std::unique_ptr<juce::AudioFormat> format;
    if (file.hasFileExtension ("wav"))
        format = std::make_unique<juce::WavAudioFormat>();
    else if (file.hasFileExtension ("flac"))
    {
        format = std::make_unique<juce::FlacAudioFormat>();
        bitsPerSample = std::min (bitsPerSample, 24);
    }
    else
    {
        error = "cannot write " + path + ": the name must end in .wav or .flac";
        return false;
    }
    if (! format->getPossibleBitDepths().contains (bitsPerSample))
        bitsPerSample = 24;

    const juce::File temporary = file.getSiblingFile (file.getFileName() + ".partial");
    temporary.deleteFile();
    auto stream = temporary.createOutputStream();
    if (stream == nullptr)
    {
        error = "cannot write " + path;
        return false;
    }
    std::unique_ptr<juce::AudioFormatWriter> writer (format->createWriterFor (
        stream.get(), rate, static_cast<unsigned int> (audio.getNumChannels()), bitsPerSample, {}, 0));
    if (writer == nullptr)
    {
        error = "cannot write " + path + ": the format does not take this audio";
        temporary.deleteFile();
        return false;
    }
    stream.release();
    const bool written = writer->writeFromAudioSampleBuffer (audio, 0, audio.getNumSamples());
    writer.reset();
    if (! written || ! temporary.moveFileTo (file))
    {
        temporary.deleteFile();
        error = "cannot write " + path;
        return false;
    }
    return true;
}

std::string joined (const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "\"" : ", \"") + name + "\"";
    return text;
}

// Everything from loading the library to its shut-down; the output is written by the caller.
int renderWithPlugin (const RenderOptions& options, const juce::AudioBuffer<float>& input, double rate,
                      juce::AudioBuffer<float>& output)
{
    std::string error;
    const auto library = PluginLibrary::open (options.libraryPath, error);
    if (library == nullptr)
        return fail (error);

    HostSession session (library->entryPoints(), HostConfiguration{}, true);
    if (const ACFRESULT started = session.startUp(); started != ACF_OK)
        return fail ("ACFStartup answered " + std::to_string (started));
    if (const ACFRESULT registered = session.registerPlugin(); registered != ACF_OK || session.description() == nullptr)
        return fail ("the plug-in did not register (" + std::to_string (registered) + ")");

    HostInstance::Options instanceOptions;
    instanceOptions.sampleRate = static_cast<float> (rate);
    instanceOptions.channels = input.getNumChannels();
    auto instance = HostInstance::create (*session.description(), instanceOptions, error);
    if (instance == nullptr)
        return fail (error);

    if (! options.loadProjectPath.empty())
    {
        HostProject project;
        if (! project.load (options.loadProjectPath, error))
            return fail (error);
        if (const AAX_Result loaded = instance->loadChunks (project); loaded != AAX_SUCCESS)
            return fail ("the plug-in refused the project's state (" + std::to_string (loaded) + ")");
    }

    if (options.preset.has_value())
    {
        HostInstance::PresetList list;
        if (instance->selectPreset (*options.preset, list) != AAX_SUCCESS)
        {
            if (! list.problem.empty())
                return fail ("unknown preset \"" + *options.preset + "\": the preset list is empty because " +
                             list.problem);
            return fail ("unknown preset \"" + *options.preset + "\"; the presets are " + joined (list.names) +
                         " (from " + list.file + ")");
        }
    }

    for (const ParameterAssignment& assignment : options.assignments)
    {
        double normalised = 0.0;
        if (! assignment.resolve (*instance, normalised, error))
            return fail (error);
        if (const AAX_Result set = instance->automate (assignment.identifier, normalised); set != AAX_SUCCESS)
            return fail ("the plug-in refused " + assignment.identifier + " (" + std::to_string (set) + ")");
    }

    // Confirmations, packets and the band selections the settings caused, before the first block.
    for (int turn = 0; turn < 3; ++turn)
        instance->idle();

    if (! options.saveProjectPath.empty())
    {
        HostProject project;
        if (const AAX_Result saved = instance->saveChunks (project); saved != AAX_SUCCESS)
            return fail ("the plug-in gave no state (" + std::to_string (saved) + ")");
        if (! project.save (options.saveProjectPath, error))
            return fail (error);
    }

    InsertRenderer renderer;
    renderer.blockSize = options.blockSize;
    const bool showProgress = input.getNumSamples() > static_cast<int> (progressSeconds * rate);
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
    renderer.render (*instance, input, output);
    if (showProgress)
        std::fprintf (stderr, "\n");

    instance.reset();
    session.releaseDescription();
    if (const int32_t live = session.waitUntilUnloadable(); live != 0)
    {
        session.abandon();
        library->keepLoaded();
        return fail (std::to_string (live) + " plug-in objects still alive after tear-down; not shutting down");
    }
    if (const ACFRESULT stopped = session.shutDown(); stopped != ACF_OK)
        return fail ("ACFShutdown answered " + std::to_string (stopped));
    return 0;
}
} // namespace

int runRenderCommand (const std::vector<std::string>& arguments, const std::string& defaultLibraryPath)
{
    // Past a file-size limit a write then fails with a reason instead of ending the process
    // halfway through a file.
    std::signal (SIGXFSZ, SIG_IGN);

    RenderOptions options;
    std::string error;
    if (! parseOptions (arguments, options, error))
    {
        std::fprintf (stderr, "larkspur-host render: %s\n%s", error.c_str(), renderUsage);
        return 2;
    }
    if (options.libraryPath.empty())
        options.libraryPath = defaultLibraryPath;
    if (! fileFromPath (options.outputPath).hasFileExtension ("wav;flac"))
        return fail ("cannot write " + options.outputPath + ": the name must end in .wav or .flac");

    juce::AudioBuffer<float> input;
    double rate = options.rate.value_or (defaultRate);
    int bitsPerSample = 24;
    if (! options.inputPath.empty())
    {
        double fileRate = 0.0;
        if (! readInput (options.inputPath, input, fileRate, bitsPerSample, error))
            return fail (error);
        if (options.rate.has_value() && *options.rate != fileRate)
            return fail (options.inputPath + " is at " + std::to_string (static_cast<long long> (fileRate)) +
                         " Hz, not the --rate given; the host does not resample");
        rate = fileRate;
    }
    else
    {
        input = makeTestSignal (rate, 2);
    }

    juce::AudioBuffer<float> output;
    if (const int status = renderWithPlugin (options, input, rate, output); status != 0)
        return status;
    if (! writeOutput (options.outputPath, output, rate, bitsPerSample, error))
        return fail (error);
    return 0;
}
