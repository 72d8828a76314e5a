#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "kernel/io/HCHttpNestedQueryStringWriter.h"

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs pairsOf(const HCHttpNestedQueryStringWriter& writer)
{
    Pairs out;
    for (const URLRequestParameter& p : writer.getQueryParametersAsURLRequestParameters()) {
        EXPECT_FALSE(p.isBinary());
        out.emplace_back(p.name(), p.value());
    }
    return out;
}

// A score-like element with optional fields, as the batch upload writes them.
class Entry final : public HCSmartObject {
public:
    Entry(std::string board, long long score, std::optional<std::string> text)
        : board_(std::move(board)), score_(score), text_(std::move(text))
    {
    }
    void serialize(HCISerializer* s)
    {
        s->io("leaderboard_id", board_);
        s->io("score", score_);
        s->io("display_text", text_);
        s->io("has_blob", false);
    }

private:
    std::string board_;
    long long score_;
    std::optional<std::string> text_;
};

TEST(HCHttpNestedQueryStringWriter, KeysOutsideAnyScopeAreUsedAsGiven)
{
    HCHttpNestedQueryStringWriter w;
    w.io("page", 2);
    w.io("discussion[subject]", "Hi");
    w.io("networks[]", std::string("twitter"));
    EXPECT_EQ(pairsOf(w), (Pairs{{"page", "2"}, {"discussion[subject]", "Hi"}, {"networks[]", "twitter"}}));
}

TEST(HCHttpNestedQueryStringWriter, PlainScopesWrapTheKey)
{
    HCHttpNestedQueryStringWriter w;
    {
        HCISerializer::Scope scope(&w, "client_application_user");
        w.io("review", "Great");
        w.io("favorite", true);
        {
            HCISerializer::Scope inner(&w, "meta");
            w.io("k", 1);
        }
        w.io("after", 0);
    }
    w.io("outside", 5u);
    EXPECT_EQ(pairsOf(w), (Pairs{{"client_application_user[review]", "Great"},
                                 {"client_application_user[favorite]", "1"},
                                 {"client_application_user[meta][k]", "1"},
                                 {"client_application_user[after]", "0"},
                                 {"outside", "5"}}));
}

TEST(HCHttpNestedQueryStringWriter, SeriesScopesUseEmptyBrackets)
{
    HCHttpNestedQueryStringWriter w;
    {
        // A value straight inside a series.
        HCISerializer::Scope series(&w, "networks", true);
        w.io("ignored", "twitter");
    }
    {
        // scope > series > value: "a[b][]"
        HCISerializer::Scope a(&w, "a");
        HCISerializer::Scope b(&w, "b", true);
        w.io("k", 1);
    }
    {
        // scope > series > scope > value: "a[b][][k]"
        HCISerializer::Scope a(&w, "a");
        HCISerializer::Scope b(&w, "b", true);
        HCISerializer::Scope c(&w, "c");
        w.io("k", 2);
    }
    {
        // series > scope > scope > value: "a[][c][k]"
        HCISerializer::Scope a(&w, "a", true);
        HCISerializer::Scope b(&w, "b");
        HCISerializer::Scope c(&w, "c");
        w.io("k", 3);
    }
    {
        // series > series > scope > value: "a[][][k]"
        HCISerializer::Scope a(&w, "a", true);
        HCISerializer::Scope b(&w, "b", true);
        HCISerializer::Scope c(&w, "c");
        w.io("k", 4);
    }
    EXPECT_EQ(pairsOf(w), (Pairs{{"networks[]", "twitter"},
                                 {"a[b][]", "1"},
                                 {"a[b][][k]", "2"},
                                 {"a[][c][k]", "3"},
                                 {"a[][][k]", "4"}}));
}

TEST(HCHttpNestedQueryStringWriter, SerializeWritesEachElementInsideTheSeries)
{
    HCHttpNestedQueryStringWriter w;
    std::vector<HCPointer<Entry>> batch{std::make_shared<Entry>("7", 1234567890123LL, "1:23"), nullptr,
                                        std::make_shared<Entry>("8", -5, std::nullopt)};
    w.serialize("high_scores", "entry", batch);
    w.io("lat", 1.5);
    EXPECT_EQ(pairsOf(w), (Pairs{{"high_scores[][leaderboard_id]", "7"},
                                 {"high_scores[][score]", "1234567890123"},
                                 {"high_scores[][display_text]", "1:23"},
                                 {"high_scores[][has_blob]", "0"},
                                 {"high_scores[][leaderboard_id]", "8"},
                                 {"high_scores[][score]", "-5"},
                                 {"high_scores[][has_blob]", "0"},
                                 {"lat", "1.500000"}}));
}

// Records what a serializer is told, to check the count and the scopes.
class RecordingSerializer final : public HCISerializer {
public:
    using HCISerializer::io;
    void io(const char* name, const std::string& v) override { record(name, v); }
    void io(const char* name, long long v) override { record(name, std::to_string(v)); }
    void io(const char* name, bool v) override { record(name, v ? "true" : "false"); }
    void io(const char* name, unsigned v) override { record(name, std::to_string(v)); }
    void io(const char* name, int v) override { record(name, std::to_string(v)); }
    void io(const char* name, double v) override { record(name, std::to_string(v)); }
    std::vector<std::string> log;

protected:
    void serializeNumElementsInScopeSeries(unsigned count) override
    {
        log.push_back(path() + " count=" + std::to_string(count));
    }

private:
    std::string path() const
    {
        std::string p;
        for (const ScopeEntry& s : scopes()) {
            p += "/" + s.name + (s.isSeries ? "*" : "");
        }
        return p;
    }
    void record(const char* name, const std::string& v) { log.push_back(path() + "/" + name + "=" + v); }
};

