#include <gtest/gtest.h>

#include <string>

#include "kernel/xml/HCXmlDocument.h"
#include "kernel/xml/HCXmlTreeParser.h"

namespace {

size_t depthOf(HCPointer<HCXmlElement> e)
{
    size_t depth = 0;
    while (e->numChildren() > 0) {
        e = e->getChild(0);
        ++depth;
    }
    return depth;
}

size_t totalTextBytes(const HCPointer<HCXmlElement>& e)
{
    size_t n = e->value() ? e->value()->size() : 0;
    for (size_t i = 0; i < e->numChildren(); ++i) {
        n += totalTextBytes(e->getChild(i));
    }
    return n;
}

std::string nested(size_t depth, const std::string& inner = "")
{
    std::string s;
    for (size_t i = 0; i < depth; ++i) {
        s += "<a>";
    }
    s += inner;
    for (size_t i = 0; i < depth; ++i) {
        s += "</a>";
    }
    return s;
}

TEST(HCXmlHostileInput, EmptyAndNonXmlInputGiveAnEmptyDocument)
{
    for (const std::string& input : {std::string(), std::string("{\"json\": true}"), std::string("plain text"),
                                     std::string("\xEF\xBB\xBF"), std::string("<?xml version=\"1.0\"?>")}) {
        auto doc = HCXmlDocument::xmlDocumentWithData(input);
        EXPECT_EQ(doc->getTopElement()->numChildren(), 0u) << input;
        EXPECT_EQ(doc->readNextElement(), nullptr);
    }
    EXPECT_EQ(HCXmlDocument::xmlDocumentWithData(nullptr, 10)->getTopElement()->numChildren(), 0u);
}

TEST(HCXmlHostileInput, TruncatedReplyKeepsWhatWasBuilt)
{
    const std::string full = "<resources><user><id>1</id><name>Ann</name></user><user><id>2</id><name>Bob</name>"
                             "</user></resources>";
    // Every prefix parses without harm, and a prefix that holds the first user
    // whole keeps it.
    const size_t firstUserEnd = full.find("</user>") + 7;
    for (size_t cut = 0; cut < full.size(); ++cut) {
        auto doc = HCXmlDocument::xmlDocumentWithData(full.substr(0, cut));
        if (cut >= firstUserEnd) {
            EXPECT_EQ(doc->getElementValueAtPath("resources.user.name"), "Ann") << cut;
        }
    }
    auto doc = HCXmlDocument::xmlDocumentWithData(full.substr(0, full.find("Bob") + 2));
    doc->pushNextScope("resources");
    doc->pushNextScope("user");
    doc->popScope();
    doc->pushNextScope("user");
    std::optional<std::string> id;
    ASSERT_TRUE(doc->nextValueAtCurrentScopeWithKey("id", id));
    EXPECT_EQ(id, "2");
}

TEST(HCXmlHostileInput, OnlyADocumentReadToItsEndIsWhole)
{
    const std::string full = "<?xml version=\"1.0\"?><resources><user><id>1</id></user></resources>\n";
    EXPECT_TRUE(HCXmlDocument::xmlDocumentWithData(full)->isWhole());
    // Cut anywhere before the document element closes: a leading part only.
    for (size_t cut = 0; cut < full.size() - 1; ++cut) {
        EXPECT_FALSE(HCXmlDocument::xmlDocumentWithData(full.substr(0, cut))->isWhole()) << cut;
    }
    for (const std::string& input : {std::string("<a>1</a><b>2</b>"), std::string("<r><c>2</d></r>"),
                                     std::string("<!DOCTYPE r [<!ENTITY x \"y\">]><r>&x;</r>"),
                                     "<r>" + nested(HCXmlParseLimits().maxDepth) + "</r>", std::string("plain text")}) {
        EXPECT_FALSE(HCXmlDocument::xmlDocumentWithData(input)->isWhole()) << input.substr(0, 40);
    }
    EXPECT_TRUE(HCXmlDocument::xmlDocumentWithData(std::string("<!DOCTYPE r><r/>"))->isWhole());
}

TEST(HCXmlHostileInput, MalformedInputStopsAtTheErrorAndKeepsTheRest)
{
    auto doc = HCXmlDocument::xmlDocumentWithData(std::string("<r><b>1</b><c>2</d><e>3</e></r>"));
    auto r = doc->getTopElement()->getChild(0);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->numChildren(), 2u);
    EXPECT_EQ(doc->getElementValueAtPath("r.b"), "1");
    EXPECT_EQ(doc->getElementValueAtPath("r.c"), "2") << "text before the bad tag is kept";
    EXPECT_EQ(doc->getElementValue("e"), std::nullopt);

    // A second document element is junk: the first is kept.
    auto twoRoots = HCXmlDocument::xmlDocumentWithData(std::string("<a>1</a><b>2</b>"));
    EXPECT_EQ(twoRoots->getTopElement()->numChildren(), 1u);
    EXPECT_EQ(twoRoots->getElementValue("a"), "1");
}

TEST(HCXmlHostileInput, NulBytesStopTheParse)
{
    const std::string input("<r><b>1</b>\0<c>2</c></r>", 24);
    auto doc = HCXmlDocument::xmlDocumentWithData(input);
    EXPECT_EQ(doc->getElementValue("b"), "1");
    EXPECT_EQ(doc->getElementValue("c"), std::nullopt);
    const std::string inText("<r><b>x\0y</b></r>", 17);
    const auto text = HCXmlDocument::xmlDocumentWithData(inText)->getElementValue("b");
    EXPECT_TRUE(!text || text->find('\0') == std::string::npos);
}

