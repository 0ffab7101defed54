// The plug-in's editor in real X11 windows of the host stand-in (run under Xvfb): attached as a
// child of the host's window, taken out and put back, moved to another window, painted, and the
// host window closed or destroyed under it, with audio running; and a drag on one of its sliders.

#include "EditorInsert.h"
#include "LiveInsertAudio.h"
#include "TestSignal.h"
#include "X11Display.h"
#include "X11ViewWindow.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
// X names an event type KeyPress; the tests mean JUCE's.
#undef KeyPress

#include <algorithm>
#include <functional>
#include <memory>
#include <typeinfo>

namespace
{
X11Display* display = nullptr;

// The host's X connection (with the window-manager atoms) exists before the plug-in's copy of
// JUCE opens its own, and JUCE stays up for the whole run.
class DisplayEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        std::string error;
        connection = X11Display::open (error);
        ASSERT_NE (connection, nullptr) << error << " (these tests run under xvfb-run)";
        display = connection.get();
        framework = std::make_unique<juce::ScopedJuceInitialiser_GUI>();
    }
    void TearDown() override
    {
        framework.reset();
        display = nullptr;
        connection.reset();
    }

private:
    std::unique_ptr<X11Display> connection;
    std::unique_ptr<juce::ScopedJuceInitialiser_GUI> framework;
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment (new DisplayEnvironment);

constexpr uint32_t editorBackground = 0xFF231E1Au;

class EditorWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE (display, nullptr);
        errorsBefore = X11Display::errorCount();
    }
    void TearDown() override { EXPECT_EQ (X11Display::errorCount(), errorsBefore) << "X errors were reported"; }

    std::unique_ptr<X11ViewWindow> makeWindow()
    {
        auto window = std::make_unique<X11ViewWindow> (*display, 800, 518, "editor window test");
        EXPECT_TRUE (window->show());
        // The server's pointer starts in the middle of the screen, over the editor, whose
        // controls would show their hover pop-ups in the pictures.
        window->movePointerOff();
        return window;
    }

    // Turns of the host's main thread until the window's picture has been the same for a few
    // grabs after covering the host's black; false after five seconds.
    bool pumpUntilPainted (EditorInsert& insert, X11ViewWindow& window, std::vector<uint32_t>& picture)
    {
        std::vector<uint32_t> grab;
        int stable = 0;
        for (int turn = 0; turn < 1000 && stable < 3; ++turn)
        {
            window.handleEvents();
            insert.pump (5);
            if (! window.grab (grab))
                continue;
            const bool painted = std::any_of (grab.begin(), grab.end(), [] (uint32_t p) { return p != 0xFF000000u; });
            stable = painted && grab == picture ? stable + 1 : 0;
            picture.swap (grab);
        }
        return stable >= 3;
    }

    int errorsBefore = 0;
};

void forEachSlider (juce::Component& parent, const std::function<void (juce::Slider&)>& visit)
{
    for (auto* child : parent.getChildren())
    {
        if (auto* slider = dynamic_cast<juce::Slider*> (child))
            visit (*slider);
        forEachSlider (*child, visit);
    }
}

juce::Image toImage (const std::vector<uint32_t>& pixels, int width, int height)
{
    juce::Image image (juce::Image::ARGB, width, height, false);
    const juce::Image::BitmapData data (image, juce::Image::BitmapData::writeOnly);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            data.setPixelColour (x, y, juce::Colour (pixels[static_cast<size_t> (y * width + x)]));
    return image;
}
} // namespace

TEST_F (EditorWindowTest, TheEditorIsAChildOfTheHostWindowWhileAttachedAndCanComeBack)
{
    // Windows outlive the insert, whose editor is taken out of them first.
    auto window = makeWindow();
    EditorInsert insert;
    LiveInsertAudio audio (*insert.instance, makeTestSignal (48000.0, 2), 512);
    HostEditor& editor = insert.openEditor();
    auto* component = EditorInsert::guiObject (editor).getEditor();
    ASSERT_NE (component, nullptr);

    for (int round = 0; round < 2; ++round)
    {
        ASSERT_EQ (editor.attach (window->windowId()), AAX_SUCCESS);
        insert.pump (5);
        const auto children = window->childWindows();
        ASSERT_EQ (children.size(), 1u) << "round " << round;
        EXPECT_EQ (children[0].window, reinterpret_cast<uintptr_t> (component->getWindowHandle()));
        EXPECT_EQ (children[0].width, 800);
        EXPECT_EQ (children[0].height, 518);

        ASSERT_EQ (editor.detach(), AAX_SUCCESS);
        insert.pump (5);
        EXPECT_TRUE (window->childWindows().empty()) << "round " << round;
        EXPECT_FALSE (component->isOnDesktop());
    }
    // Torn down while attached: the editor's window goes with the editor.
    ASSERT_EQ (editor.attach (window->windowId()), AAX_SUCCESS);
    editor.tearDown();
    EXPECT_TRUE (window->childWindows().empty());
    EXPECT_EQ (insert.processor().getActiveEditor(), nullptr);

    audio.stop();
    EXPECT_GT (audio.blocksPlayed(), 0);
}

