// Both sides: read one 1 MB reply (tree then resources | the tree alone).
//
// What reading a reply into resources costs over building its element tree:
// HCResource::resourcesFromXml (tree, then a resource per element through
// the class registry and the data maps) against HCXmlDocument alone, on a
// list of about 1 MB shaped like the service's high-score pages.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchCommandLine.h"
#include "RatioReporter.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResource.h"
#include "core/resources/HCResourceClass.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "kernel/xml/HCXmlDocument.h"
#include "platform/foundation/TextConversions.h"

class BenchUser final : public HCResource {
public:
    std::string getResourceName() const override { return "user"; }
    const HCResourceDataMap& getDataMap() const override
    {
        static const auto map = [] {
            auto m = std::make_shared<HCResourceDataMap>();
            m->addField("name", &BenchUser::setName);
            m->addField("profile_picture_url", &BenchUser::setPictureUrl);
            m->addField("online", &BenchUser::setOnline);
            return m;
        }();
        return *map;
    }
    void setName(const std::string& value) { name = value; }
    void setPictureUrl(const std::string& value) { pictureUrl = value; }
    void setOnline(const std::string& value) { online = value == "true"; }

    std::string name;
    std::string pictureUrl;
    bool online = false;
};

class BenchHighScore final : public HCResource {
public:
    std::string getResourceName() const override { return "high_score"; }
    const HCResourceDataMap& getDataMap() const override
    {
        static const auto map = [] {
            auto m = std::make_shared<HCResourceDataMap>();
            m->addField("score", &BenchHighScore::setScore);
            m->addField("rank", &BenchHighScore::setRank);
            m->addField("display_text", &BenchHighScore::setDisplayText);
            m->addField("leaderboard_id", &BenchHighScore::setLeaderboardId);
            m->addField("created_at", &BenchHighScore::setCreatedAt);
            m->addNestedResourceField("user", &BenchHighScore::setUser);
            return m;
        }();
        return *map;
    }
    void setScore(const std::string& value) { score = platform::longLongValue(value); }
    void setRank(const std::string& value) { rank = platform::intValue(value); }
    void setDisplayText(const std::string& value) { displayText = value; }
    void setLeaderboardId(const std::string& value) { leaderboardId = value; }
    void setCreatedAt(const std::string& value) { createdAt = value; }
    void setUser(std::shared_ptr<BenchUser> value) { user = std::move(value); }

    long long score = 0;
    int rank = 0;
    std::string displayText;
    std::string leaderboardId;
    std::string createdAt;
    std::shared_ptr<BenchUser> user;
};

namespace {

std::string makeReply(size_t targetBytes)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><resources><pagination_header>"
                      "<current_offset>0</current_offset><current_page>1</current_page><total_pages>1</total_pages>"
                      "<per_page>25</per_page><total_entries>25</total_entries></pagination_header>";
    int id = 100000;
    while (xml.size() < targetBytes) {
        const std::string n = std::to_string(id);
        xml += "<high_score><id>" + n + "</id><score>" + std::to_string(2000000 - id) + "</score><rank>" +
               std::to_string(id - 99999) + "</rank><display_text>" + n +
               " points &amp; 3 stars</display_text><leaderboard_id>4711</leaderboard_id>"
               "<created_at>2010-06-15T12:30:05Z</created_at><user><id>" +
               std::to_string(id * 7) + "</id><name>Player " + n +
               "</name><profile_picture_url>https://images.halcyon.example/u/" + n +
               ".png</profile_picture_url><online>true</online></user></high_score>";
        ++id;
    }
    xml += "</resources>";
    return xml;
}

const std::string& reply()
{
    static const std::string xml = makeReply(1u << 20);
    return xml;
}

const HCResourceNameMap& nameMap()
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceNameMap>();
        HCAddKnownResource<BenchHighScore>(*m);
        return m;
    }();
    return *map;
}

void BM_HCXmlDocumentOnly(benchmark::State& state)
{
    const std::string& xml = reply();
    for (auto _ : state) {
        auto document = HCXmlDocument::xmlDocumentWithData(xml);
        benchmark::DoNotOptimize(document.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * xml.size()));
}
BENCHMARK(BM_HCXmlDocumentOnly)->Unit(benchmark::kMillisecond);

void BM_ResourcesFromXml(benchmark::State& state)
{
    const std::string& xml = reply();
    size_t count = 0;
    for (auto _ : state) {
        auto document = HCXmlDocument::xmlDocumentWithData(xml);
        auto series = HCResource::resourcesFromXml(*document, &nameMap());
        count = series->count();
        benchmark::DoNotOptimize(series.get());
    }
    state.counters["resources"] = static_cast<double>(count);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * xml.size()));
}
BENCHMARK(BM_ResourcesFromXml)->Unit(benchmark::kMillisecond);


}  // namespace

int main(int argc, char** argv)
{
    if (auto status = checkBenchCommandLine(argc, argv)) return *status;
    RatioReporter reporter("BM_ResourcesFromXml", "BM_HCXmlDocumentOnly",
                           "reply of " + std::to_string(reply().size()) + " bytes: resources / tree-only");
    return runBenchmarksWithRatio(argc, argv, reporter);
}
