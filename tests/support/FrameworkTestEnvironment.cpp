#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include <memory>

namespace
{
// Timers and asynchronous updates of JUCE need its message manager.
class FrameworkTestEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { initialiser = std::make_unique<juce::ScopedJuceInitialiser_GUI>(); }
    void TearDown() override { initialiser.reset(); }

private:
    std::unique_ptr<juce::ScopedJuceInitialiser_GUI> initialiser;
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment (new FrameworkTestEnvironment);
} // namespace
