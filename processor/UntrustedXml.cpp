#include "UntrustedXml.h"

namespace
{
// True when the text is UTF-8 as the standard defines it. JUCE's own check lets overlong
// forms through ("\xc0\xbc" for '<'), which its string functions then copy into buffers sized for
// the shorter form, writing past their end.
bool isWellFormedUtf8 (const juce::String& text)
{
    const auto* p = reinterpret_cast<const unsigned char*> (text.toRawUTF8());

    while (*p != 0)
    {
        const auto lead = *p++;
        if (lead < 0x80)
            continue;

        int continuations = 0;
        unsigned char low = 0x80, high = 0xbf; // the range of the first continuation byte

        if (lead >= 0xc2 && lead <= 0xdf)
            continuations = 1;
        else if (lead >= 0xe0 && lead <= 0xef)
        {
            continuations = 2;
            if (lead == 0xe0)
                low = 0xa0; // overlong below
            else if (lead == 0xed)
                high = 0x9f; // surrogates
        }
        else if (lead >= 0xf0 && lead <= 0xf4)
        {
            continuations = 3;
            if (lead == 0xf0)
                low = 0x90; // overlong below
            else if (lead == 0xf4)
                high = 0x8f; // beyond U+10FFFF
        }
        else
            return false;

        if (*p < low || *p > high)
            return false;

        for (++p; --continuations > 0; ++p)
            if ((*p & 0xc0) != 0x80)
                return false;
    }

    return true;
}

bool skipPast (juce::String::CharPointerType& p, const char* terminator)
{
    const auto found = p.indexOf (juce::CharPointer_ASCII (terminator));
    if (found < 0)
        return false;
    p += found + (int) strlen (terminator);
    return true;
}

bool startsWith (juce::String::CharPointerType p, const char* prefix)
{
    return juce::CharacterFunctions::compareUpTo (p, juce::CharPointer_ASCII (prefix), (int) strlen (prefix)) == 0;
}

// Moves p past the reference that an '&' (just read) starts, or answers false when it is not one
// of the five predefined entities or a character reference of digits ending in ';' that names a
// Unicode character. The parser mishandles every other form: an unknown entity's name comes back
// as its value and, when that starts with '<', is parsed again as markup; an unterminated
// character reference at the very end ("&#xE") makes it step past the end of the text; and it puts
// any number it reads into its strings, which then hold something that is not UTF-8.
bool skipReference (juce::String::CharPointerType& p)
{
    for (const auto* entity : { "amp;", "lt;", "gt;", "quot;", "apos;" })
    {
        const auto length = (int) strlen (entity);
        if (p.compareIgnoreCaseUpTo (juce::CharPointer_ASCII (entity), length) == 0)
        {
            p += length;
            return true;
        }
    }

    if (*p != '#')
        return false;

    ++p;
    const bool hexadecimal = (*p == 'x' || *p == 'X');
    if (hexadecimal)
        ++p;

    const int base = hexadecimal ? 16 : 10;
    juce::int64 code = 0;
    int digits = 0;

    for (;; ++p, ++digits)
    {
        const int digit =
            hexadecimal ? juce::CharacterFunctions::getHexDigitValue (*p) : (p.isDigit() ? (int) (*p - '0') : -1);
        if (digit < 0)
            break;
        code = juce::jmin<juce::int64> (code * base + digit, 0x110000);
    }

    // The parser reads at most 8 hexadecimal or 12 decimal digits and keeps the rest as text, so a
    // longer reference (leading zeros) would mean something else to it.
    const int mostDigits = hexadecimal ? 8 : 12;
    const bool isCharacter = code > 0 && code < 0x110000 && ! (code >= 0xd800 && code <= 0xdfff);
    if (digits == 0 || digits > mostDigits || *p != ';' || ! isCharacter)
        return false;

    ++p;
    return true;
}

// True when the markup is free of declarations, its elements nest no deeper than the limit and every reference is
// sound. Comments and character data are skipped as the parser skips them and must be finished; other unterminated
// constructs are left to the parser, which rejects them.
bool hasSafeStructure (juce::String::CharPointerType p, int limit)
{
    int depth = 0;

    while (! p.isEmpty())
    {
        const auto next = p.getAndAdvance();
        if (next == '&' && ! skipReference (p))
            return false;
        if (next != '<')
            continue;

        if (*p == '!')
        {
            // The end is searched for after the opening, as the parser does: in "<!-->" the comment
            // has not ended. An unfinished comment or character data would hide the rest of the
            // text from these checks while the parser may still read it as markup.
            if (startsWith (p, "!--"))
            {
                p += 3;
                if (! skipPast (p, "-->"))
                    return false;
                continue;
            }
            if (startsWith (p, "![CDATA["))
            {
                p += 8;
                if (! skipPast (p, "]]>"))
                    return false;
                continue;
            }
            return false;
        }

        if (*p == '/')
        {
            depth = juce::jmax (0, depth - 1);
            if (! skipPast (p, ">"))
                return true;
            continue;
        }

        if (++depth > limit)
            return false;

        // A '<' inside a tag, even quoted, is not XML, and the parser would read it differently.
        juce::juce_wchar quote = 0, previous = 0;
        while (! p.isEmpty())
        {
            const auto c = p.getAndAdvance();
            if (c == '<' || (c == '&' && ! skipReference (p)))
                return false;
            if (quote != 0)
            {
                if (c == quote)
                    quote = 0;
            }
            else if (c == '"' || c == '\'')
            {
                quote = c;
            }
            else if (c == '>')
            {
                if (previous == '/')
                    --depth;
                break;
            }
            previous = c;
        }
    }

    return true;
}
} // namespace

std::unique_ptr<juce::XmlElement> parseUntrustedXml (const juce::String& text)
{
    if (! isWellFormedUtf8 (text))
        return {};

    auto body = text.trimStart();
    if (body.startsWith ("<?xml"))
    {
        const auto endOfDeclaration = body.indexOf ("?>");
        if (endOfDeclaration < 0)
            return {};
        body = body.substring (endOfDeclaration + 2);
    }

    if (body.contains ("<?") || ! hasSafeStructure (body.getCharPointer(), maxNestingDepth))
        return {};

    return juce::parseXML (body);
}

juce::ValueTree valueTreeFromUntrustedXml (const juce::XmlElement& element)
{
    juce::ValueTree tree (element.getTagName());

    // A repeated attribute keeps its first value, the one the element itself answers with.
    for (int i = 0; i < element.getNumAttributes(); ++i)
        if (const auto name = element.getAttributeName (i); ! name.startsWith ("base64:") && ! tree.hasProperty (name))
            tree.setProperty (name, element.getAttributeValue (i), nullptr);

    for (auto* child : element.getChildIterator())
        if (! child->isTextElement())
            tree.appendChild (valueTreeFromUntrustedXml (*child), nullptr);

    return tree;
}
