// The preset strip's save dialog, failure alert and preset menu on a real display.
#include "DisplayClick.h"
#include "DisplayTest.h"
#include "PresetStripTestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using namespace presetstrip;
using namespace displayclick;

class PresetStripDisplayTest : public DisplayTest
{
};

namespace
{
juce::AlertWindow* modalAlert()
{
    auto& manager = *juce::ModalComponentManager::getInstance();
    return manager.getNumModalComponents() > 0 ? dynamic_cast<juce::AlertWindow*> (manager.getModalComponent (0))
                                               : nullptr;
}

bool nothingModal()
{
    return juce::ModalComponentManager::getInstance()->getNumModalComponents() == 0;
}

juce::AlertWindow& openSaveDialog (state::StateComponent& strip)
{
    click (button (strip, "Save preset"));
    if (! runUntil ([] { return modalAlert() != nullptr; }, 2000))
        throw std::runtime_error ("the save dialog did not open");
    return *modalAlert();
}

juce::TextButton& dialogButton (juce::AlertWindow& dialog, const juce::String& text)
{
    return *findChild<juce::TextButton> (dialog, [&] (juce::TextButton& b) { return b.getButtonText() == text; });
}

// A key as the window receives it from the display: through its peer, to the focused control.
void press (juce::Component& window, int keyCode)
{
    window.getPeer()->handleKeyPress (juce::KeyPress (keyCode));
}

// Opens the list's menu and returns it.
juce::Component& openMenu (juce::ComboBox& list)
{
    list.showPopup();
    if (! runUntil ([] { return nothingModal() == false; }, 2000))
        throw std::runtime_error ("the preset menu did not open");
    return *juce::ModalComponentManager::getInstance()->getModalComponent (0);
}

// Chooses the row this many rows below the one the menu opened on, by Down and Return.
void chooseRowsDown (juce::Component& menu, int rows)
{
    for (int i = 0; i < rows; ++i)
        press (menu, juce::KeyPress::downKey);
    press (menu, juce::KeyPress::returnKey);
    if (! runUntil (nothingModal, 2000))
        throw std::runtime_error ("the preset menu did not close");
    dispatchPendingMessages();
}

// The dialog's message, as its accessible label carries it ("<title>. <message>").
juce::String messageOf (juce::AlertWindow& dialog)
{
    return findChild<juce::Label> (dialog, [] (juce::Label&) { return true; })->getText();
}

int entriesOnDisk (StripRig& rig)
{
    return PresetStore::readDocument (rig.store().presetFile)->getNumChildElements();
}
} // namespace

TEST_F (PresetStripDisplayTest, SaveDialogAsksForANameWithOKAndCancel)
{
    StripRig rig;
    auto& strip = rig.open();
    auto& dialog = openSaveDialog (strip);

    EXPECT_EQ (dialog.getName(), "Save preset...");
    EXPECT_TRUE (dialog.isOnDesktop());
    EXPECT_TRUE (dialog.isCurrentlyModal());
    EXPECT_EQ (&dialog.getLookAndFeel(), &presetList (strip).getLookAndFeel());
    EXPECT_EQ (dialog.findColour (juce::AlertWindow::backgroundColourId).getARGB(), 0xFF000000u);

    // The prompt shows in the empty field, which has the keyboard focus: typing starts the name.
    auto* editor = dialog.getTextEditor ("presetEditorID");
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (editor->getText(), "");
    EXPECT_EQ (editor->getTextToShowWhenEmpty(), "Enter preset name");
    EXPECT_TRUE (editor->hasKeyboardFocus (false));
    dialog.getPeer()->handleKeyPress (juce::KeyPress ('M', juce::ModifierKeys(), 'M'));
    dialog.getPeer()->handleKeyPress (juce::KeyPress ('y', juce::ModifierKeys(), 'y'));
    EXPECT_EQ (editor->getText(), "My");
    int numEditors = 0;
    for (auto* child : dialog.getChildren())
        numEditors += dynamic_cast<juce::TextEditor*> (child) != nullptr ? 1 : 0;
    EXPECT_EQ (numEditors, 1);

    auto& ok = dialogButton (dialog, "OK");
    auto& cancel = dialogButton (dialog, "Cancel");
    EXPECT_TRUE (ok.isRegisteredForShortcut (juce::KeyPress (13)));
    EXPECT_TRUE (cancel.isRegisteredForShortcut (juce::KeyPress (27)));
    EXPECT_EQ (ok.getCommandID(), 0);
    EXPECT_EQ (cancel.getCommandID(), 1);

    // Opening it again while it is open brings the same dialog forward.
    click (button (strip, "Save preset"));
    EXPECT_EQ (juce::ModalComponentManager::getInstance()->getNumModalComponents(), 1);

    press (dialog, juce::KeyPress::escapeKey);
    EXPECT_TRUE (runUntil (nothingModal, 2000));
}

