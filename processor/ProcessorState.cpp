// State save and load: the value-tree state as XML in JUCE's binary block ("VC2!").
#include "ConvolutionEqAudioProcessor.h"
#include "UntrustedNumber.h"
#include "UntrustedXml.h"

#include <set>

namespace
{
// JUCE's state block: "VC2!", the text length, the XML text and a zero byte. Read as
// JUCE reads it, except that text which is not valid UTF-8 (JUCE's XML reader can
// step past its end) or that the reader could loop on is refused. Every block this processor
// writes passes.
std::unique_ptr<juce::XmlElement> readStateBlock (const void* data, int sizeInBytes)
{
    constexpr juce::uint32 magic = 0x21324356; // "VC2!"

    if (data == nullptr || sizeInBytes <= 8 || juce::ByteOrder::littleEndianInt (data) != magic)
        return {};

    const auto storedLength = (int) juce::ByteOrder::littleEndianInt (juce::addBytesToPointer (data, 4));
    if (storedLength <= 0)
        return {};

    const auto* text = static_cast<const char*> (data) + 8;
    const auto length = juce::jmin (sizeInBytes - 8, storedLength);
    if (! juce::CharPointer_UTF8::isValidString (text, length))
        return {};

    return parseUntrustedXml (juce::String::fromUTF8 (text, length));
}

// Names, on the state's root, the preset chosen when the state was saved ("" for none). The
// preset parameter alone cannot say: it is a position over the list's length, and other
// instances change the list. States saved before it was written, or while the choice was not
// known by name, have none and load as they did.
const juce::Identifier chosenPresetAttribute ("presetName");
} // namespace

// The value-tree state gives a parameter whose PARAM child has no value its default value, and
// passes "nan" or "inf" straight into the parameter. Both keep their current value instead: the
// loaded element gets the current value wherever its own is missing or not a finite number, and a
// parameter without a child gets one holding its current value.
// The value-tree state reads the value of every child that carries a parameter's id, whatever its
// tag, so every such child is checked; each value is rewritten as the number it was read as, so
// JUCE only ever reads numbers written here.
void ConvolutionEqAudioProcessor::fillMissingAndNonFiniteValues (juce::XmlElement& state) const
{
    static const juce::Identifier paramType ("PARAM"), idAttribute ("id"), valueAttribute ("value");

    auto currentPlainValue = [this] (const juce::String& id)
    { return (double) valueTreeState.getRawParameterValue (id)->load (std::memory_order_relaxed); };

    std::set<juce::String> present;

    for (auto* child : state.getChildIterator())
    {
        const auto id = child->getStringAttribute (idAttribute);
        if (valueTreeState.getParameter (id) == nullptr)
            continue;

        if (child->getTagName() == paramType.toString())
            present.insert (id);

        const auto loaded = child->hasAttribute (valueAttribute)
                                ? parseUntrustedFloat (child->getStringAttribute (valueAttribute))
                                : std::nullopt;
        child->setAttribute (valueAttribute, loaded ? (double) *loaded : currentPlainValue (id));
    }

    for (auto* parameter : getParameters())
    {
        if (auto* withId = dynamic_cast<juce::AudioProcessorParameterWithID*> (parameter);
            withId != nullptr && present.count (withId->paramID) == 0)
        {
            auto* child = state.createNewChildElement (paramType.toString());
            child->setAttribute (idAttribute, withId->paramID);
            child->setAttribute (valueAttribute, currentPlainValue (withId->paramID));
        }
    }
}

juce::String ConvolutionEqAudioProcessor::chosenPresetName() const
{
    const auto position = presetStore.currentPreset;
    const auto* preset = position >= 1 && position <= presetStore.getNumListedPresets()
                             ? presetStore.presets.getChildElement (position - 1)
                             : nullptr;
    return preset != nullptr ? preset->getStringAttribute ("presetName") : juce::String();
}

// A named preset becomes current (without being applied: the state holds the settings) when the
// file, read again for presets saved meanwhile, lists it; otherwise none is. Without a name, the
// preset list decides when it shows the state (by the preset parameter and the settings).
void ConvolutionEqAudioProcessor::restoreChosenPreset (const juce::String* presetName)
{
    chosenPresetKnown = presetName != nullptr;
    if (presetName == nullptr || presetName->isEmpty())
    {
        presetStore.setCurrentPreset (0);
        return;
    }

    presetStore.reloadFromFile();
    presetStore.setCurrentPreset (presetStore.findRestoredPreset (*presetName));
}

void ConvolutionEqAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    const auto state = valueTreeState.copyState();

    if (auto xml = state.createXml())
    {
        if (isChosenPresetKnown())
            xml->setAttribute (chosenPresetAttribute, chosenPresetName());
        copyXmlToBinary (*xml, destData);
    }
}

void ConvolutionEqAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    const auto type = valueTreeState.state.getType();

    bool accepted = false;
    if (auto xml = readStateBlock (data, sizeInBytes);
        xml != nullptr && xml->getTagName().equalsIgnoreCase (type.toString()))
    {
        // Kept out of the value tree, which would otherwise save it again after another choice.
        const auto named = xml->hasAttribute (chosenPresetAttribute);
        const auto presetName = xml->getStringAttribute (chosenPresetAttribute);
        xml->removeAttribute (chosenPresetAttribute);

        fillMissingAndNonFiniteValues (*xml);

        // The root tag matched ignoring case; the state keeps its own type.
        juce::ValueTree loaded (type);
        loaded.copyPropertiesAndChildrenFrom (valueTreeFromUntrustedXml (*xml), nullptr);
        {
            const juce::ScopedValueSetter<bool> restoring (restoringState, true);
            valueTreeState.replaceState (loaded);
        }
        restoreChosenPreset (named ? &presetName : nullptr);
        accepted = true;
    }

    // Whether or not the block was accepted. The cached value cells cannot change (the parameters
    // are never replaced) and are never written here: they follow the parameters.
    fetchTypeNames();
    const auto prepared = preparedSampleRate.load();
    sampleRateLevel ((float) (prepared > 0.0 ? prepared : getSampleRate()));

    // The bands follow the loaded frequencies, types and gains.
    requestReselection (allBands);

    if (accepted && onStateRestored != nullptr)
        onStateRestored();
}