TEST(HCXmlHostileInput, UndefinedEntitiesStopTheParse)
{
    auto doc = HCXmlDocument::xmlDocumentWithData(std::string("<r><b>1</b><c>&nbsp;</c><d>4</d></r>"));
    EXPECT_EQ(doc->getElementValue("b"), "1");
    EXPECT_EQ(doc->getElementValue("d"), std::nullopt);
    auto bad = HCXmlDocument::xmlDocumentWithData(std::string("<r><b>&#0;</b><c>&#xD800;</c><d>&amp</d></r>"));
    EXPECT_EQ(bad->getElementValue("b"), std::nullopt);
    EXPECT_EQ(bad->getElementValue("d"), std::nullopt);
}

TEST(HCXmlHostileInput, DeclaredEntitiesAreRefused)
{
    const std::string laughs =
        "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\">"
        "<!ENTITY lol1 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">"
        "<!ENTITY lol2 \"&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;\">"
        "<!ENTITY lol3 \"&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;\">"
        "<!ENTITY lol4 \"&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;\">"
        "<!ENTITY lol5 \"&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;\">"
        "<!ENTITY lol6 \"&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;\">"
        "<!ENTITY lol7 \"&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;\">"
        "<!ENTITY lol8 \"&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;\">"
        "<!ENTITY lol9 \"&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;\">"
        "]><lolz>&lol9;</lolz>";
    EXPECT_EQ(HCXmlDocument::xmlDocumentWithData(laughs)->getTopElement()->numChildren(), 0u);

    const std::string single = "<!DOCTYPE r [<!ENTITY x \"expanded\">]><r>&x;</r>";
    EXPECT_EQ(HCXmlDocument::xmlDocumentWithData(single)->getTopElement()->numChildren(), 0u);

    const std::string external = "<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><r>&x;</r>";
    EXPECT_EQ(HCXmlDocument::xmlDocumentWithData(external)->getTopElement()->numChildren(), 0u);

    const std::string parameter = "<!DOCTYPE r [<!ENTITY % p SYSTEM \"http://example.invalid/x.dtd\"> %p;]><r>1</r>";
    EXPECT_EQ(HCXmlDocument::xmlDocumentWithData(parameter)->getTopElement()->numChildren(), 0u);

    // A document type without entity declarations is harmless and accepted.
    const std::string plainDoctype = "<!DOCTYPE r><r><k>v</k></r>";
    EXPECT_EQ(HCXmlDocument::xmlDocumentWithData(plainDoctype)->getElementValue("k"), "v");
}

TEST(HCXmlHostileInput, NestingBeyondTheDepthLimitIsDroppedAndStopsTheParse)
{
    const HCXmlParseLimits limits;
    // Exactly at the limit everything is kept, including what follows.
    const std::string fits = "<r>" + nested(limits.maxDepth - 1, "deep") + "<after/></r>";
    auto atLimit = parseXmlTree(fits.data(), fits.size());
    EXPECT_EQ(depthOf(atLimit), limits.maxDepth);
    EXPECT_NE(atLimit->getChild(0)->firstChildNamed("after"), nullptr);

    const std::string tooDeep = "<r>" + nested(limits.maxDepth, "deep") + "<after/></r>";
    auto cut = parseXmlTree(tooDeep.data(), tooDeep.size());
    EXPECT_EQ(depthOf(cut), limits.maxDepth);
    EXPECT_EQ(cut->getChild(0)->firstChildNamed("after"), nullptr);

    // A hundred thousand levels neither overflow the stack nor build them all.
    const std::string hostile = nested(100000);
    auto doc = HCXmlDocument::xmlDocumentWithData(hostile);
    EXPECT_EQ(depthOf(doc->getTopElement()), limits.maxDepth);
}

TEST(HCXmlHostileInput, TextBeyondTheLimitStopsTheParse)
{
    HCXmlParseLimits limits;
    limits.maxTextBytes = 10;
    const std::string input = "<r><a>12345</a><b>67890</b><c>x</c><d/></r>";
    auto top = parseXmlTree(input.data(), input.size(), limits);
    auto r = top->getChild(0);
    EXPECT_EQ(*r->getChild(0)->value(), "12345");
    EXPECT_EQ(*r->getChild(1)->value(), "67890");
    EXPECT_EQ(r->numChildren(), 3u);
    EXPECT_FALSE(r->getChild(2)->value().has_value());

    // The real limit against a 17 MB text.
    const std::string huge = "<r><t>" + std::string(17u * 1024u * 1024u, 'x') + "</t><after/></r>";
    auto doc = HCXmlDocument::xmlDocumentWithData(huge);
    EXPECT_LE(totalTextBytes(doc->getTopElement()), HCXmlParseLimits().maxTextBytes);
    EXPECT_EQ(doc->getElementValue("after"), std::nullopt);
    EXPECT_EQ(doc->getTopElement()->getChild(0)->firstChildNamed("after"), nullptr);
}

TEST(HCXmlHostileInput, ElementsBeyondTheLimitStopTheParse)
{
    auto childrenKept = [](size_t elements) {
        std::string input = "<r>";
        for (size_t i = 0; i < elements; ++i) input += "<a/>";
        input += "</r>";
        return HCXmlDocument::xmlDocumentWithData(input)->getTopElement()->getChild(0)->numChildren();
    };
    // A long real reply (a friends list of 10,000 players holds about
    // 61,000 elements) is kept whole; a flood of empty elements is cut at
    // a few hundred thousand, not read into millions of objects.
    EXPECT_EQ(childrenKept(61000), 61000u);
    EXPECT_EQ(childrenKept(1000000), HCXmlParseLimits().maxElements - 1);
    EXPECT_LT(childrenKept(1000000), 250000u);
}

}  // namespace