namespace
{
// The first and last of the pixel rows in which the image has any ink on its black background.
juce::Range<int> inkedRows (const juce::Image& image, int numRows)
{
    juce::Range<int> rows;
    for (int y = 0; y < numRows; ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y).getBrightness() > 0.02f)
            {
                rows = rows.isEmpty() ? juce::Range<int> (y, y + 1) : rows.getUnionWith (juce::Range<int> (y, y + 1));
                break;
            }
    return rows;
}
} // namespace

// Text with descenders and parentheses keeps its feet in the name field, in the product's own
// font and in the others a machine may give it.
TEST_F (PresetStripDisplayTest, TheNameFieldShowsTypedTextWhole)
{
    StripRig rig;
    auto& dialog = openSaveDialog (rig.open());
    auto& field = *dialog.getTextEditor ("presetEditorID");
    field.setCaretVisible (false);
    const auto productFont = field.getFont();

    juce::StringArray typefaces{ productFont.getTypefacePtr()->getName() };
    for (const auto* other : { "DejaVu Sans", "Liberation Sans" })
        if (juce::Font::findAllTypefaceNames().contains (other))
            typefaces.addIfNotAlreadyThere (other);

    for (const auto& typeface : typefaces)
        for (const auto* text : { "gjpqy", "(Jig)" })
        {
            SCOPED_TRACE (typeface + ": " + text);
            const juce::Font font (typeface, productFont.getHeight(), juce::Font::plain);
            // What the text inks when nothing cuts it.
            juce::Image whole (juce::Image::RGB, field.getWidth(), 60, true);
            {
                juce::Graphics g (whole);
                g.setColour (juce::Colours::white);
                g.setFont (font);
                g.drawSingleLineText (text, 4, 30);
            }

            field.applyFontToAllText (font);
            field.setText (text);
            dispatchPendingMessages();
            const auto shown = field.createComponentSnapshot (field.getLocalBounds());
            // The field's last row is its underline, which the feet do not touch.
            const auto underline = shown.getHeight() - 1;
            const auto inField = inkedRows (shown, underline);
            EXPECT_EQ (inField.getLength(), inkedRows (whole, whole.getHeight()).getLength());
            EXPECT_LT (inField.getEnd(), underline);
        }
    press (dialog, juce::KeyPress::escapeKey);
    EXPECT_TRUE (runUntil (nothingModal, 2000));
}

TEST_F (PresetStripDisplayTest, OKSavesTheNamedPresetAndCancelSavesNothing)
{
    struct Case
    {
        const char* answer;
        bool saves;
    };
    for (const auto& c : std::vector<Case>{ { "Return", true },
                                            { "OK", true },
                                            { "Escape", false },
                                            { "Cancel", false },
                                            { "window close button", false } })
    {
        StripRig rig;
        auto& strip = rig.open();
        auto& dialog = openSaveDialog (strip);
        dialog.getTextEditor ("presetEditorID")->setText ("Night drive");

        const juce::String answer (c.answer);
        if (answer == "Return")
            press (dialog, juce::KeyPress::returnKey);
        else if (answer == "Escape")
            press (dialog, juce::KeyPress::escapeKey);
        else if (answer == "window close button")
            dialog.getPeer()->handleUserClosingWindow();
        else
            dialogButton (dialog, answer).triggerClick();
        ASSERT_TRUE (runUntil (nothingModal, 2000)) << c.answer;
        dispatchPendingMessages();

        auto& list = presetList (strip);
        EXPECT_EQ (list.getNumItems(), c.saves ? 9 : 8) << c.answer;
        EXPECT_EQ (entriesOnDisk (rig), c.saves ? 9 : 8) << c.answer;
        if (c.saves)
        {
            EXPECT_EQ (list.getItemText (8), "Night drive");
            EXPECT_EQ (list.getSelectedId(), 9);
            EXPECT_TRUE (button (strip, "Delete preset").isEnabled());
        }
    }
}

