#include "TemporaryUserFolder.h"

#include <cstdlib>
#include <unistd.h>

TemporaryUserFolder::TemporaryUserFolder()
{
    folder = juce::File::getSpecialLocation (juce::File::tempDirectory)
                 .getNonexistentChildFile ("larkspur-user-" + juce::String ((int) getpid()), "");
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

juce::File TemporaryUserFolder::presetsFile() const
{
    return folder.getChildFile ("Korvel Audio Tools/Larkspur/presets.xml");
}
