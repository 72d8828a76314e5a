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
        out.emplace_back(p.name(), p.isBinary() ? "<" + p.dataType() + ">" : p.value());
    }
    return out;
}

// A score-like element with optional fields, as the batch upload writes them.
class Entry final : public HCSmartObject {
public:
    // No text is nullptr rather than std::nullopt: gcc's optimiser takes a
    // moved empty optional string for an uninitialised read.
    Entry(std::string board, long long score, const char* text)
        : board_(std::move(board)), score_(score), text_(text ? std::optional<std::string>(text) : std::nullopt)
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

TEST(HCHttpNestedQueryStringWriter, ScopesAndSeriesNestTheKeysInWriteOrder)
{
    HCHttpNestedQueryStringWriter w;
    w.io("discussion[subject]", "Hi");
    {
        HCISerializer::Scope scope(&w, "user");
        w.io("favorite", true);
        HCISerializer::Scope inner(&w, "meta");
        w.ioBlob("picture", {0x00, 0xFF}, "jpg");
    }
    {
        HCISerializer::Scope series(&w, "networks", true);
        w.io("ignored", "twitter");
    }
    {
        HCISerializer::Scope a(&w, "a");
        HCISerializer::Scope b(&w, "b", true);
        HCISerializer::Scope c(&w, "c");
        w.io("k", 2);
    }
    {
        HCISerializer::Scope a(&w, "a", true);
        HCISerializer::Scope b(&w, "b", true);
        HCISerializer::Scope c(&w, "c");
        w.io("k", 4);
    }
    std::vector<HCPointer<Entry>> batch{std::make_shared<Entry>("7", 1234567890123LL, "1:23"), nullptr,
                                        std::make_shared<Entry>("8", -5, nullptr)};
    w.serialize("high_scores", "entry", batch);
    w.io("outside", 5u);
    EXPECT_EQ(pairsOf(w), (Pairs{{"discussion[subject]", "Hi"},
                                 {"user[favorite]", "1"},
                                 {"user[meta][picture]", "<jpg>"},
                                 {"networks[]", "twitter"},
                                 {"a[b][][k]", "2"},
                                 {"a[][][k]", "4"},
                                 {"high_scores[][leaderboard_id]", "7"},
                                 {"high_scores[][score]", "1234567890123"},
                                 {"high_scores[][display_text]", "1:23"},
                                 {"high_scores[][has_blob]", "0"},
                                 {"high_scores[][leaderboard_id]", "8"},
                                 {"high_scores[][score]", "-5"},
                                 {"high_scores[][has_blob]", "0"},
                                 {"outside", "5"}}));
    EXPECT_EQ(w.getQueryParametersAsURLRequestParameters()[2].blob(), (std::vector<uint8_t>{0x00, 0xFF}));
}

// Records the element count a serializer is told before a series.
class CountingSerializer final : public HCISerializer {
public:
    using HCISerializer::io;
    void io(const char*, const std::string&) override {}
    void io(const char*, long long) override {}
    void io(const char*, bool) override {}
    void io(const char*, unsigned) override {}
    void io(const char*, int) override {}
    void io(const char*, double) override {}
    std::vector<unsigned> counts;

protected:
    void serializeNumElementsInScopeSeries(unsigned count) override { counts.push_back(count); }
};

TEST(HCISerializer, SerializeCountsOnlyTheElementsItWillWrite)
{
    CountingSerializer s;
    s.serialize("high_scores", "entry", std::vector<HCPointer<Entry>>{nullptr, std::make_shared<Entry>("1", 2, "t")});
    s.serialize("list", "item", std::vector<HCPointer<Entry>>{});
    EXPECT_EQ(s.counts, (std::vector<unsigned>{1, 0}));
}

TEST(HCHttpNestedQueryStringWriter, ValuesKeepTheirWireFormAndNilWritesNothing)
{
    HCHttpNestedQueryStringWriter w;
    w.io("intMin", std::numeric_limits<int>::min());
    w.io("unsigned", 4000000000u);
    w.io("int64", static_cast<int64_t>(std::numeric_limits<int64_t>::max()));
    w.io("no", false);
    w.io("text", std::string("a&b=c d\xC3\xA9"));
    w.io("nil", std::optional<std::string>());
    w.io("null", static_cast<const char*>(nullptr));
    w.io("empty", std::optional<std::string>(""));
    EXPECT_EQ(pairsOf(w), (Pairs{{"intMin", "-2147483648"},
                                 {"unsigned", "4000000000"},
                                 {"int64", "9223372036854775807"},
                                 {"no", "0"},
                                 {"text", "a&b=c d\xC3\xA9"},
                                 {"empty", ""}}));
    for (double v : {0.0, -0.0, 1.0 / 3.0, 2.0000005, 123456.7890125, -0.1278, 1e-7, 1e300}) {
        HCHttpNestedQueryStringWriter d;
        d.io("v", v);
        char expected[512];
        std::snprintf(expected, sizeof expected, "%f", v);
        EXPECT_EQ(d.getQueryParametersAsURLRequestParameters().at(0).value(), expected) << v;
    }
}

TEST(HCHttpNestedQueryStringWriter, NumbersIgnoreACommaDecimalLocale)
{
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    bool switched = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            switched = true;
            break;
        }
    }
    if (!switched) GTEST_SKIP() << "no locale with a comma decimal separator is installed";
    HCHttpNestedQueryStringWriter w;
    w.io("lat", 51.5074);
    w.io("big", 1234567890123LL);
    const Pairs written = pairsOf(w);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(written, (Pairs{{"lat", "51.507400"}, {"big", "1234567890123"}}));
}

}  // namespace
