#pragma once

#include <juce_core/juce_core.h>

#include <memory>

// Parses XML that comes from outside (host state blocks, the presets file), refusing what the
// framework's parser cannot take safely:
// - a processing instruction after the leading XML declaration: the parser never returns when one
//   inside an element is followed by text ("<a><?x?>b</a>");
// - a document type declaration, whose entities the parser expands recursively;
// - elements nested deeper than maxNestingDepth: the parser recurses once per level and a deep
//   enough document overflows the stack.
// Neither the state nor the presets file ever contains any of these.
std::unique_ptr<juce::XmlElement> parseUntrustedXml (const juce::String& text);

inline constexpr int maxNestingDepth = 32;
