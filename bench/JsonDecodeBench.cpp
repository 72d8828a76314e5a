// Both sides: parse one 200 KB reply (decodeJson | yajl_tree_parse | yajl with empty callbacks, the floor).
//
// All sides parse the same ~200 KB reply: decodeJson (platform values and
// class-tagged objects) against yajl_tree_parse (yajl's own value tree) and
// against yajl's parser with callbacks that only accept each token (the parse
// floor, nothing built).
#include <benchmark/benchmark.h>
#include <yajl/yajl_parse.h>
#include <yajl/yajl_tree.h>

#include <cstdio>
#include <string>

#include "BenchCommandLine.h"
#include "RatioReporter.h"
#include "kernel/json/HCJsonCoder.h"
#include "platform/foundation/Values.h"

namespace {

// A score as a reply carries it: the class-tagged objects of a list page.
class BenchScore final : public platform::Object, public HCJsonCoding {
public:
    static std::string classNameForJsonCoding() { return "bench_score"; }
    static void registerJsonValueTypesForDecoding(HCJsonValueMap& map)
    {
        map["id"] = HCJsonObjectValue::valueWithSelector(&BenchScore::setId);
        map["score"] = HCJsonObjectValue::valueWithSelector(&BenchScore::setScore);
        map["display_text"] = HCJsonObjectValue::valueWithSelector(&BenchScore::setDisplayText);
        map["user"] = HCJsonObjectValue::valueWithSelector(&BenchScore::setUser);
        map["verified"] = HCJsonBoolValue::valueWithSelector(&BenchScore::setVerified);
    }
    std::string jsonCodingName() const override { return classNameForJsonCoding(); }
    void encodeWithJsonCoder(HCJsonCoder&) const override {}

    void setId(std::shared_ptr<platform::String> v) { id = std::move(v); }
    void setScore(std::shared_ptr<platform::Number> v) { score = std::move(v); }
    void setDisplayText(std::shared_ptr<platform::String> v) { displayText = std::move(v); }
    void setUser(std::shared_ptr<platform::Dictionary> v) { user = std::move(v); }
    void setVerified(bool v) { verified = v; }

    std::shared_ptr<platform::String> id;
    std::shared_ptr<platform::Number> score;
    std::shared_ptr<platform::String> displayText;
    std::shared_ptr<platform::Dictionary> user;
    bool verified = false;
};
HCJsonCodingRegistration<BenchScore> sBenchScoreCoding("BenchScore");

const std::string& replyText()
{
    static const std::string text = [] {
        std::string out = R"({"page":{"current":1,"total":40,"per_page":25},"high_scores":[)";
        char entry[640];
        for (int i = 0; i < 570; ++i) {
            std::snprintf(entry, sizeof entry,
                          R"(%s{"bench_score":{"id":"%d","score":%d,"display_text":"%d pts \u2605","rank":%d,)"
                          R"("ratio":%d.%03d,"verified":%s,"user":{"id":"%d","name":"Player %d \"the %s\"",)"
                          R"("online":%s,"profile_picture_url":"https://images.example.com/users/%d/avatar.png",)"
                          R"("last_played_game":{"id":"%d","name":"Game %d"},"tags":["puzzle","arcade",%d,null]}}})",
                          i ? "," : "", 100000 + i, 987654 - i * 37, 987654 - i * 37, i + 1, i % 7, (i * 131) % 1000,
                          i % 3 ? "true" : "false", 5000 + i, i, i % 2 ? "bold" : "meek", i % 5 ? "true" : "false",
                          5000 + i, 77 + i % 9, i % 9, i);
            out += entry;
        }
        out += "]}";
        return out;
    }();
    return text;
}

void BM_DecodeJson(benchmark::State& state)
{
    const std::string& text = replyText();
    for (auto _ : state) {
        auto decoded = HCJsonCoder::decodeJson(text);
        if (!decoded) state.SkipWithError("the reply did not decode");
        benchmark::DoNotOptimize(decoded);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_DecodeJson);

void BM_YajlTreeParse(benchmark::State& state)
{
    const std::string& text = replyText();
    char error[256];
    for (auto _ : state) {
        yajl_val tree = yajl_tree_parse(text.c_str(), error, sizeof error);
        if (!tree) state.SkipWithError(error);
        benchmark::DoNotOptimize(tree);
        yajl_tree_free(tree);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_YajlTreeParse);

int acceptValue(void*)
{
    return 1;
}
int acceptBool(void*, int)
{
    return 1;
}
int acceptNumber(void*, const char*, size_t)
{
    return 1;
}
int acceptString(void*, const unsigned char*, size_t)
{
    return 1;
}

void BM_YajlEmptyCallbacks(benchmark::State& state)
{
    const std::string& text = replyText();
    // yajl_number takes every number as text, so integers and doubles are
    // not converted: the least a parse can do.
    static const yajl_callbacks callbacks = {acceptValue,  acceptBool,   nullptr,     nullptr,    acceptNumber,
                                             acceptString, acceptValue,  acceptString, acceptValue, acceptValue,
                                             acceptValue};
    for (auto _ : state) {
        yajl_handle parser = yajl_alloc(&callbacks, nullptr, nullptr);
        const bool ok = yajl_parse(parser, reinterpret_cast<const unsigned char*>(text.data()), text.size()) ==
                            yajl_status_ok &&
                        yajl_complete_parse(parser) == yajl_status_ok;
        yajl_free(parser);
        if (!ok) state.SkipWithError("yajl did not parse the reply");
        benchmark::DoNotOptimize(ok);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_YajlEmptyCallbacks);


}  // namespace

int main(int argc, char** argv)
{
    if (auto status = checkBenchCommandLine(argc, argv)) return *status;
    const std::string what = "document of " + std::to_string(replyText().size()) + " bytes: decodeJson / ";
    RatioReporter reporter({{"BM_DecodeJson", "BM_YajlTreeParse", what + "yajl_tree_parse"},
                            {"BM_DecodeJson", "BM_YajlEmptyCallbacks", what + "yajl empty callbacks (floor)"}});
    return runBenchmarksWithRatio(argc, argv, reporter);
}
