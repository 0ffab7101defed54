#pragma once

#include <juce_core/juce_core.h>

// A fresh, empty user data folder for the duration of a test, so that presets files land there:
// XDG_DATA_HOME points at it, and the previous value comes back afterwards. The name carries the
// process ID, so that test processes running side by side never share one.
class TemporaryUserFolder
{
public:
    TemporaryUserFolder();
    ~TemporaryUserFolder();

    TemporaryUserFolder (const TemporaryUserFolder&) = delete;
    TemporaryUserFolder& operator= (const TemporaryUserFolder&) = delete;

    const juce::File& getFolder() const noexcept { return folder; }
    juce::File presetsFile() const;

private:
    juce::File folder;
    bool hadPrevious = false;
    juce::String previous;
};
