// What a message box tells of a text that went unanswered: its head, on one
// line, whatever the player pasted.
#include <gtest/gtest.h>

#include <string>

#include "uiframework/form/HCTextsInFlight.h"

namespace {

std::string toldOf(const std::string& text)
{
    HCTextsInFlight texts;
    texts.sent(7, text);
    return texts.notSentMessage(7);
}

TEST(TextsInFlightTest, AnUnansweredTextIsQuotedByItsFirstFortyCharactersOnOneLine)
{
    const std::string forty(40, 'a');
    EXPECT_EQ(toldOf(forty), "Your message \"" + forty + "\" was not sent.");
    EXPECT_EQ(toldOf(forty + "b"), "Your message \"" + forty + "\xE2\x80\xA6\" was not sent.");
    // The cut counts characters, not bytes, and never lands inside one.
    std::string accents;
    for (int i = 0; i < 41; ++i) accents += "\xC3\xA9";
    EXPECT_EQ(toldOf(accents), "Your message \"" + accents.substr(0, 80) + "\xE2\x80\xA6\" was not sent.");
    // Line ends, tabs, controls and blank runs fold into one blank; direction
    // marks go; a byte that is no UTF-8 shows as the replacement character.
    EXPECT_EQ(toldOf("\n gg\r\n\t\x01  wp\xE2\x80\xAE!\xFF \x7F"),
              "Your message \"gg wp!\xEF\xBF\xBD\" was not sent.");
    // A blank that would only lead the cut is not shown before the ellipsis.
    EXPECT_EQ(toldOf(std::string(39, 'a') + " bc"), "Your message \"" + std::string(39, 'a') + "\xE2\x80\xA6\" was not sent.");
}

TEST(TextsInFlightTest, ATextThatShowsNothingOrIsNoLongerInFlightIsToldWithoutAQuote)
{
    EXPECT_EQ(toldOf("\x01\x02 \xE2\x80\x8F\t"), "Your message was not sent.");
    HCTextsInFlight texts;
    EXPECT_EQ(texts.notSentMessage(1), "Your message was not sent.");
    texts.sent(1, "gg");
    texts.sent(2, "rematch?");
    texts.delivered(1);
    EXPECT_EQ(texts.notSentMessage(1), "Your message was not sent.");
    EXPECT_EQ(texts.refused(2, ""), "rematch?");
    EXPECT_EQ(texts.notSentMessage(2), "Your message was not sent.") << "back in the field, it is no longer on its way";
}

}  // namespace