TEST(HCISerializer, SerializeCountsNonNullElementsBeforeWritingThem)
{
    RecordingSerializer s;
    std::vector<HCPointer<Entry>> batch{nullptr, std::make_shared<Entry>("1", 2, "t")};
    s.serialize("high_scores", "entry", batch);
    s.io("after", 1);
    EXPECT_EQ(s.log, (std::vector<std::string>{"/high_scores* count=1", "/high_scores*/entry/leaderboard_id=1",
                                               "/high_scores*/entry/score=2", "/high_scores*/entry/display_text=t",
                                               "/high_scores*/entry/has_blob=false", "/after=1"}));
    RecordingSerializer empty;
    empty.serialize("list", "item", std::vector<HCPointer<Entry>>{});
    EXPECT_EQ(empty.log, (std::vector<std::string>{"/list* count=0"}));
}

TEST(HCHttpNestedQueryStringWriter, ValueFormats)
{
    HCHttpNestedQueryStringWriter w;
    w.io("int", -42);
    w.io("intMin", std::numeric_limits<int>::min());
    w.io("unsigned", 4000000000u);
    w.io("longlong", -9000000000LL);
    w.io("int64", static_cast<int64_t>(std::numeric_limits<int64_t>::max()));
    w.io("yes", true);
    w.io("no", false);
    w.io("double", 2.5);
    w.io("text", std::string("a&b=c d\xC3\xA9"));
    w.io("empty", std::string());
    EXPECT_EQ(pairsOf(w), (Pairs{{"int", "-42"},
                                 {"intMin", "-2147483648"},
                                 {"unsigned", "4000000000"},
                                 {"longlong", "-9000000000"},
                                 {"int64", "9223372036854775807"},
                                 {"yes", "1"},
                                 {"no", "0"},
                                 {"double", "2.500000"},
                                 {"text", "a&b=c d\xC3\xA9"},
                                 {"empty", ""}}));
}

TEST(HCHttpNestedQueryStringWriter, DoublesMatchPrintfInTheCLocale)
{
    const double values[] = {0.0, -0.0, 1.0 / 3.0, 2.0000005, 2.0000015, 123456.7890125, -98.7654321, 1e-7,
                             5e-7, 4.35, 51.5074, -0.1278, 1e300};
    for (double v : values) {
        HCHttpNestedQueryStringWriter w;
        w.io("v", v);
        char expected[512];
        std::snprintf(expected, sizeof expected, "%f", v);
        EXPECT_EQ(w.getQueryParametersAsURLRequestParameters().at(0).value(), expected) << v;
    }
}

TEST(HCHttpNestedQueryStringWriter, NilTextsWriteNothing)
{
    HCHttpNestedQueryStringWriter w;
    w.io("a", std::optional<std::string>());
    w.io("b", static_cast<const char*>(nullptr));
    w.io("c", std::optional<std::string>(""));
    EXPECT_EQ(pairsOf(w), (Pairs{{"c", ""}}));
}

TEST(HCHttpNestedQueryStringWriter, BinaryParametersKeepBytesAndType)
{
    HCHttpNestedQueryStringWriter w;
    w.io("key", "slot1");
    {
        HCISerializer::Scope scope(&w, "user");
        w.ioBlob("picture", {0x00, 0xFF, 0x10}, "jpg");
    }
    const auto params = w.getQueryParametersAsURLRequestParameters();
    ASSERT_EQ(params.size(), 2u);
    EXPECT_EQ(params[0], URLRequestParameter("key", "slot1"));
    EXPECT_TRUE(params[1].isBinary());
    EXPECT_EQ(params[1].name(), "user[picture]");
    EXPECT_EQ(params[1].blob(), (std::vector<uint8_t>{0x00, 0xFF, 0x10}));
    EXPECT_EQ(params[1].dataType(), "jpg");
}

// Restores the numeric locale whatever the test does.
class NumericLocaleGuard {
public:
    NumericLocaleGuard() : saved_(std::setlocale(LC_NUMERIC, nullptr)) {}
    ~NumericLocaleGuard() { std::setlocale(LC_NUMERIC, saved_.c_str()); }

private:
    std::string saved_;
};

TEST(HCHttpNestedQueryStringWriter, NumbersIgnoreACommaDecimalLocale)
{
    NumericLocaleGuard guard;
    const char* candidates[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE", "fr_FR",
                                "nl_NL.UTF-8", "ru_RU.UTF-8"};
    bool switched = false;
    for (const char* name : candidates) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            switched = true;
            break;
        }
    }
    if (!switched) {
        GTEST_SKIP() << "no locale with a comma decimal separator is installed";
    }
    char probe[32];
    std::snprintf(probe, sizeof probe, "%f", 1.5);
    ASSERT_STREQ(probe, "1,500000") << "the locale really uses a comma";

    HCHttpNestedQueryStringWriter w;
    w.io("lat", 51.5074);
    w.io("percent", 100.0);
    w.io("n", 1234567);
    w.io("big", 1234567890123LL);
    EXPECT_EQ(pairsOf(w), (Pairs{{"lat", "51.507400"}, {"percent", "100.000000"}, {"n", "1234567"},
                                 {"big", "1234567890123"}}));
}

}  // namespace
