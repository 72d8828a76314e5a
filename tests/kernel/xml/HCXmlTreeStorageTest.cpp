#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "kernel/xml/HCXmlDocument.h"

namespace {

// Names alike in length and in their first, middle and last bytes (what the
// name table hashes), and more of them than the table's first size: each
// must still come back as itself, in document order, under the right parent.
TEST(HCXmlTreeStorage, LookAlikeNamesStayApartAndKeepTheirOrder)
{
    std::vector<std::string> names;
    for (char a = 'a'; a <= 'z'; ++a)
        for (char b : {'A', 'B', 'C', 'D', 'E'}) names.push_back(std::string("x") + a + "m" + b + "y");
    std::string xml = "<list>";
    for (size_t i = 0; i < names.size(); ++i)
        xml += "<" + names[i] + "><v>" + std::to_string(i) + "</v></" + names[i] + ">\n";
    xml += "</list>";
    auto document = HCXmlDocument::xmlDocumentWithData(xml);
    auto list = document->getTopElement()->getChild(0);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->numChildren(), names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        auto child = list->getChild(i);
        EXPECT_EQ(child->name(), names[i]);
        ASSERT_EQ(child->numChildren(), 1u);
        EXPECT_EQ(child->getChild(0)->value(), std::to_string(i));
    }
    EXPECT_EQ(list->firstChildNamed("xqmCy")->getChild(0)->value(), std::to_string(16 * 5 + 2));
}

// Every pointer into a parsed tree keeps the whole tree: an element taken out
// of a document outlives the document, its parent and its siblings' pointers
// (under the address sanitizer a freed element would be caught here).
TEST(HCXmlTreeStorage, AnElementKeepsItsTreeAliveAndMixesWithStandAloneOnes)
{
    HCPointer<HCXmlElement> user;
    {
        auto document = HCXmlDocument::xmlDocumentWithData(
            std::string("<reply><user><id>12</id><name>Ann</name></user><note>\n  <b>x</b>\n  tail</note></reply>"));
        user = document->getTopElement()->getChild(0)->dequeueNextUnreadChild("user");
        auto note = document->getTopElement()->getChild(0)->firstChildNamed("note");
        EXPECT_EQ(note->value(), "\n  \n  tail") << "mixed text keeps every piece, whitespace included";
    }
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->name(), "user");
    EXPECT_EQ(user->firstChildNamed("name")->value(), "Ann");
    EXPECT_EQ(user->dequeueNextUnreadChild(), user->getChild(0));

    // A stand-alone element under a parsed one, and a parsed one under a
    // stand-alone element: both kept alive by their new parent.
    user->addChild(std::make_shared<HCXmlElement>("extra", "e"));
    auto holder = std::make_shared<HCXmlElement>("holder");
    holder->addChild(user);
    user.reset();
    auto kept = holder->getChild(0);
    ASSERT_EQ(kept->numChildren(), 3u);
    EXPECT_EQ(kept->getChild(2)->value(), "e");
    EXPECT_EQ(kept->dequeueNextUnreadChild("extra")->name(), "extra");
    EXPECT_EQ(kept->getChild(1)->value(), "Ann");
}

// Each depth's text buffer is reused from one element to the next while the
// texts are copied into the tree: a long text followed by shorter ones, a
// text split by entities, an empty and a blank leaf must each come back
// exactly, and a value replaced on a parsed element must stand alone.
TEST(HCXmlTreeStorage, LeafTextsComeBackExactlyAndCanBeReplaced)
{
    const std::string longText(300, 'L');
    std::optional<std::string> taken;
    HCPointer<HCXmlElement> replaced;
    {
        auto document = HCXmlDocument::xmlDocumentWithData("<r><a>" + longText +
                                                           "</a><b>ab</b><c>x &amp; y &lt;z&gt;</c><d></d><e> </e>"
                                                           "<f><g>1</g></f></r>");
        auto r = document->getTopElement()->getChild(0);
        ASSERT_EQ(r->numChildren(), 6u);
        EXPECT_EQ(r->getChild(0)->value(), longText);
        EXPECT_EQ(r->getChild(1)->value(), "ab");
        EXPECT_EQ(r->getChild(2)->value(), "x & y <z>");
        EXPECT_EQ(r->getChild(3)->value(), std::nullopt);
        EXPECT_EQ(r->getChild(4)->value(), " ");
        EXPECT_EQ(r->getChild(5)->value(), std::nullopt);
        ASSERT_TRUE(r->getValueWithName("a", taken, true));
        replaced = r->getChild(1);
        replaced->setValue("replaced");
    }
    EXPECT_EQ(taken, longText);
    EXPECT_EQ(replaced->value(), "replaced");
}

}  // namespace
