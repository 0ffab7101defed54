#include "UntrustedXml.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

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

// Moves p past the reference that an '&' (just read) starts and gives the character it stands for,
// or answers false when it is not one of the five predefined entities or a character reference of
// digits ending in ';' that names a Unicode character. The parser mishandles every other form: an
// unknown entity's name comes back as its value and, when that starts with '<', is parsed again as
// markup; an unterminated character reference at the very end ("&#xE") makes it step past the end
// of the text; and it puts any number it reads into its strings, which then hold something that is
// not UTF-8.
bool skipReference (juce::String::CharPointerType& p, juce::juce_wchar& character)
{
    static constexpr std::pair<const char*, char> entities[] = {
        { "amp;", '&' }, { "lt;", '<' }, { "gt;", '>' }, { "quot;", '"' }, { "apos;", '\'' }
    };
    if (*p != '#')
    {
        for (const auto& [entity, meaning] : entities)
        {
            const auto length = (int) strlen (entity);
            if (p.compareIgnoreCaseUpTo (juce::CharPointer_ASCII (entity), length) == 0)
            {
                p += length;
                character = meaning;
                return true;
            }
        }
        return false;
    }

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
    character = (juce::juce_wchar) code;
    return true;
}

void appendUtf8 (std::string& text, juce::juce_wchar c)
{
    char bytes[4];
    juce::CharPointer_UTF8 end (bytes);
    end.write (c);
    text.append (bytes, (size_t) (end.getAddress() - bytes));
}

// An attribute value that holds references, with what it means: it is handed to the parser
// decoded, as the parser appends each reference to the value one character at a time and measures
// the whole value at every step, which took minutes for a long name of accented letters.
struct DecodedValue
{
    size_t begin = 0, end = 0; // the quoted value's bytes in the text, quotes included
    int element = 0;           // the tag's number in the text, counted from 0
    int position = 0;          // the attribute's among those the parser has read of that tag
    std::string value;
};

// What the walk of the markup found for the rewriting of attribute values.
struct Findings
{
    std::vector<DecodedValue> values; // the attribute values that hold references
    bool refersToPlane15 = false;     // a reference names a private-use character of plane 15
};

bool isPlane15 (juce::juce_wchar c)
{
    return c >= 0xf0000 && c < 0x100000;
}

// How far a tag follows the parser's reading of it. While it does, a quoted value is certainly
// an attribute value to the parser, which reads "name = 'value'" pairs between spaces. From
// anything else on, the parser may read the rest of the tag as text (after "a=b", say), where a
// decoded value would mean something else, so its values are left as they are.
enum class TagReading
{
    start,
    name,
    betweenAttributes,
    attributeName,
    beforeEquals,
    afterEquals,
    value,
    unsure
};

