#include "UntrustedXml.h"
#include "AllocationCounter.h"

#include <gtest/gtest.h>

namespace
{
std::unique_ptr<juce::XmlElement> parseBytes (const char* bytes)
{
    return parseUntrustedXml (juce::String::fromUTF8 (bytes));
}

juce::String repeated (const char* unit, int times)
{
    return juce::String::repeatedString (juce::String::fromUTF8 (unit), times);
}

// Plane 15's private-use characters from the given one to the plane's end, in order.
juce::String plane15From (juce::juce_wchar first)
{
    std::u32string characters;
    for (auto c = (char32_t) first; c < 0x100000; ++c)
        characters += c;
    return juce::String (juce::CharPointer_UTF32 (reinterpret_cast<const juce::juce_wchar*> (characters.c_str())));
}
} // namespace

TEST (UntrustedXmlTest, WellFormedUtf8IsReadInEveryLength)
{
    const auto xml = parseBytes ("<a b=\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xb5 \xf4\x8f\xbf\xbf\"/>");
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getStringAttribute ("b"),
               juce::String::fromUTF8 ("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xb5 \xf4\x8f\xbf\xbf"));
}

TEST (UntrustedXmlTest, MalformedUtf8IsRefused)
{
    // JUCE's strings copy an overlong form into room sized for the short one.
    for (const auto* bytes : { "<a b=\"\xc0\xbc\"/>",               // overlong '<'
                               "<a b=\"\xe0\x80\xbc\"/>",           // overlong '<' in three bytes
                               "<a b=\"\xf0\x80\x80\xbc\"/>",       // overlong '<' in four bytes
                               "<a b=\"\xed\xa0\x80\"/>",           // a surrogate
                               "<a b=\"\xf4\x90\x80\x80\"/>",       // beyond U+10FFFF
                               "<a b=\"\xe2\x82\"/>",               // cut short
                               "<a b=\"\xbf\"/>",                   // a lone continuation byte
                               "<a b=\"\xf8\x88\x80\x80\x80\"/>" }) // five bytes
        EXPECT_EQ (parseBytes (bytes), nullptr) << juce::String::toHexString (bytes, (int) strlen (bytes));
}

TEST (UntrustedXmlTest, CharacterReferencesMustNameACharacter)
{
    const auto xml = parseBytes ("<a b=\"&#x41;&#66;&#X10FFFF;\"/>");
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getStringAttribute ("b"), juce::String ("AB") + juce::String::charToString (0x10ffff));

    // Unterminated at the end, the parser reads past the text; out of range, it stores a value that
    // is not a character and its strings go wrong later.
    for (const auto* bytes :
         { "<a>&#xE", "<a b=\"&#xEbbbbbbb;\"/>", "<a b=\"&#99999999999;\"/>", "<a b=\"&#x110000;\"/>",
           "<a b=\"&#xD800;\"/>", "<a b=\"&#0;\"/>", "<a b=\"&#;\"/>", "<a b=\"&#x;\"/>", "<a b=\"&#12a;\"/>" })
        EXPECT_EQ (parseBytes (bytes), nullptr) << bytes;
}

TEST (UntrustedXmlTest, OnlyThePredefinedEntitiesAreRead)
{
    const auto xml = parseBytes ("<a b=\"&amp;&lt;&gt;&quot;&apos;&AMP;\">x &lt; y</a>");
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getStringAttribute ("b"), "&<>\"'&");
    EXPECT_EQ (xml->getAllSubText(), "x < y");

    // The parser gives an unknown entity its own name as value and parses that again as markup
    // when it starts with '<'.
    for (const auto* bytes :
         { "<a>&unknown;</a>", "<s>&<s>&#x41;</s>", "<a>fish & chips</a>", "<a b=\"&\"/>", "<a b=\"&nbsp;\"/>" })
        EXPECT_EQ (parseBytes (bytes), nullptr) << bytes;

    // Comments and character data are not markup.
    EXPECT_NE (parseBytes ("<a><!-- fish & chips --><![CDATA[&unknown;]]></a>"), nullptr);
    EXPECT_NE (parseBytes ("<a b=\"&#x0000041;&#000000000065;\"/>"), nullptr);
}