TEST_F (EditorWindowTest, ASecondWindowTakesTheEditorFromTheFirst)
{
    auto first = makeWindow();
    auto second = makeWindow();
    EditorInsert insert;
    HostEditor& editor = insert.openEditor();
    ASSERT_EQ (editor.attach (first->windowId()), AAX_SUCCESS);
    insert.pump (5);
    ASSERT_EQ (editor.attach (second->windowId()), AAX_SUCCESS);
    insert.pump (5);
    EXPECT_TRUE (first->childWindows().empty());
    EXPECT_EQ (second->childWindows().size(), 1u);
}

// What the window shows is what the editor paints: the picture read back from the server equals
// the editor's own rendering, background included.
TEST_F (EditorWindowTest, TheWindowShowsTheEditorsPaint)
{
    for (const int channels : { 2, 1 })
    {
        auto window = makeWindow();
        EditorInsert insert (channels);
        HostEditor& editor = insert.openEditor();
        ASSERT_EQ (editor.attach (window->windowId()), AAX_SUCCESS);
        std::vector<uint32_t> picture;
        ASSERT_TRUE (pumpUntilPainted (insert, *window, picture)) << channels << " channels";
        EXPECT_NE (std::find (picture.begin(), picture.end(), editorBackground), picture.end());

        auto* component = EditorInsert::guiObject (editor).getEditor();
        const juce::Image shown = toImage (picture, 800, 518);
        const juce::Image rendered = component->createComponentSnapshot (component->getLocalBounds(), true, 1.0f);
        int differing = 0;
        juce::Rectangle<int> where;
        for (int y = 0; y < 518; ++y)
            for (int x = 0; x < 800; ++x)
                if (shown.getPixelAt (x, y).getARGB() != rendered.getPixelAt (x, y).getARGB())
                {
                    ++differing;
                    where = where.isEmpty() ? juce::Rectangle<int> (x, y, 1, 1) : where.getUnion ({ x, y, 1, 1 });
                }
        EXPECT_EQ (differing, 0) << channels << " channels, within " << where.toString();
    }
}

TEST_F (EditorWindowTest, ClosingOrDestroyingTheHostWindowIsSeenAndEndsTheEditorsTimeQuietly)
{
    for (const bool destroy : { false, true })
    {
        auto window = makeWindow();
        EditorInsert insert;
        HostEditor& editor = insert.openEditor();
        ASSERT_EQ (editor.attach (window->windowId()), AAX_SUCCESS);
        insert.pump (5);

        // Another client: a window manager's close button, or someone destroying the window.
        Display* other = XOpenDisplay (nullptr);
        ASSERT_NE (other, nullptr);
        const auto target = static_cast<Window> (window->windowId());
        if (destroy)
            XDestroyWindow (other, target);
        else
        {
            XEvent event{};
            event.xclient.type = ClientMessage;
            event.xclient.window = target;
            event.xclient.message_type = XInternAtom (other, "WM_PROTOCOLS", False);
            event.xclient.format = 32;
            event.xclient.data.l[0] = static_cast<long> (XInternAtom (other, "WM_DELETE_WINDOW", False));
            XSendEvent (other, target, False, NoEventMask, &event);
        }
        XSync (other, False);
        XCloseDisplay (other);

        bool open = true;
        for (int turn = 0; turn < 500 && open; ++turn)
        {
            open = window->handleEvents();
            insert.pump (1);
        }
        EXPECT_FALSE (open) << (destroy ? "destroyed" : "closed");
        // The window's own errors, from JUCE's requests on its destroyed child, are
        // expected and not reported.
        editor.tearDown();
        insert.pump (5);
    }
}

