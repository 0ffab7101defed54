#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

namespace
{
using CV = ConvolutionEqAudioProcessor::CachedValue;

juce::MemoryBlock saveState (ConvolutionEqAudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    return block;
}

std::unique_ptr<juce::XmlElement> stateXml (ConvolutionEqAudioProcessor& processor)
{
    const auto block = saveState (processor);
    return juce::AudioProcessor::getXmlFromBinary (block.getData(), (int) block.getSize());
}

juce::XmlElement* paramElement (juce::XmlElement& state, const juce::String& id)
{
    for (auto* child : state.getChildIterator())
        if (child->getStringAttribute ("id") == id)
            return child;
    return nullptr;
}

juce::MemoryBlock toBlock (const juce::XmlElement& xml)
{
    juce::MemoryBlock block;
    juce::AudioProcessor::copyXmlToBinary (xml, block);
    return block;
}

// A state block around the given text, written by hand.
juce::MemoryBlock blockFromText (const juce::String& text)
{
    juce::MemoryBlock block;
    block.append ("VC2!", 4);
    const auto length = juce::ByteOrder::swapIfBigEndian ((juce::uint32) text.getNumBytesAsUTF8());
    block.append (&length, 4);
    block.append (text.toRawUTF8(), text.getNumBytesAsUTF8() + 1);
    return block;
}

void load (ConvolutionEqAudioProcessor& processor, const juce::MemoryBlock& block)
{
    processor.setStateInformation (block.getData(), (int) block.getSize());
}

class StateTest : public ::testing::Test
{
protected:
    void changeSomeValues (ConvolutionEqAudioProcessor& target)
    {
        setPlainValue (target, "input_level", -20.0f);
        setPlainValue (target, "frequency_1_1", 200.0f);
        setPlainValue (target, "type_2_3", 1.0f);
        setPlainValue (target, "active_1_2", 0.0f);
        setPlainValue (target, "preset", 12.0f);
        setPlainValue (target, "bypass", 1.0f);
    }

    void expectRejected (const juce::MemoryBlock& block)
    {
        changeSomeValues (processor);
        const auto before = normalisedValues (processor);
        load (processor, block);
        EXPECT_EQ (normalisedValues (processor), before);
        // The cells keep following the parameters.
        EXPECT_EQ (processor.currentValue (CV::active_1_2), 0.0f);
        EXPECT_EQ (processor.currentValue (CV::active_1_1), 1.0f);
        EXPECT_EQ (processor.getLevelCompensation(), -32.0f);
    }

    TemporaryUserFolder userFolder;
    ConvolutionEqAudioProcessor processor;
};
} // namespace

