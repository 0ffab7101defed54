#include "UntrustedXml.h"

std::unique_ptr<juce::XmlElement> parseUntrustedXml (const juce::String& text)
{
    auto body = text.trimStart();
    if (body.startsWith ("<?xml"))
    {
        const auto endOfDeclaration = body.indexOf ("?>");
        if (endOfDeclaration < 0)
            return {};
        body = body.substring (endOfDeclaration + 2);
    }

    if (body.contains ("<?"))
        return {};

    return juce::parseXML (body);
}