TEST_F (PresetStripDisplayTest, NamesTheStoreWouldRefuseKeepTheDialogOpenAndSayWhy)
{
    struct Case
    {
        juce::String name;
        const char* reason;
    };
    const std::vector<Case> cases{ { "", "the name is empty" },
                                   { "   ", "the name holds only spaces" },
                                   { "Tab\there", "control character" },
                                   { "Big Synth", "a preset named \"Big Synth\" exists already" } };
    StripRig rig;
    auto& strip = rig.open();
    auto& dialog = openSaveDialog (strip);
    for (const auto& c : cases)
    {
        dialog.getTextEditor ("presetEditorID")->setText (c.name);
        dialogButton (dialog, "OK").triggerClick();
        dispatchPendingMessages();
        EXPECT_TRUE (dialog.isCurrentlyModal()) << c.name;
        const auto message = messageOf (dialog);
        EXPECT_TRUE (message.contains (c.reason)) << message;
        EXPECT_EQ (entriesOnDisk (rig), 8);
    }

    dialog.getTextEditor ("presetEditorID")->setText ("Big Synth, brighter");
    press (dialog, juce::KeyPress::returnKey);
    ASSERT_TRUE (runUntil (nothingModal, 2000));
    dispatchPendingMessages();
    EXPECT_EQ (entriesOnDisk (rig), 9);
    EXPECT_EQ (presetList (strip).getText(), "Big Synth, brighter");
}

TEST_F (PresetStripDisplayTest, TheFieldTakesNamesUpToTheLongestAndTheNameIsKeptAsTheListShowsIt)
{
    StripRig rig;
    auto& strip = rig.open();
    auto& dialog = openSaveDialog (strip);
    auto* field = dialog.getTextEditor ("presetEditorID");

    // Pasted: what is past the longest name is left out, and the leading space is not kept.
    field->insertTextAtCaret (" " + juce::String::repeatedString ("n", 150));
    EXPECT_EQ (field->getText().length(), PresetStore::maxNameLength);
    press (dialog, juce::KeyPress::returnKey);
    ASSERT_TRUE (runUntil (nothingModal, 2000));
    dispatchPendingMessages();
    EXPECT_EQ (entriesOnDisk (rig), 9);
    EXPECT_EQ (presetList (strip).getText(), juce::String::repeatedString ("n", PresetStore::maxNameLength - 1));
}

TEST_F (PresetStripDisplayTest, ClosingTheStripWhileTheDialogIsOpenIsSafe)
{
    struct Case
    {
        const char* answerAfterClosing;
        bool processorGoesToo;
    };
    for (const auto& c : std::vector<Case>{ { "Return", false }, { "Escape", false }, { "Return", true } })
    {
        StripRig rig;
        auto& dialog = openSaveDialog (rig.open());
        dialog.getTextEditor ("presetEditorID")->setText ("Never saved");
        juce::Component::SafePointer<juce::AlertWindow> stillThere (&dialog);

        // The host closes the editor (and perhaps removes the plug-in) with the dialog open.
        rig.strip.reset();
        const auto file = rig.store().presetFile;
        if (c.processorGoesToo)
            rig.processor.reset();

        // The dialog went with the strip; an answer that still reaches it saves nothing.
        EXPECT_FALSE (stillThere != nullptr && stillThere->isVisible());
        if (stillThere != nullptr && stillThere->getPeer() != nullptr)
            press (*stillThere, juce::String (c.answerAfterClosing) == "Return" ? juce::KeyPress::returnKey
                                                                                : juce::KeyPress::escapeKey);
        EXPECT_TRUE (runUntil (nothingModal, 2000));
        dispatchPendingMessages();
        EXPECT_EQ (stillThere, nullptr);
        EXPECT_EQ (PresetStore::readDocument (file)->getNumChildElements(), 8);
    }
}

TEST_F (PresetStripDisplayTest, FailedSaveIsShownInAnAlertThatReturnCloses)
{
    StripRig rig;
    auto& strip = rig.open();
    rig.store().writeXml = [] (const juce::XmlElement&, const juce::File&) { return false; };

    EXPECT_FALSE (strip.saveCurrentSettingsAs ("Lost"));
    ASSERT_TRUE (runUntil ([] { return modalAlert() != nullptr; }, 2000));

    auto& alert = *modalAlert();
    EXPECT_EQ (alert.getName(), "Presets");
    EXPECT_TRUE (alert.isOnDesktop());
    EXPECT_EQ (presetList (strip).getNumItems(), 8);

    press (alert, juce::KeyPress::returnKey);
    EXPECT_TRUE (runUntil (nothingModal, 2000));
}