TEST (UntrustedXmlTest, CommentsAndCharacterDataEndWhereTheParserEndsThem)
{
    // To the parser "<!-->" opens a comment that the later "-->" ends, so the character data
    // opening in between is markup to it and must not hide what follows from the checks.
    EXPECT_EQ (parseBytes ("<a><!--> <![CDATA[ --> &#xE"), nullptr);
    EXPECT_EQ (parseBytes ("<a><!--> <![CDATA[ --> &<b x=\"1\"/>; ]]></a>"), nullptr);
    EXPECT_EQ (parseBytes (("<a><!--> <![CDATA[ -->" + juce::String::repeatedString ("<b>", 40)).toRawUTF8()), nullptr);

    for (const auto* unfinished : { "<a><!-- never ends", "<a><![CDATA[ never ends" })
        EXPECT_EQ (parseBytes (unfinished), nullptr) << unfinished;

    const auto xml = parseBytes ("<a><!--x--><![CDATA[<b>]]></a>");
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getAllSubText(), "<b>");
}

TEST (UntrustedXmlTest, ValueTreesLeaveOutBinaryAttributesAndText)
{
    const auto xml = parseBytes ("<a x=\"1\" base64:y=\"-1.A\">text<b base64:z=\"300000000.A\" w=\"2\"/></a>");
    ASSERT_NE (xml, nullptr);

    const auto tree = valueTreeFromUntrustedXml (*xml);
    EXPECT_EQ (tree.getNumProperties(), 1);
    EXPECT_EQ (tree["x"].toString(), "1");
    ASSERT_EQ (tree.getNumChildren(), 1);
    EXPECT_EQ (tree.getChild (0).getType().toString(), "b");
    EXPECT_EQ (tree.getChild (0).getNumProperties(), 1);
    EXPECT_EQ (tree.getChild (0)["w"].toString(), "2");
}

TEST (UntrustedXmlTest, ARepeatedAttributeKeepsItsFirstValueInTheValueTree)
{
    const auto xml = parseBytes ("<a value=\"1\" value=\"1e99999999999\"/>");
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (valueTreeFromUntrustedXml (*xml)["value"].toString(), xml->getStringAttribute ("value"));

    // In the order of their first appearance.
    const auto tree =
        valueTreeFromUntrustedXml (*parseBytes ("<a b=\"1\" c=\"2\" b=\"3\" base64:d=\"1.A\" e=\"4\" c=\"5\"/>"));
    EXPECT_EQ (tree.getNumProperties(), 3);
    for (int i = 0; i < tree.getNumProperties(); ++i)
        EXPECT_EQ (tree.getPropertyName (i).toString() + "=" + tree[tree.getPropertyName (i)].toString(),
                   juce::StringArray ({ "b=1", "c=2", "e=4" })[i]);
}

