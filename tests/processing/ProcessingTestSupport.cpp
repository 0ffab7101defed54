#include "ProcessingTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

namespace
{
// Asynchronous updates (the bands' reselection) need the framework's message manager.
class FrameworkEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { initialiser = std::make_unique<juce::ScopedJuceInitialiser_GUI>(); }
    void TearDown() override { initialiser.reset(); }

private:
    std::unique_ptr<juce::ScopedJuceInitialiser_GUI> initialiser;
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment (new FrameworkEnvironment);
} // namespace

TemporaryUserFolder::TemporaryUserFolder()
{
    folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                 .getNonexistentChildFile ("larkspur-processing-" + juce::String ((int) getpid()), "");
    folder.createDirectory();

    if (const char* value = std::getenv ("XDG_DATA_HOME"))
    {
        hadPrevious = true;
        previous = value;
    }
    setenv ("XDG_DATA_HOME", folder.getFullPathName().toRawUTF8(), 1);
}

TemporaryUserFolder::~TemporaryUserFolder()
{
    if (hadPrevious)
        setenv ("XDG_DATA_HOME", previous.toRawUTF8(), 1);
    else
        unsetenv ("XDG_DATA_HOME");

    folder.deleteRecursively();
}

juce::RangedAudioParameter& parameter (ConvolutionEqAudioProcessor& processor, const juce::String& id)
{
    auto* p = processor.getValueTreeState().getParameter (id);
    if (p == nullptr)
        throw std::runtime_error (("no parameter " + id).toStdString());
    return *p;
}

void setPlainValue (ConvolutionEqAudioProcessor& processor, const juce::String& id, float value)
{
    auto& p = parameter (processor, id);
    p.setValueNotifyingHost (p.convertTo0to1 (value));
}