TEST_F (StateTest, BlockHasTheFrameworkFormAndRoundTripsIntoAFreshProcessor)
{
    changeSomeValues (processor);
    const auto block = saveState (processor);

    ASSERT_GT (block.getSize(), 9u);
    EXPECT_EQ (juce::String (static_cast<const char*> (block.getData()), 4), "VC2!");
    const auto length = juce::ByteOrder::littleEndianInt (static_cast<const char*> (block.getData()) + 4);
    EXPECT_EQ (length, block.getSize() - 9);
    EXPECT_EQ (static_cast<const char*> (block.getData())[block.getSize() - 1], 0);

    const juce::String text (static_cast<const char*> (block.getData()) + 8, (size_t) length);
    EXPECT_TRUE (text.startsWith ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <Larkspur>"));
    EXPECT_FALSE (text.containsAnyOf ("\r\n"));
    EXPECT_TRUE (text.contains ("<PARAM id=\"frequency_1_1\" value=\"200.0\"/>"));

    auto xml = stateXml (processor);
    EXPECT_EQ (xml->getNumChildElements(), 59);

    ConvolutionEqAudioProcessor fresh;
    load (fresh, block);
    EXPECT_EQ (normalisedValues (fresh), normalisedValues (processor));
    EXPECT_EQ (fresh.getTypeNames()[5], "HP");
    EXPECT_EQ (fresh.currentValue (CV::active_1_2), 0.0f);
    EXPECT_EQ (saveState (fresh), block);

    // Loading a fresh processor's own state changes nothing.
    ConvolutionEqAudioProcessor other, another;
    const auto defaults = normalisedValues (other);
    load (other, saveState (another));
    EXPECT_EQ (normalisedValues (other), defaults);
}

TEST_F (StateTest, MalformedBlocksLeaveEveryParameterAsItWas)
{
    ConvolutionEqAudioProcessor source;
    setPlainValue (source, "gain_L", 5.0f);
    auto good = saveState (source);

    {
        SCOPED_TRACE ("eight bytes");
        expectRejected (juce::MemoryBlock (good.getData(), 8));
    }
    {
        SCOPED_TRACE ("wrong magic");
        auto block = good;
        static_cast<char*> (block.getData())[0] = 'W';
        expectRejected (block);
    }
    {
        SCOPED_TRACE ("zero length field");
        auto block = good;
        std::memset (static_cast<char*> (block.getData()) + 4, 0, 4);
        expectRejected (block);
    }
    {
        SCOPED_TRACE ("wrong root tag");
        auto xml = stateXml (source);
        xml->setTagName ("Delphinium");
        expectRejected (toBlock (*xml));
    }
    {
        // An invalid UTF-8 lead byte near the end made JUCE's reader run past the text.
        SCOPED_TRACE ("invalid UTF-8");
        auto block = good;
        auto* bytes = static_cast<char*> (block.getData());
        const auto closing = juce::String (bytes + 8).lastIndexOf ("</Larkspur>");
        ASSERT_GT (closing, 0);
        bytes[8 + closing + 7] = (char) 0xe4;
        expectRejected (block);
    }
    {
        // JUCE's XML reader never returns on this.
        SCOPED_TRACE ("processing instruction followed by text");
        expectRejected (blockFromText ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <Larkspur><?x?>b"
                                       "<PARAM id=\"gain_L\" value=\"3.0\"/></Larkspur>"));
    }
    {
        // JUCE's reader steps past the end of the text on an unterminated hexadecimal
        // character reference there.
        SCOPED_TRACE ("unterminated character reference");
        expectRejected (blockFromText ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <Larkspur>"
                                       "<PARAM id=\"gain_L\" value=\"3.0\"/>&#xE"));
    }
    {
        // Each level is a recursion of JUCE's reader; this many overflow the stack.
        SCOPED_TRACE ("deep nesting");
        expectRejected (blockFromText ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <Larkspur>" +
                                       juce::String::repeatedString ("<a>", 300000) +
                                       juce::String::repeatedString ("</a>", 300000) + "</Larkspur>"));
    }
    {
        SCOPED_TRACE ("truncated XML");
        expectRejected (juce::MemoryBlock (good.getData(), good.getSize() / 2));
    }
    {
        SCOPED_TRACE ("empty and null");
        expectRejected ({});
        changeSomeValues (processor);
        const auto before = normalisedValues (processor);
        processor.setStateInformation (nullptr, 100);
        processor.setStateInformation (good.getData(), -5);
        EXPECT_EQ (normalisedValues (processor), before);
    }
}

TEST_F (StateTest, NonFiniteValuesAreKeptOut)
{
    setPlainValue (processor, "gain_1_1", 4.0f);
    setPlainValue (processor, "out_2_2", -1.0f);
    setPlainValue (processor, "input_level", 3.0f);
    const auto before = normalisedValues (processor);

    ConvolutionEqAudioProcessor source;
    setPlainValue (source, "gain_2_1", -7.0f);
    auto xml = stateXml (source);
    paramElement (*xml, "gain_1_1")->setAttribute ("value", "nan");
    paramElement (*xml, "out_2_2")->setAttribute ("value", "inf");
    paramElement (*xml, "input_level")->setAttribute ("value", "1e39");
    // An exponent that overflows a 32-bit int: read naively it wraps round to 10.
    paramElement (*xml, "gain_2_3")->setAttribute ("value", "1e4294967297");
    // The value-tree state reads any child carrying a parameter's id, whatever its tag.
    auto* stray = xml->createNewChildElement ("STRAY");
    stray->setAttribute ("id", "out_1_1");
    stray->setAttribute ("value", "nan");
    load (processor, toBlock (*xml));

    auto after = normalisedValues (processor);
    for (const auto* id : { "gain_1_1", "out_2_2", "input_level", "gain_2_3", "out_1_1" })
        EXPECT_EQ (after[id], before.at (id)) << id;
    EXPECT_FLOAT_EQ (plainValue (processor, "gain_2_1"), -7.0f);
    for (int i = 0; i < ConvolutionEqAudioProcessor::numCachedValues; ++i)
        EXPECT_TRUE (std::isfinite (processor.currentValue ((CV) i)));

    // The next save writes the kept values, not the rejected texts.
    const auto saved = stateXml (processor);
    EXPECT_EQ (paramElement (*saved, "gain_1_1")->getStringAttribute ("value"), "4.0");
}

