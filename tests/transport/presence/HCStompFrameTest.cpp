#include <gtest/gtest.h>

#include <time.h>

#include <algorithm>
#include <string>
#include <utility>

#include "transport/presence/HCStompFrame.h"

using Status = HCStompFrameReader::Status;

using namespace std::literals;

TEST(HCStompFrame, HeadersAreEscapedExceptInConnectAndTheBodyLengthIsAdded)
{
    HCStompFrame send{"SEND", {}, std::string("a\0b", 3)};
    send.add("destination", "/queue/a:b\\c\nd");
    EXPECT_EQ(send.encode(), std::string("SEND\ndestination:/queue/a\\cb\\\\c\\nd\ncontent-length:3\n\na\0b\0"sv));

    HCStompFrame connect{"CONNECT", {}, {}};
    connect.add("passcode", "p:w\\d");
    EXPECT_EQ(connect.encode(), std::string("CONNECT\npasscode:p:w\\d\n\n\0"sv));
}

TEST(HCStompFrame, ReadsFramesSplitAnywhereWithHeartBeatsBetween)
{
    HCStompFrame message{"MESSAGE", {}, std::string("<x/>\0tail", 9)};
    message.add("destination", "/queue/q\n1").add("subscription", "0");
    const std::string wire = "\n\r\n" + message.encode() + "\n" + HCStompFrame{"RECEIPT", {{"receipt-id", "7"}}, {}}.encode();

    HCStompFrameReader reader;
    std::vector<HCStompFrame> frames;
    for (char c : wire) {
        reader.append(std::string_view(&c, 1));
        HCStompFrame frame;
        while (reader.next(frame) == Status::Frame) frames.push_back(frame);
    }
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].command, "MESSAGE");
    EXPECT_EQ(frames[0].header("destination"), "/queue/q\n1");
    EXPECT_EQ(frames[0].body, std::string("<x/>\0tail", 9)) << "content-length carries NULs in the body";
    EXPECT_EQ(frames[1].header("receipt-id"), "7");
    EXPECT_EQ(reader.heartBeatsSeen(), 3u);
}

TEST(HCStompFrame, FirstRepeatedHeaderWinsAndCrLfLinesRead)
{
    HCStompFrameReader reader;
    reader.append(std::string("MESSAGE\r\nk:first\r\nk:second\r\n\r\nbody\0"sv));
    HCStompFrame frame;
    ASSERT_EQ(reader.next(frame), Status::Frame);
    EXPECT_EQ(frame.header("k"), "first");
    EXPECT_EQ(frame.body, "body");
}

TEST(HCStompFrame, BrokenStreamsAreMalformedForGood)
{
    const std::string cases[] = {
        std::string("message\n\n\0"sv),                           // not a command
        std::string("MESSAGE\nno-colon\n\n\0"sv),                 // header without ':'
        std::string("MESSAGE\nk:bad\\t\n\n\0"sv),                 // undefined escape
        std::string("MESSAGE\ncontent-length:x\n\n\0"sv),         // not a number
        std::string("MESSAGE\ncontent-length:2\n\nabc\0"sv),      // no NUL after the body
        std::string("CONNECTED\nversion:1.2\r\r\n\n\0"sv),        // a carriage return of its own
    };
    for (const auto& wire : cases) {
        HCStompFrameReader reader;
        reader.append(wire);
        HCStompFrame frame;
        EXPECT_EQ(reader.next(frame), Status::Malformed) << wire;
        reader.append(HCStompFrame{"RECEIPT", {}, {}}.encode());
        EXPECT_EQ(reader.next(frame), Status::Malformed) << "a broken stream stays broken";
    }
}

TEST(HCStompFrame, FramesPastTheLimitAreRefusedBeforeTheyAreWhole)
{
    {
        HCStompFrameReader reader(64);
        reader.append("MESSAGE\ncontent-length:65\n\n");
        HCStompFrame frame;
        EXPECT_EQ(reader.next(frame), Status::TooLarge) << "a declared length is refused at once";
    }
    {
        HCStompFrameReader reader(64);
        reader.append("MESSAGE\n\n" + std::string(60, 'x'));
        HCStompFrame frame;
        EXPECT_EQ(reader.next(frame), Status::TooLarge) << "an unterminated body is refused once past the limit";
    }
    {
        HCStompFrameReader reader(64);
        reader.append("MESSAGE\ncontent-length:99999999999999999999999\n\n");
        HCStompFrame frame;
        EXPECT_EQ(reader.next(frame), Status::TooLarge);
    }
    {
        HCStompFrameReader reader(64);
        std::string exact = "MESSAGE\n\n" + std::string(54, 'x') + '\0';
        ASSERT_EQ(exact.size(), 64u);
        reader.append(exact);
        HCStompFrame frame;
        EXPECT_EQ(reader.next(frame), Status::Frame) << "a frame of exactly the limit is read";
    }
}

namespace {

// This thread's CPU seconds to read one frame whose body of `bodyBytes` comes
// in pieces of `piece` bytes, asking for a frame after each; the least of
// three runs, so that a busy machine does not decide.
double secondsInPieces(std::size_t bodyBytes, std::size_t piece)
{
    const std::string wire = "MESSAGE\nsubscription:0\n\n" + std::string(bodyBytes, 'x') + '\0';
    double least = 1e9;
    for (int run = 0; run < 3; ++run) {
        timespec begin{}, end{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &begin);
        HCStompFrameReader reader(2 * wire.size());
        HCStompFrame frame;
        Status status = Status::NeedMore;
        for (std::size_t at = 0; at < wire.size(); at += piece) {
            reader.append(std::string_view(wire).substr(at, piece));
            status = reader.next(frame);
        }
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
        EXPECT_EQ(status, Status::Frame);
        EXPECT_EQ(frame.body.size(), bodyBytes);
        least = std::min(least, double(end.tv_sec - begin.tv_sec) + double(end.tv_nsec - begin.tv_nsec) / 1e9);
    }
    return least;
}

}  // namespace

// A reader that starts over on every piece costs the square of the bytes:
// four times the body would cost sixteen times as much.
TEST(HCStompFrame, AFrameInSmallPiecesCostsInProportionToItsBytes)
{
    for (auto [bytes, piece] : {std::pair<std::size_t, std::size_t>{128 << 10, 1}, {256 << 10, 16}}) {
        const double small = secondsInPieces(bytes, piece);
        const double large = secondsInPieces(4 * bytes, piece);
        EXPECT_LT(large, 8 * small) << bytes << " bytes in pieces of " << piece << ": " << small << " s, four times as "
                                    << "many: " << large << " s";
    }
}