TEST_F (PresetStripDisplayTest, PresetMenuChoiceAppliesThePreset)
{
    StripRig rig;
    auto& strip = rig.open();
    auto& list = presetList (strip);
    ASSERT_EQ (list.getSelectedId(), 1);

    auto& menu = openMenu (list);
    EXPECT_TRUE (list.isPopupActive());

    // The menu opens on the chosen entry; the next one down is "Blended Drums".
    chooseRowsDown (menu, 1);

    EXPECT_EQ (list.getSelectedId(), 2);
    EXPECT_EQ (rig.store().currentPreset, 2);
    const auto& chosen = *rig.store().presets.getChildElement (1);
    EXPECT_FLOAT_EQ (rig.parameter ("input_level").getValue(), chosen.getDoubleAttribute ("input_level"));
}

TEST_F (PresetStripDisplayTest, LongNamesDoNotWidenTheMenuBeyondTheEditor)
{
    StripRig rig (9);
    auto document = presetsDocument (9);
    document->getChildElement (8)->setAttribute ("presetName", juce::String::repeatedString ("Long name ", 31) + "..");
    rig.load (*document);

    // The strip spans the editor, which stands at the left of the screen.
    juce::Component editor;
    editor.setBounds (0, 0, 800, 518);
    auto& strip = rig.open();
    editor.addAndMakeVisible (strip);
    editor.addToDesktop (juce::ComponentPeer::windowHasTitleBar);
    editor.setVisible (true);

    auto& list = presetList (strip);
    auto& menu = openMenu (list);

    const auto box = list.getScreenBounds();
    const auto opened = menu.getScreenBounds();
    EXPECT_EQ (opened.getX(), box.getX());
    EXPECT_GE (opened.getY(), box.getBottom());
    EXPECT_LE (opened.getRight(), editor.getScreenBounds().getRight());
    EXPECT_GE (opened.getWidth(), box.getWidth());

    press (menu, juce::KeyPress::escapeKey);
    EXPECT_TRUE (runUntil (nothingModal, 2000));
    editor.removeChildComponent (&strip);
}

namespace
{
// The strip in a window of the editor's size at the left of the screen.
struct StripWindow
{
    explicit StripWindow (state::StateComponent& stripToShow)
        : strip (stripToShow)
    {
        window.setBounds (0, 0, 800, 518);
        window.addAndMakeVisible (strip);
        window.addToDesktop (juce::ComponentPeer::windowHasTitleBar);
        window.setVisible (true);
        dispatchPendingMessages();
    }
    ~StripWindow() { window.removeChildComponent (&strip); }

    state::StateComponent& strip;
    juce::Component window;
};
} // namespace

TEST_F (PresetStripDisplayTest, OnlyThePrimaryMouseButtonPressesTheStripsButtons)
{
    StripRig rig (9);
    auto& strip = rig.open();
    auto& list = presetList (strip);
    list.setSelectedId (9, juce::sendNotificationAsync);
    dispatchPendingMessages();
    const StripWindow shown (strip);
    const auto fileBefore = rig.store().presetFile.loadFileAsString();
    const auto settingsBefore = rig.parameter ("gain_1_1").getValue();

    // One at a time: a switch that answered both would be switched back by the second.
    for (const auto* name : { "Bypass", "A-B", "Keep", "Save preset", "Delete preset" })
        for (const auto mouseButton :
             { juce::ModifierKeys::rightButtonModifier, juce::ModifierKeys::middleButtonModifier })
        {
            SCOPED_TRACE (juce::String (name) + " by mouse button " + juce::String (mouseButton));
            auto& b = button (strip, name);
            ClickCounter counter;
            b.addListener (&counter);
            clickWith (b, mouseButton);
            b.removeListener (&counter);
            EXPECT_EQ (counter.clicks, 0);
            EXPECT_TRUE (nothingModal()); // no save dialog
            EXPECT_EQ (rig.store().presetFile.loadFileAsString(), fileBefore);
            EXPECT_EQ (list.getSelectedId(), 9);
            EXPECT_FALSE (button (strip, "Bypass").getToggleState());
            EXPECT_EQ (rig.parameter ("bypass").getValue(), 0.0f);
            EXPECT_EQ (rig.parameter ("gain_1_1").getValue(), settingsBefore);
        }

    // The primary button presses them.
    for (const auto* name : { "Bypass", "Keep", "Delete preset" })
    {
        auto& b = button (strip, name);
        ClickCounter counter;
        b.addListener (&counter);
        clickWith (b, juce::ModifierKeys::leftButtonModifier);
        EXPECT_EQ (counter.clicks, 1) << name;
        b.removeListener (&counter);
    }
    EXPECT_EQ (rig.parameter ("bypass").getValue(), 1.0f);
    EXPECT_EQ (list.getSelectedId(), 0);
    EXPECT_EQ (PresetStore::readDocument (rig.store().presetFile)->getNumChildElements(), 8);
}

