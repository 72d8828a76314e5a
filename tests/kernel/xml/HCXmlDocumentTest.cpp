#include <gtest/gtest.h>

#include <string>

#include "kernel/xml/HCXmlDocument.h"

namespace {

const char* kReply =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<resources>\n"
    "  <pagination_header>\n"
    "    <current_page>1</current_page>\n"
    "    <total_pages>3</total_pages>\n"
    "  </pagination_header>\n"
    "  <user>\n"
    "    <id>12</id>\n"
    "    <name>Ann</name>\n"
    "  </user>\n"
    "  <leaderboard><id>7</id></leaderboard>\n"
    "  <user>\n"
    "    <id>13</id>\n"
    "    <name>Bob</name>\n"
    "  </user>\n"
    "</resources>\n";

std::string valueOf(const HCPointer<HCXmlElement>& e)
{
    return e && e->value() ? *e->value() : std::string("<nil>");
}

TEST(HCXmlDocument, BuildsTheTreeUnderASyntheticTopElement)
{
    auto doc = HCXmlDocument::xmlDocumentWithData(std::string(kReply));
    const auto& top = doc->getTopElement();
    ASSERT_EQ(top->numChildren(), 1u);
    auto resources = top->getChild(0);
    EXPECT_EQ(resources->name(), "resources");
    ASSERT_EQ(resources->numChildren(), 4u);
    EXPECT_EQ(resources->getChild(0)->name(), "pagination_header");
    EXPECT_EQ(resources->getChild(1)->name(), "user");
    EXPECT_EQ(resources->getChild(2)->name(), "leaderboard");
    EXPECT_EQ(resources->getChild(3)->name(), "user");
    EXPECT_EQ(valueOf(resources->getChild(3)->getChild(1)), "Bob");
}

TEST(HCXmlDocument, TextRules)
{
    auto doc = HCXmlDocument::xmlDocumentWithData(std::string(
        "<r>\n  <leaf>  spaced  </leaf>\n  <blank>   </blank>\n  <empty></empty><selfclosed/>"
        "<mixed>one<b>x</b>two</mixed><crlf>a\r\nb</crlf>\n</r>"));
    auto r = doc->getTopElement()->getChild(0);
    EXPECT_FALSE(r->value().has_value()) << "indentation between children is not a value";
    EXPECT_EQ(valueOf(r->firstChildNamed("leaf")), "  spaced  ");
    EXPECT_EQ(valueOf(r->firstChildNamed("blank")), "   ") << "a leaf keeps whitespace-only text";
    EXPECT_FALSE(r->firstChildNamed("empty")->value().has_value());
    EXPECT_FALSE(r->firstChildNamed("selfclosed")->value().has_value());
    EXPECT_EQ(valueOf(r->firstChildNamed("mixed")), "onetwo");
    EXPECT_EQ(valueOf(r->firstChildNamed("crlf")), "a\nb");
}

TEST(HCXmlDocument, DecodesEntitiesCharacterReferencesAndCdata)
{
    auto doc = HCXmlDocument::xmlDocumentWithData(std::string(
        "<r><a>Tom &amp; Jerry &lt;3 &gt; &quot;q&quot; &apos;s&apos;</a><b>caf&#233; &#x1F600;</b>"
        "<c><![CDATA[<not> &amp; markup]]></c><d>z&#xE9;&#x4E2D;</d></r>"));
    auto r = doc->getTopElement()->getChild(0);
    EXPECT_EQ(valueOf(r->firstChildNamed("a")), "Tom & Jerry <3 > \"q\" 's'");
    EXPECT_EQ(valueOf(r->firstChildNamed("b")), "caf\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(valueOf(r->firstChildNamed("c")), "<not> &amp; markup");
    EXPECT_EQ(valueOf(r->firstChildNamed("d")), "z\xC3\xA9\xE4\xB8\xAD");
}

TEST(HCXmlDocument, WalksScopesAndReadsChildrenInDocumentOrder)
{
    auto doc = HCXmlDocument::xmlDocumentWithData(std::string(kReply));
    doc->pushNextScope("resources");
    ASSERT_NE(doc->getCurrentScope(), nullptr);
    EXPECT_EQ(doc->getCurrentScope()->name(), "resources");

    // Taking the users by name leaves the header and the leaderboard unread.
    ASSERT_TRUE(doc->pushNextUnreadScopeWithNameIfAvailable("user"));
    std::optional<std::string> id;
    ASSERT_TRUE(doc->nextValueAtCurrentScopeWithKey("id", id));
    EXPECT_EQ(id, "12");
    doc->popScope();
    ASSERT_TRUE(doc->pushNextUnreadScopeWithNameIfAvailable("user"));
    ASSERT_TRUE(doc->nextValueAtCurrentScopeWithKey("id", id));
    EXPECT_EQ(id, "13");
    doc->popScope();
    EXPECT_FALSE(doc->pushNextUnreadScopeWithNameIfAvailable("user"));
    EXPECT_EQ(doc->getCurrentScope()->name(), "resources") << "a failed push pushes nothing";

    auto first = doc->readNextElement();
    auto second = doc->readNextElement();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->name(), "pagination_header");
    EXPECT_EQ(second->name(), "leaderboard");
    EXPECT_EQ(doc->readNextElement(), nullptr);
}

TEST(HCXmlDocument, PushingAMissingScopeEntersAnEmptyScope)
{
    auto doc = HCXmlDocument::xmlDocumentWithData(std::string(kReply));
    doc->pushNextScope("resource_sections");
    EXPECT_EQ(doc->getCurrentScope(), nullptr);
    EXPECT_EQ(doc->readNextElement(), nullptr);
    std::optional<std::string> out = "unchanged";
    EXPECT_FALSE(doc->nextValueAtCurrentScopeWithKey("resources", out));
    EXPECT_EQ(out, "unchanged");
    EXPECT_FALSE(doc->pushNextUnreadScopeWithNameIfAvailable("resources"));
    doc->pushNextScope("deeper");  // still empty, still one push
    doc->popScope();
    doc->popScope();
    // Back at the top, and the document element was never marked read.
    EXPECT_TRUE(doc->pushNextUnreadScopeWithNameIfAvailable("resources"));
}

TEST(HCXmlDocument, PopScopeNeverLeavesTheTop)
{
    auto doc = HCXmlDocument::xmlDocumentWithData(std::string("<a><b/></a>"));
    doc->popScope();
    doc->popScope();
    EXPECT_EQ(doc->getCurrentScope(), doc->getTopElement());
    doc->pushNextScope("a");
    EXPECT_EQ(doc->readNextElement()->name(), "b");
}

TEST(HCXmlDocument, NextValueTakesEachElementOnceAndKeepsNilText)
{
    auto doc = HCXmlDocument::xmlDocumentWithData(std::string("<r><k>1</k><x/><k/><k>3</k></r>"));
    doc->pushNextScope("r");
    std::optional<std::string> v;
    ASSERT_TRUE(doc->nextValueAtCurrentScopeWithKey("k", v));
    EXPECT_EQ(v, "1");
    ASSERT_TRUE(doc->nextValueAtCurrentScopeWithKey("k", v));
    EXPECT_EQ(v, std::nullopt) << "an element without text gives nil";
    ASSERT_TRUE(doc->nextValueAtCurrentScopeWithKey("k", v));
    EXPECT_EQ(v, "3");
    v = "kept";
    EXPECT_FALSE(doc->nextValueAtCurrentScopeWithKey("k", v));
    EXPECT_EQ(v, "kept");
    EXPECT_EQ(doc->readNextElement()->name(), "x");
}

TEST(HCXmlDocument, ElementValueByNameSearchesTheWholeTree)
{
    auto doc = HCXmlDocument::xmlDocumentWithData(
        std::string("<errors><other><error_message>first</error_message></other>"
                    "<error_message>second</error_message><blank/></errors>"));
    EXPECT_EQ(doc->getElementValue("error_message"), "first");
    EXPECT_EQ(doc->getElementValue("errors"), std::nullopt);
    EXPECT_EQ(doc->getElementValue("blank"), std::nullopt);
    EXPECT_EQ(doc->getElementValue("missing"), std::nullopt);
    EXPECT_EQ(doc->getElementValue(nullptr), std::nullopt);
    // Look-ups leave the read marks alone.
    doc->pushNextScope("errors");
    EXPECT_EQ(doc->readNextElement()->name(), "other");
}

TEST(HCXmlDocument, ElementValueAtPathFollowsChildrenFromTheRoot)
{
    auto doc = HCXmlDocument::xmlDocumentWithData(
        std::string("<errors><FbconnectCredential>extended_credentials</FbconnectCredential>"
                    "<TwitterCredential>other</TwitterCredential><Nested><Deep>d</Deep></Nested></errors>"));
    EXPECT_EQ(doc->getElementValueAtPath("errors.FbconnectCredential"), "extended_credentials");
    EXPECT_EQ(doc->getElementValueAtPath("errors.TwitterCredential"), "other");
    EXPECT_EQ(doc->getElementValueAtPath("errors.Nested.Deep"), "d");
    EXPECT_EQ(doc->getElementValueAtPath("errors.Missing"), "");
    EXPECT_EQ(doc->getElementValueAtPath("errors.Nested.Deep.Deeper"), "");
    EXPECT_EQ(doc->getElementValueAtPath("wrongroot.TwitterCredential"), "") << "the first component names the root";
    EXPECT_EQ(doc->getElementValueAtPath("errors.Nested"), "") << "no text of its own";
    EXPECT_EQ(doc->getElementValueAtPath(""), "");
    EXPECT_EQ(doc->getElementValueAtPath("errors..x"), "");
    EXPECT_EQ(doc->getElementValueAtPath(nullptr), "");
    EXPECT_EQ(HCXmlDocument::xmlDocumentWithData(std::string())->getElementValueAtPath("errors.TwitterCredential"), "");
}

TEST(HCXmlElement, NamedDequeueLeavesEarlierChildrenUnread)
{
    HCXmlElement parent("p");
    for (const char* name : {"a", "b", "a", "c"}) {
        parent.addChild(std::make_shared<HCXmlElement>(name, std::string(name)));
    }
    EXPECT_EQ(parent.dequeueNextUnreadChild("c"), parent.getChild(3));
    EXPECT_EQ(parent.dequeueNextUnreadChild("a"), parent.getChild(0));
    EXPECT_TRUE(parent.isChildRead(0));
    EXPECT_FALSE(parent.isChildRead(1));
    EXPECT_EQ(parent.dequeueNextUnreadChild(), parent.getChild(1));
    EXPECT_EQ(parent.dequeueNextUnreadChild(), parent.getChild(2));
    EXPECT_EQ(parent.dequeueNextUnreadChild(), nullptr);
    EXPECT_EQ(parent.dequeueNextUnreadChild("a"), nullptr);
    EXPECT_EQ(parent.dequeueNextUnreadChild(nullptr), nullptr);
}

TEST(HCXmlElement, GetValueWithNameMarksReadOnlyWhenAsked)
{
    HCXmlElement parent("p");
    parent.addChild(std::make_shared<HCXmlElement>("k", std::string("one")));
    parent.addChild(std::make_shared<HCXmlElement>("k", std::string("two")));
    std::optional<std::string> out;
    ASSERT_TRUE(parent.getValueWithName("k", out, false));
    EXPECT_EQ(out, "one");
    ASSERT_TRUE(parent.getValueWithName("k", out, false));
    EXPECT_EQ(out, "one") << "peeking does not consume";
    ASSERT_TRUE(parent.getValueWithName("k", out, true));
    ASSERT_TRUE(parent.getValueWithName("k", out, true));
    EXPECT_EQ(out, "two");
    out = "same";
    EXPECT_FALSE(parent.getValueWithName("k", out, true));
    EXPECT_FALSE(parent.getValueWithName(nullptr, out, true));
    EXPECT_EQ(out, "same");
}

}  // namespace
