// Times the plug-in's editor as the host stand-in shows it (run under an X server, e.g.
// xvfb-run): opening it (the GUI object made and initialised, which builds the editor, then
// attached to a host window) until its first full paint, and one full repaint; and, for the
// editor's share of those times, its constructor and one full paint into an image on their own.
// Prints a Markdown table of medians.

#include "AAX_Errors.h"
#include "HostEditor.h"
#include "HostInstance.h"
#include "HostSession.h"
#include "JuceAAX_GUI.h"
#include "JuceAAX_Processor.h"
#include "LinkedEntryPoints.h"
#include "ProcessUserFolder.h"
#include "X11Display.h"
#include "X11ViewWindow.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;

constexpr int opens = 20;
constexpr int repaints = 100;

double milliseconds (Clock::duration duration)
{
    return std::chrono::duration<double, std::milli> (duration).count();
}

double median (std::vector<double> values)
{
    std::sort (values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// A transparent layer over the whole editor: painted last in every paint pass, it tells when a
// pass covering the whole window has finished.
class PaintProbe final : public juce::Component
{
public:
    PaintProbe()
    {
        setInterceptsMouseClicks (false, false);
        setOpaque (false);
    }
    void paint (juce::Graphics& g) override
    {
        if (g.getClipBounds().contains (getLocalBounds()))
            ++fullPaints;
    }
    int fullPaints = 0;
};

// Host main-thread turns until the probe has counted one more full paint; false after 5 s.
bool pumpUntilPainted (HostEditor& editor, HostInstance& instance, X11ViewWindow& window, const PaintProbe& probe,
                       int before)
{
    const auto deadline = Clock::now() + std::chrono::seconds (5);
    while (probe.fullPaints == before && Clock::now() < deadline)
    {
        window.handleEvents();
        editor.idle();
        instance.idle();
        if (probe.fullPaints == before)
            std::this_thread::sleep_for (std::chrono::microseconds (200));
    }
    return probe.fullPaints > before;
}
} // namespace

int main()
{
    // The presets file of this run only.
    const ProcessUserFolder userFolder ("larkspur-bench");
    std::string error;
    auto display = X11Display::open (error);
    if (display == nullptr)
    {
        std::fprintf (stderr, "larkspur_editor_window_bench: %s; run it under xvfb-run -a\n", error.c_str());
        return 1;
    }
    const juce::ScopedJuceInitialiser_GUI framework;

    HostSession session (linkedEntryPoints());
    if (session.startUp() != ACF_OK || session.registerPlugin() != ACF_OK)
        return 1;
    auto instance = HostInstance::create (*session.description(), {}, error);
    if (instance == nullptr)
    {
        std::fprintf (stderr, "larkspur_editor_window_bench: %s\n", error.c_str());
        return 1;
    }
    auto& processor = dynamic_cast<AAXClasses::JuceAAX_Processor&> (instance->effect()).getProcessor();
    X11ViewWindow window (*display, 800, 518, "editor benchmark");
    window.show();
    window.movePointerOff();

    std::vector<double> create, attach, firstPaint, open, repaint, constructor, paintOnly;
    for (int round = 0; round < opens; ++round)
    {
        const auto start = Clock::now();
        auto editor = HostEditor::create (*session.description(), *instance, error);
        const auto created = Clock::now();
        auto* component =
            editor != nullptr ? dynamic_cast<AAXClasses::JuceAAX_GUI&> (editor->gui()).getEditor() : nullptr;
        if (component == nullptr)
        {
            std::fprintf (stderr, "larkspur_editor_window_bench: no editor\n");
            return 1;
        }
        PaintProbe probe;
        probe.setBounds (component->getLocalBounds());
        component->addAndMakeVisible (probe);

        const auto attachStart = Clock::now();
        editor->attach (window.windowId());
        const auto attached = Clock::now();
        if (! pumpUntilPainted (*editor, *instance, window, probe, 0))
        {
            std::fprintf (stderr, "larkspur_editor_window_bench: the editor did not paint\n");
            return 1;
        }
        const auto painted = Clock::now();
        create.push_back (milliseconds (created - start));
        attach.push_back (milliseconds (attached - attachStart));
        firstPaint.push_back (milliseconds (painted - attached));
        open.push_back (milliseconds (painted - start - (attachStart - created)));

        for (int i = 0; i < repaints / opens; ++i)
        {
            const int before = probe.fullPaints;
            const auto repaintStart = Clock::now();
            component->repaint();
            pumpUntilPainted (*editor, *instance, window, probe, before);
            repaint.push_back (milliseconds (Clock::now() - repaintStart));
        }

        // The editor's own work, without the window: one full paint into an image.
        juce::Image image (juce::Image::ARGB, component->getWidth(), component->getHeight(), true);
        const auto paintStart = Clock::now();
        {
            juce::Graphics g (image);
            component->paintEntireComponent (g, true);
        }
        paintOnly.push_back (milliseconds (Clock::now() - paintStart));

        component->removeChildComponent (&probe);
        editor->tearDown();
        editor.reset();

        // The editor's constructor alone.
        const auto constructStart = Clock::now();
        std::unique_ptr<juce::AudioProcessorEditor> bare (processor.createEditorIfNeeded());
        constructor.push_back (milliseconds (Clock::now() - constructStart));
        bare.reset();
    }

    std::printf ("| step | median (ms) |\n|---|---:|\n");
    std::printf ("| GUI object made and initialised (builds the editor) | %.3f |\n", median (create));
    std::printf ("| of which the editor's constructor | %.3f |\n", median (constructor));
    std::printf ("| attached to the host window | %.3f |\n", median (attach));
    std::printf ("| from attaching to the end of the first full paint | %.3f |\n", median (firstPaint));
    std::printf ("| opening in all (made, attached, first full paint) | %.3f |\n", median (open));
    std::printf ("| one full repaint (repaint() to the end of the paint pass) | %.3f |\n", median (repaint));
    std::printf ("| the editor's full paint into an image | %.3f |\n", median (paintOnly));

    window.destroy();
    instance.reset();
    session.releaseDescription();
    return 0;
}