TEST_F (PresetStripDisplayTest, AMenuRowChosenAfterTheListChangedAppliesThePresetItNames)
{
    struct Case
    {
        const char* change; // to the file of 13 entries while the menu is open
        std::vector<int> removed;
        int shownId; // after choosing the row that read "User 11"; 1 (as before) when it is gone
    };
    const std::vector<Case> cases{
        { "none", {}, 11 },
        { "a preset before it deleted", { 9 }, 10 },
        { "the preset itself deleted", { 11 }, 1 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.change);
        StripRig rig (13);
        auto& strip = rig.open();
        auto& list = presetList (strip);
        ASSERT_EQ (list.getSelectedId(), 1);
        const auto settingsBefore = rig.parameter ("gain_1_1").getValue();

        auto& menu = openMenu (list);

        rewriteWithout (rig.store(), 13, c.removed);
        strip.timerCallback();
        ASSERT_EQ (list.getNumItems(), 13 - (int) c.removed.size());

        // The menu opened on item 1; ten rows down it reads "User 11".
        chooseRowsDown (menu, 10);

        EXPECT_EQ (list.getSelectedId(), c.shownId);
        EXPECT_EQ (rig.store().currentPreset, c.shownId);
        EXPECT_FLOAT_EQ (rig.parameter ("gain_1_1").getValue(), c.shownId > 1 ? 11 / 240.0f : settingsBefore);
    }
}

TEST_F (PresetStripDisplayTest, OfTwoPresetsOfOneNameTheMenuRowChosenAppliesItsOwnEntry)
{
    // Items 9 and 11 are both "Twin", each with its own gain_1_1 (n / 240); the file changes while
    // the menu is open.
    struct Case
    {
        const char* change;
        std::vector<int> removed;
        int row;        // chosen, as the menu was opened
        int shownId;    // 1 (as before) when its entry is gone
        int settingsOf; // 0: none applied
    };
    const std::vector<Case> cases{
        { "none, the second chosen", {}, 11, 11, 11 },
        { "none, the first chosen", {}, 9, 9, 9 },
        { "the first removed, the second chosen", { 9 }, 11, 10, 11 },
        { "the second removed, the second chosen", { 11 }, 11, 1, 0 },
        { "the first removed, the first chosen", { 9 }, 9, 1, 0 },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.change);
        StripRig rig;
        rig.load (*twinsDocument (12, {}));
        auto& strip = rig.open();
        auto& list = presetList (strip);
        ASSERT_EQ (list.getSelectedId(), 1);
        const auto settingsBefore = rig.parameter ("gain_1_1").getValue();

        auto& menu = openMenu (list);

        ASSERT_TRUE (twinsDocument (12, c.removed)->writeTo (rig.store().presetFile));
        setLastWriteTime (rig.store().presetFile, rig.store().lastModified + 1500);
        strip.timerCallback();
        ASSERT_EQ (list.getNumItems(), 12 - (int) c.removed.size());

        // The menu opened on item 1.
        chooseRowsDown (menu, c.row - 1);

        EXPECT_EQ (list.getSelectedId(), c.shownId);
        EXPECT_EQ (rig.store().currentPreset, c.shownId);
        auto& gain = rig.parameter ("gain_1_1");
        if (c.settingsOf > 0)
            EXPECT_NEAR (gain.convertFrom0to1 (gain.getValue()), -12.0f + c.settingsOf / 10.0f, 1.0e-3f);
        else
            EXPECT_EQ (gain.getValue(), settingsBefore);
    }
}
