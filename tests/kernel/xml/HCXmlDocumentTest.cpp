#include <gtest/gtest.h>

#include <string>

#include "kernel/xml/HCXmlDocument.h"

namespace {

const char* kReply =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<resources>\n"
    "  <pagination_header><total_pages>3</total_pages></pagination_header>\n"
    "  <user>\n    <id>12</id>\n    <name>Ann</name>\n  </user>\n"
    "  <leaderboard><id>7</id></leaderboard>\n"
    "  <user><id>13</id><name>Bob</name></user>\n"
    "</resources>\n";

std::string valueOf(const HCPointer<HCXmlElement>& e)
{
    return e && e->value() ? *e->value() : std::string("<nil>");
}

TEST(HCXmlDocument, TextRulesEntitiesAndCdata)
{
    auto doc = HCXmlDocument::xmlDocumentWithData(std::string(
        "<r>\n  <leaf>  spaced  </leaf>\n  <blank>   </blank>\n  <empty></empty><selfclosed/>"
        "<mixed>one<b>x</b>two</mixed><crlf>a\r\nb</crlf>"
        "<a>Tom &amp; Jerry &lt;3 &gt; &quot;q&quot; &apos;s&apos;</a><c>caf&#233; &#x1F600;</c>"
        "<d><![CDATA[<not> &amp; markup]]></d>\n</r>"));
    auto r = doc->getTopElement()->getChild(0);
    EXPECT_FALSE(r->value().has_value()) << "indentation between children is not a value";
    EXPECT_EQ(valueOf(r->firstChildNamed("leaf")), "  spaced  ");
    EXPECT_EQ(valueOf(r->firstChildNamed("blank")), "   ") << "a leaf keeps whitespace-only text";
    EXPECT_EQ(valueOf(r->firstChildNamed("empty")), "<nil>");
    EXPECT_EQ(valueOf(r->firstChildNamed("selfclosed")), "<nil>");
    EXPECT_EQ(valueOf(r->firstChildNamed("mixed")), "onetwo");
    EXPECT_EQ(valueOf(r->firstChildNamed("crlf")), "a\nb");
    EXPECT_EQ(valueOf(r->firstChildNamed("a")), "Tom & Jerry <3 > \"q\" 's'");
    EXPECT_EQ(valueOf(r->firstChildNamed("c")), "caf\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(valueOf(r->firstChildNamed("d")), "<not> &amp; markup");
}

TEST(HCXmlDocument, WalksScopesAndReadsEachChildOnceInDocumentOrder)
{
    auto doc = HCXmlDocument::xmlDocumentWithData(std::string(kReply));
    ASSERT_EQ(doc->getTopElement()->numChildren(), 1u);
    doc->pushNextScope("resources");
    EXPECT_EQ(doc->getCurrentScope()->name(), "resources");

    // Taking the users by name leaves the header and the leaderboard unread.
    std::optional<std::string> id;
    for (const char* expected : {"12", "13"}) {
        ASSERT_TRUE(doc->pushNextUnreadScopeWithNameIfAvailable("user"));
        ASSERT_TRUE(doc->nextValueAtCurrentScopeWithKey("id", id));
        EXPECT_EQ(id, expected);
        doc->popScope();
    }
    EXPECT_FALSE(doc->pushNextUnreadScopeWithNameIfAvailable("user"));
    EXPECT_EQ(doc->getCurrentScope()->name(), "resources") << "a failed push pushes nothing";
    EXPECT_EQ(doc->readNextElement()->name(), "pagination_header");
    EXPECT_EQ(doc->readNextElement()->name(), "leaderboard");
    EXPECT_EQ(doc->readNextElement(), nullptr);

    // Popping never leaves the top.
    doc->popScope();
    doc->popScope();
    EXPECT_EQ(doc->getCurrentScope(), doc->getTopElement());
}

TEST(HCXmlDocument, AMissingScopeIsEmptyAndEachElementIsTakenOnce)
{
    auto doc = HCXmlDocument::xmlDocumentWithData(std::string(kReply));
    doc->pushNextScope("resource_sections");
    EXPECT_EQ(doc->getCurrentScope(), nullptr);
    EXPECT_EQ(doc->readNextElement(), nullptr);
    std::optional<std::string> out = "unchanged";
    EXPECT_FALSE(doc->nextValueAtCurrentScopeWithKey("resources", out));
    EXPECT_EQ(out, "unchanged");
    doc->pushNextScope("deeper");
    doc->popScope();
    doc->popScope();
    // Back at the top, and the document element was never marked read.
    EXPECT_TRUE(doc->pushNextUnreadScopeWithNameIfAvailable("resources"));

    // The next value takes each element once and keeps a nil text.
    doc = HCXmlDocument::xmlDocumentWithData(std::string("<r><k>1</k><x/><k/><k>3</k></r>"));
    doc->pushNextScope("r");
    std::optional<std::string> v;
    for (std::optional<std::string> expected : {std::optional<std::string>("1"), std::optional<std::string>(),
                                                std::optional<std::string>("3")}) {
        ASSERT_TRUE(doc->nextValueAtCurrentScopeWithKey("k", v));
        EXPECT_EQ(v, expected);
    }
    v = "kept";
    EXPECT_FALSE(doc->nextValueAtCurrentScopeWithKey("k", v));
    EXPECT_EQ(v, "kept");
    EXPECT_EQ(doc->readNextElement()->name(), "x");
}

TEST(HCXmlDocument, ValueLookUpsByNameAndByPathLeaveTheReadMarksAlone)
{
    auto doc = HCXmlDocument::xmlDocumentWithData(
        std::string("<errors><other><error_message>first</error_message></other>"
                    "<error_message>second</error_message><Nested><Deep>d</Deep></Nested></errors>"));
    EXPECT_EQ(doc->getElementValue("error_message"), "first");
    EXPECT_EQ(doc->getElementValue("errors"), std::nullopt);
    EXPECT_EQ(doc->getElementValue(nullptr), std::nullopt);
    EXPECT_EQ(doc->getElementValueAtPath("errors.error_message"), "second");
    EXPECT_EQ(doc->getElementValueAtPath("errors.Nested.Deep"), "d");
    for (const char* path : {"errors.Missing", "errors.Nested.Deep.Deeper", "other.error_message", "errors.Nested", "",
                             "errors..x"})
        EXPECT_EQ(doc->getElementValueAtPath(path), "") << path;
    EXPECT_EQ(doc->getElementValueAtPath(nullptr), "");
    doc->pushNextScope("errors");
    EXPECT_EQ(doc->readNextElement()->name(), "other");
}

TEST(HCXmlElement, NamedReadsMarkOnlyWhatTheyTake)
{
    HCXmlElement parent("p");
    for (const char* name : {"a", "b", "a", "c"}) {
        parent.addChild(std::make_shared<HCXmlElement>(name, std::string(name) + "-text"));
    }
    std::optional<std::string> out;
    ASSERT_TRUE(parent.getValueWithName("a", out, false));
    EXPECT_EQ(parent.dequeueNextUnreadChild("c"), parent.getChild(3)) << "peeking consumed nothing";
    EXPECT_EQ(parent.dequeueNextUnreadChild("a"), parent.getChild(0));
    EXPECT_FALSE(parent.isChildRead(1));
    ASSERT_TRUE(parent.getValueWithName("a", out, true));
    EXPECT_EQ(out, "a-text");
    EXPECT_TRUE(parent.isChildRead(2));
    EXPECT_EQ(parent.dequeueNextUnreadChild(), parent.getChild(1));
    EXPECT_EQ(parent.dequeueNextUnreadChild(), nullptr);
    EXPECT_FALSE(parent.getValueWithName(nullptr, out, true));
    EXPECT_EQ(parent.dequeueNextUnreadChild(nullptr), nullptr);
}

}  // namespace
