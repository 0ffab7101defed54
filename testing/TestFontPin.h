#pragma once

#include <juce_graphics/juce_graphics.h>

#include <cstdlib>

/** Pictures that are compared with stored ones or written for people to keep are drawn in DejaVu
    alone, whatever else the machine has: JUCE's default sans-serif on Linux is the first of Verdana,
    Bitstream Vera Sans, Luxi Sans, Liberation Sans and DejaVu Sans that it finds, which would change
    every letter. JUCE reads JUCE_FONT_PATH when it first scans fonts, on the first text measured or
    drawn, and settles the default sans-serif once per process; so make one of these at namespace
    scope or first thing in main, before anything draws text. The product keeps JUCE's choice. */
class TestFontPin
{
public:
    /** fonts-dejavu-core, which scripts/setup installs. */
    static constexpr const char* folder = "/usr/share/fonts/truetype/dejavu";
    static constexpr const char* typeface = "DejaVu Sans";

    TestFontPin() { setenv ("JUCE_FONT_PATH", folder, 1); }

    /** Empty when JUCE's default sans-serif is DejaVu Sans from the folder alone; otherwise what is
        wrong. Call it with JUCE initialised, before the first picture. */
    static juce::String problem()
    {
        const juce::File fonts (folder);
        if (! fonts.getChildFile ("DejaVuSans.ttf").existsAsFile())
            return "no DejaVu fonts in " + fonts.getFullPathName() + ": scripts/setup installs fonts-dejavu-core";

        if (juce::SystemStats::getEnvironmentVariable ("JUCE_FONT_PATH", {}) != folder)
            return "JUCE_FONT_PATH is not " + fonts.getFullPathName() + ": make a TestFontPin first";

        for (const auto& name : juce::Font::findAllTypefaceNames())
            if (! name.startsWith ("DejaVu"))
                return "JUCE scanned the fonts before the pin: it knows " + name;

        const auto chosen = juce::Font::getDefaultTypefaceForFont (juce::Font())->getName();
        if (chosen != typeface)
            return "JUCE chose its default sans-serif before the pin: " + chosen;
        return {};
    }
};