// A character of a name as the parser judges it: from its table below 160, by the C library's
// letters and digits above.
bool isNameCharacter (juce::juce_wchar c)
{
    if (c >= 160)
        return juce::CharacterFunctions::isLetterOrDigit (c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == ':' || c == '.';
}

// A space as the parser skips it, by the C library's class; never one it would take into a name.
bool isTagSpace (juce::juce_wchar c)
{
    return juce::CharacterFunctions::isWhitespace (c) && ! isNameCharacter (c);
}

TagReading readTagCharacter (TagReading reading, juce::juce_wchar c)
{
    const bool space = isTagSpace (c), name = isNameCharacter (c);
    switch (reading)
    {
        case TagReading::start:
            return space ? TagReading::start : name ? TagReading::name : TagReading::unsure;
        case TagReading::name:
            return space ? TagReading::betweenAttributes : name ? TagReading::name : TagReading::unsure;
        case TagReading::betweenAttributes:
            return space ? TagReading::betweenAttributes : name ? TagReading::attributeName : TagReading::unsure;
        case TagReading::attributeName:
            return c == '=' ? TagReading::afterEquals
                   : space  ? TagReading::beforeEquals
                   : name   ? TagReading::attributeName
                            : TagReading::unsure;
        case TagReading::beforeEquals:
            return c == '=' ? TagReading::afterEquals : space ? TagReading::beforeEquals : TagReading::unsure;
        case TagReading::afterEquals:
            return space ? TagReading::afterEquals : TagReading::unsure;
        case TagReading::value:
        case TagReading::unsure:
            break;
    }
    return TagReading::unsure;
}

// True when the markup is free of declarations, its elements nest no deeper than the limit and every reference is
// sound. Comments and character data are skipped as the parser skips them and must be finished; other unterminated
// constructs are left to the parser, which rejects them.
bool hasSafeStructure (const juce::String& body, int limit, Findings& findings)
{
    const auto* const origin = body.toRawUTF8();
    const auto offsetOf = [origin] (juce::String::CharPointerType q) { return (size_t) (q.getAddress() - origin); };

    auto p = body.getCharPointer();
    int depth = 0, elements = 0;
    juce::juce_wchar character = 0;

    while (! p.isEmpty())
    {
        const auto next = p.getAndAdvance();
        if (next == '&')
        {
            if (! skipReference (p, character))
                return false;
            findings.refersToPlane15 |= isPlane15 (character);
        }
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
        const int element = elements++;
        int attributes = 0;
        auto reading = TagReading::start;
        DecodedValue value;
        bool valueHasReference = false;
        const char* unread = nullptr; // the start of the value's text not yet taken into value.value
        juce::juce_wchar quote = 0, previous = 0;
        while (! p.isEmpty())
        {
            const auto start = p;
            const auto c = p.getAndAdvance();
            if (c == '<' || (c == '&' && ! skipReference (p, character)))
                return false;
            if (c == '&')
                findings.refersToPlane15 |= isPlane15 (character);
            if (quote != 0)
            {
                if (reading == TagReading::value && c == '&')
                {
                    value.value.append (unread, (const char*) start.getAddress());
                    appendUtf8 (value.value, character);
                    unread = p.getAddress();
                    valueHasReference = true;
                }
                else if (c == quote)
                {
                    quote = 0;
                    if (reading == TagReading::value)
                    {
                        if (valueHasReference)
                        {
                            value.value.append (unread, (const char*) start.getAddress());
                            value.end = offsetOf (p);
                            value.element = element;
                            value.position = attributes;
                            findings.values.push_back (std::move (value));
                        }
                        value = {};
                        valueHasReference = false;
                        ++attributes;
                        reading = TagReading::betweenAttributes;
                    }
                }
            }
            else if (c == '"' || c == '\'')
            {
                quote = c;
                reading = reading == TagReading::afterEquals ? TagReading::value : TagReading::unsure;
                value.begin = offsetOf (start);
                unread = p.getAddress();
            }
            else if (c == '>')
            {
                if (previous == '/')
                    --depth;
                break;
            }
            else
            {
                reading = readTagCharacter (reading, c);
            }
            previous = c;
        }
    }

    return true;
}

// Calls visit (previous, character) for each character of the text as the parser's strings hold
// them: references decoded, comments dropped from the text around them, character data as written
// and apart from the text around it. The previous character is 0 where a string may start.
template <typename Visit>
void forEachParsedCharacter (const juce::String& body, Visit&& visit)
{
    juce::juce_wchar previous = 0, character = 0;
    for (auto p = body.getCharPointer(); ! p.isEmpty();)
    {
        if (startsWith (p, "<!--"))
        {
            p += 4;
            if (! skipPast (p, "-->"))
                return;
            continue;
        }
        if (startsWith (p, "<![CDATA["))
        {
            p += 9;
            previous = 0;
            for (; ! p.isEmpty() && ! startsWith (p, "]]>"); previous = *p, ++p)
                visit (previous, *p);
            if (! p.isEmpty())
                p += 3;
            previous = 0;
            continue;
        }

        auto c = p.getAndAdvance();
        if (c == '&')
        {
            if (auto afterReference = p; skipReference (afterReference, character))
            {
                c = character;
                p = afterReference;
            }
        }
        visit (previous, c);
        previous = c;
    }
}

// What a placeholder starts with: no string the parser makes of the text can hold it. A
// private-use character of plane 15 that the text never uses, or, should it use every one, the
// rarest of them followed by one that never comes after it there.
juce::String placeholderMark (const juce::String& body, const Findings& findings)
{
    constexpr juce::juce_wchar first = 0xf0000;
    constexpr size_t count = 0x10000;
    const auto index = [] (juce::juce_wchar c) { return (size_t) (c - first); };
    const auto isCandidate = isPlane15;

    // Most texts hold none (written, they start with the bytes F3 B0 to F3 BF): then the first will do.
    const auto* const bytes = body.toRawUTF8();
    const auto* const end = bytes + body.getNumBytesAsUTF8();
    bool written = false;
    for (auto* q = bytes;
         ! written && (q = static_cast<const char*> (std::memchr (q, 0xf3, (size_t) (end - q)))) != nullptr; ++q)
        written = (unsigned char) q[1] >= 0xb0 && (unsigned char) q[1] <= 0xbf;
    if (! written && ! findings.refersToPlane15)
        return juce::String::charToString (first);

    std::vector<uint32_t> uses (count);
    forEachParsedCharacter (body,
                            [&] (juce::juce_wchar, juce::juce_wchar c)
                            {
                                if (isCandidate (c))
                                    ++uses[index (c)];
                            });
    const auto rarest = first + (juce::juce_wchar) (std::min_element (uses.begin(), uses.end()) - uses.begin());
    if (uses[index (rarest)] == 0)
        return juce::String::charToString (rarest);

    // It occurs at most (characters / 65536) times, so fewer than 65536 characters follow it.
    std::vector<bool> follows (count);
    forEachParsedCharacter (body,
                            [&] (juce::juce_wchar previous, juce::juce_wchar c)
                            {
                                if (previous == rarest && isCandidate (c))
                                    follows[index (c)] = true;
                            });
    const auto second =
        first + (juce::juce_wchar) (std::find (follows.begin(), follows.end(), false) - follows.begin());
    return juce::String::charToString (rarest) + juce::String::charToString (second);
}

struct Placeholder
{
    int element, position;
    juce::String text, value;
};

// Reading a value with n references ('&' or the quote) costs the parser n copies of the value so
// far; setting a placeholder's value afterwards costs a walk along the element's attributes (a
// linked list) up to it, each step about as dear as copying a thousand bytes when the list is long
// (measured on 16 MB documents of up to 800 000 attributes). Taking the cheaper kept every such
// document under a second.
bool isCheaperAsPlaceholder (const DecodedValue& decoded, size_t references)
{
    constexpr juce::uint64 bytesPerStep = 1024;
    return (juce::uint64) references * decoded.value.size() > bytesPerStep * ((juce::uint64) decoded.position + 1);
}

// The body with each value in `findings` written so that the parser reads it in one run: raw between
// quotes of a kind it lacks, with only '&' and that quote as references, or as a placeholder whose
// value is set once the parse is done.
std::string writeDecodedValues (const juce::String& body, const Findings& findings,
                                std::vector<Placeholder>& placeholders, juce::String& mark)
{
    const auto* const text = body.toRawUTF8();
    std::string written;
    written.reserve (body.getNumBytesAsUTF8());
    size_t copied = 0;

    for (const auto& value : findings.values)
    {
        written.append (text + copied, text + value.begin);
        copied = value.end;

        size_t ampersands = 0, doubleQuotes = 0, singleQuotes = 0;
        for (const auto c : value.value)
        {
            ampersands += c == '&';
            doubleQuotes += c == '"';
            singleQuotes += c == '\'';
        }
        const char quote = doubleQuotes <= singleQuotes ? '"' : '\'';
        const auto references = ampersands + juce::jmin (doubleQuotes, singleQuotes);

        written += quote;
        if (references > 0 && isCheaperAsPlaceholder (value, references))
        {
            if (mark.isEmpty())
                mark = placeholderMark (body, findings);
            const auto placeholder = mark + juce::String ((juce::int64) placeholders.size());
            placeholders.push_back ({ value.element, value.position, placeholder,
                                      juce::String::fromUTF8 (value.value.data(), (int) value.value.size()) });
            written += placeholder.toStdString();
        }
        else
        {
            for (const auto c : value.value)
            {
                if (c == '&')
                    written += "&#38;";
                else if (c == quote)
                    written += quote == '"' ? "&#34;" : "&#39;";
                else
                    written += c;
            }
        }
        written += quote;
    }

    written.append (text + copied, text + body.getNumBytesAsUTF8());
    return written;
}

// Sets each placeholder's value, as the parser read the placeholder in its place: it makes the
// elements in the order of their tags, so the n-th element met depth first is the n-th tag. Fails
// when a placeholder is not where it was written or text holds one, which would be a misreading.
struct PlaceholderRestorer
{
    const std::vector<Placeholder>& placeholders;
    juce::String mark;
    size_t next = 0;
    int elements = 0;

    // False when a placeholder of an element before this one was passed over.
    bool nonePassedOver() const { return next == placeholders.size() || placeholders[next].element >= elements; }

    bool restore (juce::XmlElement& element)
    {
        if (! nonePassedOver())
            return false;
        const int number = elements++;
        for (; next < placeholders.size() && placeholders[next].element == number; ++next)
        {
            // The element can set a value only by name, and names may repeat. Out of range, the
            // value is a shared empty string, which is never a placeholder and so never written.
            const auto& placeholder = placeholders[next];
            auto& value = const_cast<juce::String&> (element.getAttributeValue (placeholder.position));
            if (value != placeholder.text)
                return false;
            value = placeholder.value;
        }

        for (auto* child : element.getChildIterator())
            if (child->isTextElement() ? child->getText().contains (mark) : ! restore (*child))
                return false;
        return true;
    }
};
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

    Findings findings;
    if (body.contains ("<?") || ! hasSafeStructure (body, maxNestingDepth, findings))
        return {};
    if (findings.values.empty())
        return juce::parseXML (body);

    std::vector<Placeholder> placeholders;
    juce::String mark;
    const auto written = writeDecodedValues (body, findings, placeholders, mark);
    auto xml = juce::parseXML (juce::String::fromUTF8 (written.data(), (int) written.size()));
    if (xml == nullptr || placeholders.empty())
        return xml;

    // No document is known to make the parser read a placeholder elsewhere than where it was written;
    // should one, it is refused rather than read with a placeholder for a value.
    PlaceholderRestorer restorer{ placeholders, mark };
    return restorer.restore (*xml) && restorer.nonePassedOver() ? std::move (xml) : nullptr;
}

namespace
{
// Takes the element apart from the front, which costs the same for every attribute: read by index,
// each would walk the element's list of attributes from its start.
juce::ValueTree takeValueTree (juce::XmlElement& element)
{
    juce::ValueTree tree (element.getTagName());

    // A repeated attribute keeps its first value, the one the element itself answers with. Names
    // are pooled, so one name is one pointer.
    std::unordered_set<const void*> names;
    for (;;)
    {
        const auto name = element.getAttributeName (0);
        if (name.isEmpty())
            break;
        if (names.insert (name.getCharPointer().getAddress()).second && ! name.startsWith ("base64:"))
            tree.setProperty (name, element.getAttributeValue (0), nullptr);
        element.removeAttribute (name);
    }

    while (auto* child = element.getFirstChildElement())
    {
        if (! child->isTextElement())
            tree.appendChild (takeValueTree (*child), nullptr);
        element.removeChildElement (child, true);
    }

    return tree;
}
} // namespace

juce::ValueTree valueTreeFromUntrustedXml (const juce::XmlElement& element)
{
    juce::XmlElement copy (element);
    return takeValueTree (copy);
}
