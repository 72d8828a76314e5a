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

std::string quoting(const std::string& quote) { return "Your message \"" + quote + "\" was not sent."; }

const std::string kEllipsis = "\xE2\x80\xA6";

TEST(TextsInFlightTest, TheQuoteCountsAndCutsCharactersAsThePlayerSeesThem)
{
    const std::string lead(39, 'a');
    for (const std::string fortieth : {
             "e\u0301",                                                   // a letter and its accent
             "\U0001F1EB\U0001F1F7",                                       // a flag
             "1\uFE0F\u20E3",                                              // a keycap
             "\U0001F468\u200D\U0001F469\u200D\U0001F467\u200D\U0001F466",  // a family
             "\U0001F44B\U0001F3FD",                                       // a skin-toned hand
             "\u0E17\u0E33",                                              // Thai's SARA AM on its consonant
             "\u0600\u0661",                                              // a number sign before its digit
             "\u1100\u1100\u1161",                                        // jamo spelling one syllable
         }) {
        EXPECT_EQ(toldOf(lead + fortieth + "bc"), quoting(lead + fortieth + kEllipsis));
        // Each counts as one: forty of them are quoted whole, with no cut.
        std::string forty;
        for (int i = 0; i < 40; ++i) forty += fortieth;
        EXPECT_EQ(toldOf(forty), quoting(forty));
    }
    // Flags pair two by two from the start of a run, never across a cut.
    EXPECT_EQ(toldOf(std::string(38, 'a') + "\U0001F1EB\U0001F1F7\U0001F1E9\U0001F1EA!"),
              quoting(std::string(38, 'a') + "\U0001F1EB\U0001F1F7\U0001F1E9\U0001F1EA" + kEllipsis));
    // The Arabic letter mark steers direction like the others and goes too.
    EXPECT_EQ(toldOf("gg \u061C\u0645\u0631\u062D\u0628\u0627\u061C wp"),
              quoting("gg \u0645\u0631\u062D\u0628\u0627 wp"));
}

TEST(TextsInFlightTest, AnEndlessRunOfMarksOrJoinersIsQuotedShortAndMarkedAsCut)
{
    std::string marks;
    std::string joiners;
    for (int i = 0; i < 10'000; ++i) marks += "\u0301", joiners += "\u200D";
    // A base and thirty marks are kept, or thirty-one marks with no base.
    EXPECT_EQ(toldOf(marks), quoting(marks.substr(0, 31 * 2) + kEllipsis));
    EXPECT_EQ(toldOf(joiners + "x"), quoting(joiners.substr(0, 31 * 3) + kEllipsis));
    EXPECT_EQ(toldOf("a" + marks + "b"), quoting("a" + marks.substr(0, 30 * 2) + kEllipsis));
    // Marks resting on a blank fold with it.
    EXPECT_EQ(toldOf("gg " + marks + " wp"), quoting("gg wp"));
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
