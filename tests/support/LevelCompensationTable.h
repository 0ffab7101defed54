#pragma once

#include <cstdint>

/** The level in dB that the processor applies at each sample rate, written out here on its own
    as the tests' oracle for the processor's table. */
namespace LevelCompensationTable
{
struct RateLevel
{
    double rate;
    float levelDb;
};

/** The rates the responses were calibrated at. */
inline constexpr RateLevel calibrated[] = { { 44100.0, -12.2f }, { 48000.0, -12.4f },  { 88200.0, -17.7f },
                                            { 96000.0, -18.4f }, { 176400.0, -23.6f }, { 192000.0, -24.5f } };

/** Any other rate, including fractions of a hertz above nothing calibrated. */
inline constexpr float otherRatesDb = -32.0f;

/** The level for a rate, by its whole hertz. */
inline float levelForRate (double rate)
{
    for (const auto& entry : calibrated)
        if ((int64_t) rate == (int64_t) entry.rate)
            return entry.levelDb;
    return otherRatesDb;
}
} // namespace LevelCompensationTable
