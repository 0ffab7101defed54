#include "UntrustedXml.h"

#include <gtest/gtest.h>

namespace
{
std::unique_ptr<juce::XmlElement> parseBytes (const char* bytes)
{
    return parseUntrustedXml (juce::String::fromUTF8 (bytes));
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
}