TEST (UntrustedXmlTest, AttributeValuesWithReferencesReadAsTheParserReadsThem)
{
    // Long runs of '&' or of both quotes are set after the parse from placeholders.
    const auto ampersands = repeated ("&amp;", 200), quotes = repeated ("&quot;&apos;", 100);
    const auto plane15 = [] (juce::juce_wchar c) { return juce::String::charToString (c); };
    const juce::String documents[] = {
        "<a b=\"caf&#233;-&#xE9;&#Xe9;&#0000233;\" c='&#x41;x&#66;'>caf&#233; &amp; &lt;b&gt;</a>",
        "<a b=\"&amp;&lt;&gt;&quot;&apos;\" c='&AMP;&Lt;&GT;&QUOT;&Apos;'/>",
        "<a b=\"&quot;'&quot;\" c='&apos;\"&apos;&quot;' d=\"&#34;&#39;&#34;\"/>",
        "<a b=\"x&#13;&#10;y&#9;z\" c=\"raw\r\n&#233;\r\t\" d='\n&#10;\r'>t&#13;\r\nu&#10;</a>",
        "<a b=\"&lt;?x?&gt;&lt;!--&lt;/a&gt;\" c='&lt;b c=\"1\"&gt;'/>",
        "<?xml version=\"1.0\"?>\n<a\tb =\n'&#233;' c\r\n=\"&#233;\"d=\"&#233;\"/>",
        "<a x=\"1\" b=\"" + ampersands + "\" c='" + quotes + "' d=\"" + ampersands + quotes + "\"/>",
        "<a><b n=\"" + ampersands + "\" n=\"x" + ampersands + "\"/>t<c n='" + quotes + "'>" + ampersands + "</c></a>",
        "<a" + repeated (" p=\"1\"", 60) + " q=\"" + repeated ("&amp;", 400) + "\" r=\"" + ampersands + "\"/>",
        // After "x=c" the parser reads the rest of the tag as text; later tags are read again.
        "<a><b x=c y=\"" + ampersands + "\">t</b><c z=\"" + ampersands + "\"/></a>",
        // Spaces and names beyond ASCII, as the C library classes them for the parser.
        "<a\fb\v=\"" + ampersands + "\"/>",
        juce::String::fromUTF8 ("<a \xc3\xa9=\"&#233;\"\xc2\xa0z=\"") + ampersands + "\"/>",
        "<a b=\"" + ampersands + "\"/><b c=\"" + ampersands + "\"/>",
        "<a b=\"&#233;",
        "<a b=\"" + ampersands + "\" c>",
        "<a><b c=\"" + ampersands + "\">",
        // Placeholders take a mark that no string of the document holds: here not U+F0000, named
        // or written. When the text uses every character of plane 15 (each three times) the mark is
        // a pair that never occurs, counting the one that text closes up around a comment.
        "<a b=\"" + ampersands + "\">&#xF0000;0</a>",
        "<a b=\"" + ampersands + "\">" + plane15 (0xf0000) + "0</a>",
        "<a m=\"" + plane15 (0xf0000) + plane15From (0xf0000) + "\" n=\"" + plane15From (0xf0001) + "\" b=\"" +
            ampersands + "\">" + plane15 (0xf0000) + "<!---->" + plane15 (0xf0002) + plane15 (0xf0001) +
            plane15From (0xf0003) + "0</a>",
    };

    for (const auto& text : documents)
    {
        SCOPED_TRACE (text.substring (0, 120).toStdString());
        const auto ours = parseUntrustedXml (text);
        const auto juces = juce::parseXML (text);
        ASSERT_EQ (ours == nullptr, juces == nullptr);
        if (ours == nullptr)
            continue;
        EXPECT_TRUE (ours->isEquivalentTo (juces.get(), false));
        const auto oneLine = juce::XmlElement::TextFormat().withoutHeader().singleLine();
        EXPECT_EQ (ours->toString (oneLine), juces->toString (oneLine));
    }
}

TEST (UntrustedXmlTest, AValueOfReferencesIsReadWithAsManyAllocationsAtAnyLength)
{
    // The parser reallocates a value at every few references it appends; read four times as
    // many, the allocations must not grow with them. A form feed is a space to the parser too.
    const std::pair<const char*, const char*> cases[] = {
        { "<a b=\"", "&#233;" }, { "<a b=\"", "&amp;" }, { "<a b=\"", "&quot;&apos;" }, { "<a\fb=\"", "&#233;" }
    };
    for (const auto& [start, unit] : cases)
    {
        SCOPED_TRACE (juce::String (start) + unit);
        const auto allocationsToRead = [start = start, unit = unit] (int references)
        {
            const auto text = start + repeated (unit, references) + "\"/>";
            const AllocationCounter allocations;
            EXPECT_NE (parseUntrustedXml (text), nullptr);
            return allocations.count();
        };
        EXPECT_LE (allocationsToRead (16384), allocationsToRead (4096) + 16);
    }
}
