// The plug-in's editor in real X11 windows of the host stand-in (run under Xvfb): attached as a
// child of the host's window, taken out and put back, moved to another window, painted, and the
// host window closed or destroyed under it, with audio running; and a drag on one of its sliders.

#include "ColourPalette.h"
#include "DisplayTest.h"
#include "EditorInsert.h"
#include "LiveInsertAudio.h"
#include "TestSignal.h"
#include "X11Display.h"
#include "X11ViewWindow.h"
#include "state/StateComponent.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
// X names an event type KeyPress; the tests mean JUCE's.
#undef KeyPress

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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
        // Without a display each test skips itself. A display that is named but cannot be
        // reached is a failure.
        if (! displayIsNamed())
            return;
        std::string error;
        connection = X11Display::open (error);
        if (connection == nullptr)
        {
            std::fprintf (stderr, "%s\n", error.c_str());
            std::exit (1);
        }
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
        // Reported as skipped, which ctest shows (a skip in the global environment counts as passed).
        if (display == nullptr)
            GTEST_SKIP() << "no X display (these tests run under xvfb-run)";
        errorsBefore = X11Display::errorCount();
    }
    void TearDown() override
    {
        if (display != nullptr)
        {
            EXPECT_EQ (X11Display::errorCount(), errorsBefore) << "X errors were reported";
        }
    }

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
    // grabs after covering the host's black; false after ten seconds.
    bool pumpUntilPainted (EditorInsert& insert, X11ViewWindow& window, std::vector<uint32_t>& picture)
    {
        std::vector<uint32_t> grab;
        int stable = 0;
        const auto deadline = juce::Time::getMillisecondCounter() + 10000;
        while (stable < 3 && juce::Time::getMillisecondCounter() < deadline)
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

namespace
{
// The editor in a host window whose keyboard focus it holds, as after the user clicked into it,
// with the keys and clicks of the display delivered through its window.
class EditorKeysTest : public EditorWindowTest
{
protected:
    void SetUp() override
    {
        EditorWindowTest::SetUp();
        if (IsSkipped())
            return;
        hostWindow = makeWindow();
        insert = std::make_unique<EditorInsert>();
        auto& hostEditor = insert->openEditor();
        ASSERT_EQ (hostEditor.attach (hostWindow->windowId()), AAX_SUCCESS);
        insert->pump (5);
        editor = EditorInsert::guiObject (hostEditor).getEditor();
        ASSERT_NE (editor, nullptr);
        peer = editor->getPeer();
        ASSERT_NE (peer, nullptr);
        // As when the user clicks into the window: the server gives it the focus, and the editor
        // takes it once JUCE has seen the server say so (a focus event seen later would move the
        // focus back to the editor mid-test).
        auto* server = display->native();
        XSetInputFocus (server, PointerRoot, RevertToPointerRoot, CurrentTime);
        XSync (server, False);
        ASSERT_TRUE (waitUntil ([] { return focused() == nullptr; }));
        XSetInputFocus (server, static_cast<Window> (reinterpret_cast<uintptr_t> (editor->getWindowHandle())),
                        RevertToParent, CurrentTime);
        XSync (server, False);
        ASSERT_TRUE (waitUntil ([this] { return focused() == editor; }));
        ASSERT_EQ (focused(), editor);
    }

    void TearDown() override
    {
        insert.reset();
        hostWindow.reset();
        EditorWindowTest::TearDown();
    }

    void settle() { insert->pump (5); }

    // Whether the window, once painted, shows the focus outline round the button: in the
    // outline's colour just outside the middle of each of its four sides.
    bool showsFocus (juce::Component& button)
    {
        ColourPalette palette;
        const auto outline = fillColourPalette (palette)[PaletteColour::focusOutline].getARGB();
        std::vector<uint32_t> picture;
        if (! pumpUntilPainted (*insert, *hostWindow, picture))
            return false;
        const auto bounds = editor->getLocalArea (&button, button.getLocalBounds());
        const auto centre = bounds.getCentre();
        for (const auto at : { juce::Point<int> (bounds.getX() - 1, centre.y),
                               { bounds.getRight(), centre.y },
                               { centre.x, bounds.getY() - 1 },
                               { centre.x, bounds.getBottom() } })
            if (! editor->getLocalBounds().contains (at) ||
                picture[static_cast<size_t> (at.y * hostWindow->width() + at.x)] != outline)
                return false;
        return true;
    }

    // Turns of the host's main thread until the condition holds; false after ten seconds.
    bool waitUntil (const std::function<bool()>& condition)
    {
        const auto deadline = juce::Time::getMillisecondCounter() + 10000;
        while (! condition() && juce::Time::getMillisecondCounter() < deadline)
            insert->pump (1);
        return condition();
    }

    static juce::Component* focused() { return juce::Component::getCurrentlyFocusedComponent(); }

    static juce::Component* modal()
    {
        auto& manager = *juce::ModalComponentManager::getInstance();
        return manager.getNumModalComponents() > 0 ? manager.getModalComponent (0) : nullptr;
    }

    // A key as the display delivers it to a window (the editor's unless named); true when the
    // plug-in kept it from the host.
    bool press (int keyCode, juce::ModifierKeys modifiers = {}, juce::juce_wchar text = 0,
                juce::ComponentPeer* to = nullptr)
    {
        const bool used = (to != nullptr ? to : peer)->handleKeyPress (juce::KeyPress (keyCode, modifiers, text));
        settle();
        return used;
    }

    // A press and release of a mouse button over the component, through its window; moved by
    // `dragBy` in between when given.
    void click (juce::Component& target, int mouseButton = juce::ModifierKeys::leftButtonModifier,
                juce::Point<float> dragBy = {})
    {
        auto* targetPeer = target.getPeer();
        ASSERT_NE (targetPeer, nullptr);
        const auto at =
            targetPeer->getComponent().getLocalPoint (&target, target.getLocalBounds().getCentre()).toFloat();
        const auto type = juce::MouseInputSource::InputSourceType::mouse;
        const auto pressure = juce::MouseInputSource::defaultPressure;
        const auto held = juce::ModifierKeys (mouseButton);
        auto time = juce::Time::currentTimeMillis();
        targetPeer->handleMouseEvent (type, at, {}, pressure, 0.0f, time);
        targetPeer->handleMouseEvent (type, at, held, pressure, 0.0f, ++time);
        if (dragBy != juce::Point<float>())
            for (int step = 1; step <= 4; ++step)
                targetPeer->handleMouseEvent (type, at + dragBy * (float) step / 4.0f, held, pressure, 0.0f, ++time);
        targetPeer->handleMouseEvent (type, at + dragBy, {}, pressure, 0.0f, ++time);
        targetPeer->handleMouseEvent (type, { -100.0f, -100.0f }, {}, pressure, 0.0f, ++time);
        settle();
    }

    // A turn of the mouse wheel over the component, through its window.
    void wheel (juce::Component& target)
    {
        auto* targetPeer = target.getPeer();
        ASSERT_NE (targetPeer, nullptr);
        const auto at =
            targetPeer->getComponent().getLocalPoint (&target, target.getLocalBounds().getCentre()).toFloat();
        const auto type = juce::MouseInputSource::InputSourceType::mouse;
        const auto time = juce::Time::currentTimeMillis();
        targetPeer->handleMouseEvent (type, at, {}, juce::MouseInputSource::defaultPressure, 0.0f, time);
        juce::MouseWheelDetails turn{};
        turn.deltaY = 0.25f;
        targetPeer->handleMouseWheel (type, at, time + 1, turn);
        targetPeer->handleMouseEvent (type, { -100.0f, -100.0f }, {}, juce::MouseInputSource::defaultPressure, 0.0f,
                                      time + 2);
        settle();
    }

    // The shown button of this name (or text) in the component.
    static juce::Button* findButton (juce::Component& parent, const juce::String& name)
    {
        for (auto* child : parent.getChildren())
        {
            if (auto* b = dynamic_cast<juce::Button*> (child);
                b != nullptr && b->isShowing() && (b->getName() == name || b->getButtonText() == name))
                return b;
            if (auto* found = findButton (*child, name))
                return found;
        }
        return nullptr;
    }
    juce::Button& control (const juce::String& name)
    {
        auto* found = findButton (*editor, name);
        if (found == nullptr)
            throw std::runtime_error (("no control " + name).toStdString());
        return *found;
    }

    // Tabs from the editor itself to the first control of this name (or text); null when Tab
    // never reaches one.
    juce::Button* tabTo (const juce::String& name)
    {
        editor->grabKeyboardFocus();
        for (int i = 0; i < 200; ++i)
        {
            press (juce::KeyPress::tabKey);
            if (auto* b = dynamic_cast<juce::Button*> (focused());
                b != nullptr && (b->getName() == name || b->getButtonText() == name))
                return b;
        }
        return nullptr;
    }

    juce::ComboBox& presetBox()
    {
        for (auto* child : editor->getChildComponent (0)->getChildren())
            if (auto* box = dynamic_cast<juce::ComboBox*> (child))
                return *box;
        throw std::runtime_error ("no preset box");
    }

    std::vector<float> parameterValues() const
    {
        std::vector<float> values;
        for (auto* parameter : insert->processor().getParameters())
            values.push_back (parameter->getValue());
        return values;
    }

    // A shown, rotary or vertical slider of the editor.
    juce::Slider& slider (bool rotary)
    {
        juce::Slider* found = nullptr;
        forEachSlider (*editor,
                       [&found, rotary] (juce::Slider& s)
                       {
                           if (found == nullptr && s.isShowing() && (rotary ? s.isRotary() : s.isVertical()))
                               found = &s;
                       });
        if (found == nullptr)
            throw std::runtime_error ("no such slider");
        return *found;
    }

    // Makes a user preset the chosen one, so that Delete preset is enabled.
    void chooseUserPreset()
    {
        static int made = 0;
        auto& strip = dynamic_cast<state::StateComponent&> (*editor->getChildComponent (0));
        ASSERT_TRUE (strip.saveCurrentSettingsAs ("Tabbed " + juce::String (++made)));
        settle();
    }

    // Keys that follow go on to the host and press nothing: no control holds the focus, and
    // neither Return nor Space clicks a button, opens something or changes a setting or preset.
    void expectKeysPressNothing()
    {
        EXPECT_TRUE (focused() == nullptr || focused() == editor)
            << "focused: " << (focused() != nullptr ? focused()->getName() : "nothing");
        struct ClickCounter : juce::Button::Listener
        {
            void buttonClicked (juce::Button* b) override { clicked.add (b->getName()); }
            juce::StringArray clicked;
        } counter;
        std::function<void (juce::Component&, bool)> listenTo = [&] (juce::Component& parent, bool listen)
        {
            for (auto* child : parent.getChildren())
            {
                if (auto* b = dynamic_cast<juce::Button*> (child))
                    listen ? b->addListener (&counter) : b->removeListener (&counter);
                listenTo (*child, listen);
            }
        };
        listenTo (*editor, true);

        const auto before = parameterValues();
        const auto presetsBefore = insert->processor().getPresetStore().presetFile.loadFileAsString();
        EXPECT_FALSE (press (juce::KeyPress::returnKey)) << "the editor kept Return from the host";
        EXPECT_FALSE (press (juce::KeyPress::spaceKey, {}, ' ')) << "the editor kept Space from the host";
        settle();
        listenTo (*editor, false);
        EXPECT_TRUE (counter.clicked.isEmpty()) << "pressed: " << counter.clicked.joinIntoString (", ");
        EXPECT_EQ (modal(), nullptr) << "a key opened something";
        if (auto* m = modal())
        {
            m->exitModalState (1);
            waitUntil ([] { return modal() == nullptr; });
        }
        EXPECT_EQ (parameterValues(), before) << "a key changed a setting";
        EXPECT_EQ (insert->processor().getPresetStore().presetFile.loadFileAsString(), presetsBefore);
    }

    std::unique_ptr<X11ViewWindow> hostWindow;
    std::unique_ptr<EditorInsert> insert;
    juce::AudioProcessorEditor* editor = nullptr;
    juce::ComponentPeer* peer = nullptr;
};
} // namespace

TEST_F (EditorKeysTest, TabAndShiftTabGoThroughTheControlsInOrder)
{
    // The channel mode chooses the channel group shown: 1 for All, 2 for Right.
    for (const auto* mode : { "process_A", "process_R" })
    {
        SCOPED_TRACE (mode);
        insert->processor().getValueTreeState().getParameter (mode)->setValueNotifyingHost (1.0f);
        settle();
        editor->grabKeyboardFocus();
        ASSERT_EQ (focused(), editor);
        // The editor's children in the order it adds them: strip, input column, channel group 2,
        // channel group 1, output section.
        auto* strip = editor->getChildComponent (0);
        auto* shownGroup =
            editor->getChildComponent (2)->isVisible() ? editor->getChildComponent (2) : editor->getChildComponent (3);
        ASSERT_EQ (shownGroup, editor->getChildComponent (juce::String (mode) == "process_R" ? 2 : 3));
        auto* outputSection = editor->getChildComponent (4);

        std::vector<juce::Component*> forwards;
        bool wrapped = false;
        for (int i = 0; i < 200 && ! wrapped; ++i)
        {
            EXPECT_TRUE (press (juce::KeyPress::tabKey)) << "Tab went to the host";
            auto* now = focused();
            ASSERT_TRUE (now != nullptr && now != editor) << "Tab " << i + 1 << " reached no control";
            wrapped = ! forwards.empty() && now == forwards.front();
            if (! wrapped)
                forwards.push_back (now);
        }
        ASSERT_TRUE (wrapped) << "Tab never came back to the first control";

        // The strip from left to right (Delete preset is disabled), the shown group, the output section.
        ASSERT_GE (forwards.size(), 5u);
        const std::vector<juce::String> stripOrder{ "Bypass", "A-B", "Keep", "Save preset" };
        for (size_t i = 0; i < stripOrder.size(); ++i)
            EXPECT_EQ (forwards[i]->getName(), stripOrder[i]);
        int section = 0; // 0 strip, 1 group, 2 output section
        for (auto* stop : forwards)
        {
            const int in = strip->isParentOf (stop)           ? 0
                           : shownGroup->isParentOf (stop)    ? 1
                           : outputSection->isParentOf (stop) ? 2
                                                              : -1;
            ASSERT_GE (in, section) << stop->getName() << " out of order";
            section = in;
            EXPECT_TRUE (stop->isShowing() && stop->isEnabled() && ! stop->getBounds().isEmpty() &&
                         dynamic_cast<juce::Button*> (stop) != nullptr)
                << stop->getName();
            EXPECT_EQ (std::count (forwards.begin(), forwards.end(), stop), 1) << stop->getName();
        }
        EXPECT_EQ (section, 2);
        EXPECT_EQ (forwards.back()->getName(), "Reset");
        EXPECT_EQ (std::count (forwards.begin(), forwards.end(), &control ("Korvel Audio Tools")), 0) << "the logo";

        // Shift+Tab from the editor goes the same way back.
        editor->grabKeyboardFocus();
        ASSERT_EQ (focused(), editor);
        std::vector<juce::Component*> backwards;
        const auto shift = juce::ModifierKeys (juce::ModifierKeys::shiftModifier);
        for (size_t i = 0; i < forwards.size(); ++i)
        {
            EXPECT_TRUE (press (juce::KeyPress::tabKey, shift));
            backwards.push_back (focused());
        }
        std::reverse (backwards.begin(), backwards.end());
        EXPECT_EQ (backwards, forwards);
    }
}

TEST_F (EditorKeysTest, ReturnOrSpacePressesTheControlTabbedTo)
{
    struct Case
    {
        const char* control;
        int key;
        juce::juce_wchar text;
        const char* parameterId; // that the control switches
    };
    const std::vector<Case> cases{
        { "Bypass", juce::KeyPress::returnKey, 0, "bypass" },
        { "Bypass", juce::KeyPress::spaceKey, ' ', "bypass" },
        { "Phase L", juce::KeyPress::returnKey, 0, "phase_L" },
        { "Solo CH2", juce::KeyPress::spaceKey, ' ', "solo_2" },
        { "LP", juce::KeyPress::spaceKey, ' ', "button_LP_1_1" },
        { "-12", juce::KeyPress::returnKey, 0, "gain_1_1" },
    };
    auto& state = insert->processor().getValueTreeState();
    for (const auto& c : cases)
    {
        SCOPED_TRACE (juce::String (c.control) + " by " + juce::KeyPress (c.key).getTextDescription());
        auto* tabbed = tabTo (c.control);
        ASSERT_NE (tabbed, nullptr);
        EXPECT_TRUE (showsFocus (*tabbed)) << "no outline shows the focus";
        const auto before = state.getParameter (c.parameterId)->getValue();
        EXPECT_TRUE (press (c.key, {}, c.text)) << "the key went to the host";
        settle();
        EXPECT_NE (state.getParameter (c.parameterId)->getValue(), before);
        EXPECT_EQ (focused(), tabbed) << "the control lost the focus to "
                                      << (focused() != nullptr ? focused()->getName() : "nothing");
    }

    // Other keys go on to the host, a control tabbed to or not.
    ASSERT_TRUE (tabTo ("Bypass"));
    const auto before = parameterValues();
    EXPECT_FALSE (press (juce::KeyPress::downKey));
    EXPECT_FALSE (press ('a', {}, 'a'));
    EXPECT_EQ (parameterValues(), before);

    // The outline shows on every kind of control, and goes with the focus: when the window loses
    // it, and when the editor takes it back.
    for (const auto* name : { "A-B", "Keep", "Save preset", "Left", "Reset" })
    {
        auto* tabbed = tabTo (name);
        ASSERT_NE (tabbed, nullptr) << name;
        EXPECT_TRUE (showsFocus (*tabbed)) << name;
    }
    peer->handleFocusLoss();
    EXPECT_FALSE (showsFocus (control ("Reset"))) << "the window lost the focus";
    ASSERT_NE (tabTo ("Reset"), nullptr);
    editor->grabKeyboardFocus();
    EXPECT_FALSE (showsFocus (control ("Reset"))) << "the editor took the focus";
}

// Whatever the user tabbed to before (the controls that lose most when pressed by mistake), any
// other way the window goes on leaves no control for Return or Space to press.
TEST_F (EditorKeysTest, AfterTheMouseAMenuOrADialogNoKeyPressesAControl)
{
    auto& store = insert->processor().getPresetStore();
    const auto dialog = [] { return dynamic_cast<juce::AlertWindow*> (modal()); };
    const auto closed = [] { return modal() == nullptr; };
    const auto dialogButton = [] (juce::AlertWindow& window, const juce::String& text) -> juce::Button&
    {
        for (auto* child : window.getChildren())
            if (auto* b = dynamic_cast<juce::TextButton*> (child); b != nullptr && b->getButtonText() == text)
                return *b;
        throw std::runtime_error ("no dialog button " + text.toStdString());
    };
    int saved = 0;
    // Opens the save dialog and names the preset; by Tab and Return, or by a click.
    const auto openSaveDialog = [&] (bool byKeyboard) -> juce::AlertWindow&
    {
        if (byKeyboard)
        {
            if (! tabTo ("Save preset"))
                throw std::runtime_error ("Tab does not reach Save preset");
            press (juce::KeyPress::returnKey);
        }
        else
            click (control ("Save preset"));
        if (! waitUntil ([&] { return dialog() != nullptr; }))
            throw std::runtime_error ("the save dialog did not open");
        dialog()->getTextEditor ("presetEditorID")->setText ("Keys " + juce::String (++saved));
        return *dialog();
    };
    // A save that fails shows an alert.
    const auto openAlert = [&]() -> juce::AlertWindow&
    {
        store.writeXml = [] (const juce::XmlElement&, const juce::File&) { return false; };
        auto& saveDialog = openSaveDialog (false);
        press (juce::KeyPress::returnKey, {}, 0, saveDialog.getPeer());
        store.writeXml = nullptr;
        if (! waitUntil ([&] { return dialog() != nullptr && dialog()->getName() == "Presets"; }))
            throw std::runtime_error ("no alert");
        return *dialog();
    };

    struct Route
    {
        const char* name;
        const char* tabbedBefore; // a control tabbed to first, or none
        std::function<void()> take;
    };
    const std::vector<Route> routes{
        { "a click on the preset strip's A-B", "Delete preset", [&] { click (control ("A-B")); } },
        { "a click on Bypass", "Reset", [&] { click (control ("Bypass")); } },
        { "a click on a band's type button", "Delete preset", [&] { click (control ("LP")); } },
        { "a click on a solo button", "Reset", [&] { click (control ("Solo CH2")); } },
        { "a right-click on a control", "Delete preset",
          [&] { click (control ("Keep"), juce::ModifierKeys::rightButtonModifier); } },
        { "the wheel over a knob", "Delete preset", [&] { wheel (slider (true)); } },
        { "a drag on a fader", "Reset",
          [&] {
              click (slider (false), juce::ModifierKeys::leftButtonModifier, { 0, -20 });
          } },
        { "the window regaining the focus", "Delete preset", [&] { peer->handleFocusGain(); } },
        { "a direct grab by another control", "Reset", [&] { control ("A-B").grabKeyboardFocus(); } },
        { "preset menu closed by Escape", "Delete preset",
          [&]
          {
              click (presetBox());
              ASSERT_TRUE (waitUntil ([] { return modal() != nullptr; }));
              press (juce::KeyPress::escapeKey);
          } },
        { "preset menu row chosen by Down and Return", "Reset",
          [&]
          {
              const auto before = store.currentPreset;
              click (presetBox());
              ASSERT_TRUE (waitUntil ([] { return modal() != nullptr; }));
              press (juce::KeyPress::downKey);
              press (juce::KeyPress::returnKey);
              ASSERT_TRUE (waitUntil (closed));
              EXPECT_NE (store.currentPreset, before);
          } },
        { "save dialog closed by OK", nullptr, [&] { click (dialogButton (openSaveDialog (false), "OK")); } },
        { "save dialog closed by Cancel", nullptr, [&] { click (dialogButton (openSaveDialog (false), "Cancel")); } },
        { "save dialog closed by Return", nullptr,
          [&] { press (juce::KeyPress::returnKey, {}, 0, openSaveDialog (false).getPeer()); } },
        { "save dialog closed by Escape", nullptr,
          [&] { press (juce::KeyPress::escapeKey, {}, 0, openSaveDialog (false).getPeer()); } },
        { "save dialog opened by Tab and Return, closed by Escape", nullptr,
          [&] { press (juce::KeyPress::escapeKey, {}, 0, openSaveDialog (true).getPeer()); } },
        { "save dialog opened by Tab and Return, closed by Return", nullptr,
          [&] { press (juce::KeyPress::returnKey, {}, 0, openSaveDialog (true).getPeer()); } },
        { "alert closed by Return", nullptr, [&] { press (juce::KeyPress::returnKey, {}, 0, openAlert().getPeer()); } },
        { "alert closed by Escape", nullptr, [&] { press (juce::KeyPress::escapeKey, {}, 0, openAlert().getPeer()); } },
        { "alert closed by its OK", nullptr, [&] { click (dialogButton (openAlert(), "OK")); } },
    };

    for (const auto& route : routes)
    {
        SCOPED_TRACE (route.name);
        try
        {
            if (route.tabbedBefore != nullptr)
            {
                if (juce::String (route.tabbedBefore) == "Delete preset")
                    chooseUserPreset();
                ASSERT_TRUE (tabTo (route.tabbedBefore));
            }
            route.take();
        }
        catch (const std::exception& e)
        {
            ADD_FAILURE() << e.what();
            while (auto* m = modal())
            {
                m->exitModalState (1);
                waitUntil ([m] { return modal() != m; });
            }
            editor->grabKeyboardFocus();
            continue;
        }
        ASSERT_TRUE (waitUntil (closed));
        settle();
        expectKeysPressNothing();
        // The window may gain the focus again as well.
        peer->handleFocusGain();
        expectKeysPressNothing();
    }
}

// The band panels' type buttons and the stepped knobs' scale values, like every other button.
TEST_F (EditorKeysTest, TheBandsButtonsAnswerThePrimaryMouseButtonOnly)
{
    for (const auto* name : { "LP", "HP", "200", "-12" })
    {
        SCOPED_TRACE (name);
        auto& target = control (name);
        const auto before = parameterValues();
        for (const auto mouseButton :
             { juce::ModifierKeys::rightButtonModifier, juce::ModifierKeys::middleButtonModifier })
        {
            click (target, mouseButton);
            EXPECT_EQ (parameterValues(), before) << "mouse button " << mouseButton;
        }
        click (target);
        EXPECT_NE (parameterValues(), before);
        EXPECT_EQ (focused(), editor);
    }
}
