#pragma once

#include <juce_core/juce_core.h>
#include <juce_data_structures/juce_data_structures.h>

#include <memory>

/** Parses XML that comes from outside (host state blocks, the presets file, the responses document),
    refusing what JUCE's parser cannot take safely:
    - text that is not well-formed UTF-8 (overlong forms, surrogates, truncated sequences);
    - a processing instruction after the leading XML declaration: the parser never returns when one
      inside an element is followed by text ("<a><?x?>b</a>");
    - a document type declaration, whose entities the parser expands recursively;
    - a reference other than the five predefined entities and character references of digits ending
      in ';' that name a Unicode character: the parser parses an unknown entity's name again as
      markup, can read past the end of the text on an unterminated character reference, and puts
      what is not UTF-8 into its strings for a number beyond Unicode;
    - elements nested deeper than maxNestingDepth: the parser recurses once per level and a deep
      enough document overflows the stack.
    None of those documents, as this system writes them, contains any of these.
    Attribute values holding references read in time linear in their length: they are handed to
    JUCE's parser decoded, as it appends each reference to its value one character at a time,
    measuring the value every time (a 15 MB name of accented letters took minutes). */
std::unique_ptr<juce::XmlElement> parseUntrustedXml (const juce::String& text);

inline constexpr int maxNestingDepth = 32;

/** The value tree of an element parsed from outside. JUCE's conversion decodes any
    attribute named "base64:..." as binary, allocating whatever size its text claims, and has no
    form for text; here such attributes and text are left out, and a repeated attribute keeps its
    first value (as the element answers). Nothing this system writes has any of these. */
juce::ValueTree valueTreeFromUntrustedXml (const juce::XmlElement& element);
