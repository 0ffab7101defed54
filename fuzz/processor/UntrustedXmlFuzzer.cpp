// Arbitrary text through the guarded XML reader. Whatever it accepts must be what JUCE's parser
// reads from the same text, keep within its nesting limit, and read back after JUCE writes it
// again: an element that cannot be read back would turn every later save of the state or presets
// file into one that no longer loads.
#include "UntrustedXml.h"

#include <cstddef>
#include <cstdint>
#include <limits>

namespace
{
int depthOf (const juce::XmlElement& element)
{
    int deepest = 0;
    for (auto* child : element.getChildIterator())
        deepest = juce::jmax (deepest, depthOf (*child));
    return deepest + 1;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    const auto* text = reinterpret_cast<const char*> (data);

    // A string holds UTF-8 by contract; the reader refuses what JUCE's own check lets by.
    if (size > (size_t) std::numeric_limits<int>::max() || ! juce::CharPointer_UTF8::isValidString (text, (int) size))
        return 0;

    const auto xml = parseUntrustedXml (juce::String::fromUTF8 (text, (int) size));
    if (xml == nullptr)
        return 0;

    // Attribute values holding references reach JUCE's parser decoded; what it makes of them must
    // be what it makes of the text itself, which the reader found safe to give it.
    const auto direct = juce::parseXML (juce::String::fromUTF8 (text, (int) size));
    if (direct == nullptr || ! xml->isEquivalentTo (direct.get(), false))
        __builtin_trap();

    // Text elements count as a level of their own.
    if (depthOf (*xml) > maxNestingDepth + 1)
        __builtin_trap();

    if (parseUntrustedXml (xml->toString()) == nullptr)
        __builtin_trap();

    juce::ignoreUnused (valueTreeFromUntrustedXml (*xml));
    return 0;
}