TEST_F (StateTest, RootTagIsMatchedIgnoringCase)
{
    ConvolutionEqAudioProcessor source;
    setPlainValue (source, "frequency_2_2", 3000.0f);
    auto xml = stateXml (source);
    xml->setTagName ("LARKSPUR");
    load (processor, toBlock (*xml));

    EXPECT_FLOAT_EQ (plainValue (processor, "frequency_2_2"), 3000.0f);
    EXPECT_EQ (processor.getValueTreeState().state.getType().toString(), "Larkspur");
    EXPECT_EQ (stateXml (processor)->getTagName(), "Larkspur");
}

TEST_F (StateTest, AttributesTheFrameworkWouldDecodeAsBinaryAreLeftOut)
{
    // JUCE's value tree allocates whatever size such an attribute claims ("-1" throws).
    load (processor, blockFromText ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <Larkspur base64:a=\"-1.A\">"
                                    "<PARAM id=\"gain_L\" value=\"3.0\" base64:b=\"300000000.A\"/></Larkspur>"));

    EXPECT_FLOAT_EQ (plainValue (processor, "gain_L"), 3.0f);
    const auto saved = saveState (processor);
    EXPECT_LT (saved.getSize(), 10000u);
    EXPECT_FALSE (saved.toString().contains ("base64"));
}

TEST_F (StateTest, TerminatedCharacterReferencesAreRead)
{
    load (processor, blockFromText ("<?xml version=\"1.0\" encoding=\"UTF-8\"?> <Larkspur>"
                                    "<PARAM id=\"gain_L\" value=\"&#x33;.&#48;\"/></Larkspur>"));
    EXPECT_FLOAT_EQ (plainValue (processor, "gain_L"), 3.0f);
}

TEST_F (StateTest, LoadLeavesNothingToUndo)
{
    auto& undo = processor.getUndoManager();
    setPlainValue (processor, "gain_R", -3.0f);
    saveState (processor); // flushes the change into the tree as an undoable action
    undo.beginNewTransaction();

    ConvolutionEqAudioProcessor source;
    setPlainValue (source, "gain_R", 6.0f);
    auto xml = stateXml (source);
    paramElement (*xml, "frequency_1_1")->setAttribute ("value", "1000"); // clamped on the way in
    load (processor, toBlock (*xml));

    EXPECT_FALSE (undo.canUndo());
    EXPECT_FLOAT_EQ (plainValue (processor, "gain_R"), 6.0f);
    EXPECT_FLOAT_EQ (plainValue (processor, "frequency_1_1"), 400.0f);
}

TEST_F (StateTest, SwitchedOffBandStaysOffInProcessingAndAHostChangeIsSaved)
{
    ConvolutionEqAudioProcessor source;
    setPlainValue (source, "active_1_2", 0.0f);
    load (processor, saveState (source));

    EXPECT_EQ (plainValue (processor, "active_1_2"), 0.0f);
    EXPECT_EQ (processor.currentValue (CV::active_1_2), 0.0f);

    auto& active = parameter (processor, "active_1_2");
    active.beginChangeGesture();
    active.setValueNotifyingHost (1.0f);
    active.endChangeGesture();
    EXPECT_EQ (processor.currentValue (CV::active_1_2), 1.0f);

    const auto saved = stateXml (processor);
    EXPECT_EQ (paramElement (*saved, "active_1_2")->getStringAttribute ("value"), "1.0");
}

