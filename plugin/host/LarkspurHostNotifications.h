#pragma once

#include <cstdint>

/** Notifications that only the host stand-in on Linux sends, through the effect's notification
    operation. A real host sends none of them; the wrapper answers every other type as the base
    does. Their values are outside the range of the host's own notification codes. */
namespace LarkspurHostNotifications
{
/** Periodic call on the host's main thread: runs JUCE's pending messages (timers,
    asynchronous updates). No data. */
constexpr int32_t pumpMessages = 0x4C4B706D; // 'LKpm'

/** Chooses a preset of the processor's preset store by name, as the editor's preset list does.
    Data: a PresetRequest. Answers 0, or -20043 when no preset has that name. */
constexpr int32_t selectPreset = 0x4C4B7073; // 'LKps'

/** The host's connection changed (the side-chain case): the processor is prepared again on the
    main thread. No data. */
constexpr int32_t prepareAgain = 0x4C4B7072; // 'LKpr'

struct PresetRequest
{
    /** The preset's name; null only lists the names. */
    const char* name = nullptr;
    /** Filled with the names of the listed presets, each ending in a line feed, NUL-terminated:
        as many whole names, from the first, as fit. A backslash in a name is sent as two, a line
        feed as a backslash and 'n'. */
    char* names = nullptr;
    uint32_t namesCapacity = 0;
    /** Filled with the presets file's path, NUL-terminated and cut to fit. */
    char* file = nullptr;
    uint32_t fileCapacity = 0;
    /** Filled with why the presets file could not be read (empty when it was), likewise. */
    char* problem = nullptr;
    uint32_t problemCapacity = 0;
    /** When not null, set to the number of presets in the file: the names are only the listed
        ones, the first 101. */
    uint32_t* numPresetsInFile = nullptr;
};
} // namespace LarkspurHostNotifications