// A drag on one of the editor's own sliders, as the mouse makes it, reaches the host as one touch,
// value requests and one release of the slider's parameter.
TEST_F (EditorWindowTest, DraggingAnEditorSliderTouchesSetsAndReleasesItsParameter)
{
    // The slider's value pop-up needs a screen, so the editor is shown in a window.
    auto hostWindow = makeWindow();
    EditorInsert insert;
    HostEditor& editor = insert.openEditor();
    ASSERT_EQ (editor.attach (hostWindow->windowId()), AAX_SUCCESS);
    insert.pump (5);
    auto* window = EditorInsert::guiObject (editor).getEditor();
    ASSERT_NE (window, nullptr);
    juce::Slider* fader = nullptr;
    forEachSlider (*window,
                   [&fader, window] (juce::Slider& slider)
                   {
                       bool visible = true;
                       for (juce::Component* c = &slider; c != nullptr && c != window; c = c->getParentComponent())
                           visible = visible && c->isVisible();
                       if (fader == nullptr && visible && slider.isVertical())
                           fader = &slider;
                   });
    ASSERT_NE (fader, nullptr) << "the editor shows no fader";
    insert.instance->services().clearRecords();

    auto mouse = juce::Desktop::getInstance().getMainMouseSource();
    const auto centre = fader->getLocalBounds().getCentre().toFloat();
    const auto at = [&] (juce::Point<float> position, juce::ModifierKeys modifiers)
    {
        const auto now = juce::Time::getCurrentTime();
        return juce::MouseEvent (mouse, position, modifiers, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, fader, fader, now, centre,
                                 now, 1, false);
    };
    const auto left = juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier);
    fader->mouseDown (at (centre, left));
    for (int step = 1; step <= 5; ++step)
        fader->mouseDrag (at (centre.translated (0.0f, -8.0f * static_cast<float> (step)), left));
    fader->mouseUp (at (centre.translated (0.0f, -40.0f), juce::ModifierKeys()));
    insert.pump();

    std::vector<HostInstanceServices::AutomationEvent> gestures;
    for (const auto& event : insert.instance->services().automationEvents())
        if (event.kind != "post")
            gestures.push_back (event);
    ASSERT_GE (gestures.size(), 3u);
    const std::string identifier = gestures.front().identifier;
    EXPECT_EQ (gestures.front().kind, "touch");
    EXPECT_EQ (gestures.back().kind, "release");
    EXPECT_EQ (gestures.back().identifier, identifier);
    int requests = 0;
    for (const auto& event : gestures)
    {
        EXPECT_EQ (event.identifier, identifier) << "another parameter moved";
        requests += event.kind == "request" ? 1 : 0;
    }
    EXPECT_GE (requests, 1);
    // The host's value is where the fader left it.
    auto* parameter = insert.processor().getValueTreeState().getParameter (identifier);
    ASSERT_NE (parameter, nullptr);
    EXPECT_NEAR (insert.instance->normalizedValue (identifier), parameter->getValue(), 1e-6);
    EXPECT_NEAR (parameter->convertFrom0to1 (parameter->getValue()), fader->getValue(), 1e-3);
}

TEST_F (EditorWindowTest, KeysOfAWindowThatGainsTheFocusPressNoControl)
{
    auto hostWindow = makeWindow();
    EditorInsert insert;
    HostEditor& editor = insert.openEditor();
    ASSERT_EQ (editor.attach (hostWindow->windowId()), AAX_SUCCESS);
    insert.pump (5);
    auto* window = EditorInsert::guiObject (editor).getEditor();
    ASSERT_NE (window, nullptr);
    auto* peer = window->getPeer();
    ASSERT_NE (peer, nullptr);

    std::vector<float> before;
    for (auto* parameter : insert.processor().getParameters())
        before.push_back (parameter->getValue());

    // As when the user clicks into the plug-in's window and then types for the host.
    peer->handleFocusGain();
    for (const int key : { juce::KeyPress::returnKey, juce::KeyPress::spaceKey, juce::KeyPress::downKey })
    {
        SCOPED_TRACE (juce::KeyPress (key).getTextDescription());
        EXPECT_FALSE (peer->handleKeyPress (juce::KeyPress (key))) << "the editor kept a key from the host";
        insert.pump();
    }

    const auto* focused = juce::Component::getCurrentlyFocusedComponent();
    EXPECT_TRUE (focused == nullptr || focused == window) << "focused: " << typeid (*focused).name();
    const auto parameters = insert.processor().getParameters();
    for (size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ (parameters[(int) i]->getValue(), before[i]) << parameters[(int) i]->getName (64);
}