TEST_F (StateTest, PartialStateKeepsTheOtherParametersCurrentValues)
{
    changeSomeValues (processor);
    const auto before = normalisedValues (processor);

    juce::XmlElement partial ("Larkspur");
    auto* param = partial.createNewChildElement ("PARAM");
    param->setAttribute ("id", "gain_1_3");
    param->setAttribute ("value", "-6.5");
    load (processor, toBlock (partial));

    auto after = normalisedValues (processor);
    EXPECT_FLOAT_EQ (plainValue (processor, "gain_1_3"), -6.5f);
    after["gain_1_3"] = before.at ("gain_1_3");
    EXPECT_EQ (after, before);
}

TEST_F (StateTest, LoadRecomputesLevelCompensationForTheCurrentRate)
{
    load (processor, saveState (processor));
    EXPECT_EQ (processor.getLevelCompensation(), -32.0f); // not yet prepared: rate 0

    processor.setRateAndBufferSizeDetails (44100.0, 512);
    load (processor, juce::MemoryBlock (8, true));
    EXPECT_EQ (processor.getLevelCompensation(), -12.2f);
}

namespace
{
// The embedded default entries followed by user presets of these names, each with its own
// gain_1_1, written as the presets file, as another session would; the store reads it again only
// when asked to.
void writeUserPresets (ConvolutionEqAudioProcessor& processor, const juce::StringArray& names, bool reload = true)
{
    auto& store = processor.getPresetStore();
    juce::XmlElement document (store.presets);
    while (document.getNumChildElements() > PresetStore::firstUserPreset - 1)
        document.removeChildElement (document.getChildElement (document.getNumChildElements() - 1), true);
    for (const auto& name : names)
    {
        auto* entry = new juce::XmlElement (*document.getChildElement (1));
        entry->setTagName ("preset" + juce::String (document.getNumChildElements() + 1));
        entry->setAttribute ("gain_1_1", name.getTrailingIntValue() / 10.0);
        entry->setAttribute ("presetName", name);
        document.addChildElement (entry);
    }
    ASSERT_TRUE (document.writeTo (store.presetFile));
    if (reload)
        store.reloadFromFile();
}

// Chooses the listed preset as the preset list does: the preset parameter moves to its entry,
// then its settings are applied.
void choosePreset (ConvolutionEqAudioProcessor& processor, int position)
{
    auto& store = processor.getPresetStore();
    parameter (processor, "preset")
        .setValueNotifyingHost ((float) (position - 1) / (float) (store.getNumListedPresets() - 1));
    store.applyPreset (position);
}

const juce::StringArray fivePresets{ "P1", "P2", "P3", "P4", "P5" };
} // namespace

TEST_F (StateTest, TheChosenPresetIsSavedByNameAndFoundAgainWhereverTheListMovedIt)
{
    struct Case
    {
        const char* change;
        juce::StringArray presetsOnReopening;
        int position; // of P3 on reopening, 0 when it is gone
    };
    const std::vector<Case> cases{
        { "list unchanged", fivePresets, 11 },
        { "P6 saved by another session", { "P1", "P2", "P3", "P4", "P5", "P6" }, 11 },
        { "P1 deleted by another session", { "P2", "P3", "P4", "P5" }, 10 },
        { "P3 deleted by another session", { "P1", "P2", "P4", "P5" }, 0 },
    };

    for (const auto& c : cases)
    {
        for (const bool sameInstance : { false, true })
        {
            SCOPED_TRACE (juce::String (c.change) + (sameInstance ? ", the saving instance" : ", a fresh instance"));
            ConvolutionEqAudioProcessor saving;
            writeUserPresets (saving, fivePresets);
            choosePreset (saving, 11);
            ASSERT_EQ (saving.getPresetStore().currentPreset, 11);
            setPlainValue (saving, "gain_1_2", 4.0f); // changed after choosing
            const auto block = saveState (saving);
            EXPECT_EQ (juce::AudioProcessor::getXmlFromBinary (block.getData(), (int) block.getSize())
                           ->getStringAttribute ("presetName", "(none)"),
                       "P3");
            const auto savedValues = normalisedValues (saving);

            // The saving instance has not looked at the file since (its editor is closed).
            writeUserPresets (saving, c.presetsOnReopening, false);
            ConvolutionEqAudioProcessor fresh;
            auto& reopened = sameInstance ? saving : fresh;
            load (reopened, block);

            // The state's own settings, the preset parameter as the host saved it; nothing applied.
            EXPECT_EQ (normalisedValues (reopened), savedValues);
            EXPECT_EQ (reopened.getPresetStore().currentPreset, c.position);
            EXPECT_TRUE (reopened.isChosenPresetKnown());
            EXPECT_FALSE (reopened.getValueTreeState().state.hasProperty ("presetName"));

            // Saved again, the state names what is current now.
            choosePreset (reopened, 12);
            const auto resaved = stateXml (reopened);
            EXPECT_EQ (resaved->getStringAttribute ("presetName", "(none)"), c.presetsOnReopening[3]);
        }
    }
}

TEST_F (StateTest, StatesWithoutTheChosenPresetsNameLoadAsBefore)
{
    struct Case
    {
        const char* state;
        const char* presetName; // on the state's root; null for none
        bool known;
    };
    const std::vector<Case> cases{
        { "saved before the name was kept", nullptr, false },
        { "saved with no preset chosen", "", true },
        { "naming a preset the file never held", "Gone", true },
    };

    writeUserPresets (processor, fivePresets);
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.state);
        ConvolutionEqAudioProcessor source;
        setPlainValue (source, "preset", 10.0f);
        setPlainValue (source, "gain_2_1", -3.0f);
        auto xml = stateXml (source);
        EXPECT_FALSE (xml->hasAttribute ("presetName")); // nothing was chosen by name
        if (c.presetName != nullptr)
            xml->setAttribute ("presetName", c.presetName);

        choosePreset (processor, 9);
        load (processor, toBlock (*xml));

        EXPECT_EQ (normalisedValues (processor), normalisedValues (source));
        EXPECT_EQ (processor.getPresetStore().currentPreset, 0);
        EXPECT_EQ (processor.isChosenPresetKnown(), c.known);
        // Saved again as it came: without a name the preset parameter alone still decides.
        EXPECT_EQ (stateXml (processor)->getStringAttribute ("presetName", "(none)"), c.known ? "" : "(none)");
    }
}

TEST_F (StateTest, AStateNamingOneOfTwoPresetsOfOneNameFindsTheOneThatHoldsItsSettings)
{
    struct Case
    {
        int chosen;
        bool changedAfterChoosing;
        int found;
    };
    // Positions 9 and 11 are both "Twin", with different settings; 10 is "P2".
    const std::vector<Case> cases{ { 11, false, 11 }, { 9, false, 9 }, { 11, true, 9 }, { 10, false, 10 } };

    writeUserPresets (processor, { "Twin1", "P2", "Twin3" });
    auto& store = processor.getPresetStore();
    juce::XmlElement document (store.presets);
    for (const int position : { 9, 11 })
        document.getChildElement (position - 1)->setAttribute ("presetName", "Twin");
    ASSERT_TRUE (document.writeTo (store.presetFile));

    for (const auto& c : cases)
    {
        SCOPED_TRACE ("chosen " + juce::String (c.chosen) + (c.changedAfterChoosing ? ", changed after" : ""));
        ConvolutionEqAudioProcessor saving;
        choosePreset (saving, c.chosen);
        if (c.changedAfterChoosing)
            setPlainValue (saving, "gain_1_2", 4.0f);

        ConvolutionEqAudioProcessor reopened;
        load (reopened, saveState (saving));
        EXPECT_EQ (reopened.getPresetStore().currentPreset, c.found);
        EXPECT_EQ (normalisedValues (reopened), normalisedValues (saving));
    }
}
