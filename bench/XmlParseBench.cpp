// Both sides: parse one 1 MB reply (HCXmlDocument | expat tokenising alone | expat, one heap node per element).
//
// All sides parse the same reply of about 1 MB shaped like the service's
// sectioned high-score lists: HCXmlDocument's element tree against expat
// tokenising alone (empty handlers: the floor) and against expat building one
// heap node (name, text, children) per element (the smallest honest tree).
#include <benchmark/benchmark.h>
#include <expat.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "BenchCommandLine.h"
#include "RatioReporter.h"
#include "kernel/xml/HCXmlDocument.h"

namespace {

std::string makeReply(size_t targetBytes)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<resource_sections>\n";
    int section = 0;
    int id = 100000;
    while (xml.size() < targetBytes) {
        xml += "  <resource_section>\n    <name>Section " + std::to_string(section) +
               "</name>\n    <identifier>section_" + std::to_string(section) +
               "</identifier>\n    <resources>\n      <pagination_header>\n"
               "        <current_offset>0</current_offset>\n        <current_page>1</current_page>\n"
               "        <total_pages>4</total_pages>\n        <per_page>25</per_page>\n"
               "        <total_entries>100</total_entries>\n      </pagination_header>\n";
        for (int i = 0; i < 25; ++i, ++id) {
            xml += "      <high_score>\n        <id>" + std::to_string(id) + "</id>\n        <score>" +
                   std::to_string(1000000 - id) + "</score>\n        <rank>" + std::to_string(i + 1) +
                   "</rank>\n        <display_text>" + std::to_string(1000000 - id) +
                   " points &amp; 3 stars</display_text>\n        <leaderboard_id>4711</leaderboard_id>\n"
                   "        <created_at>2010-06-15T12:30:05Z</created_at>\n"
                   "        <latitude>51.507400</latitude>\n        <longitude>-0.127800</longitude>\n"
                   "        <has_blob>false</has_blob>\n        <user>\n          <id>" +
                   std::to_string(id * 7) + "</id>\n          <name>Player " + std::to_string(id) +
                   "</name>\n          <profile_picture_url>https://images.halcyon.example/u/" +
                   std::to_string(id) + ".png</profile_picture_url>\n          <online>true</online>\n"
                   "        </user>\n      </high_score>\n";
        }
        xml += "    </resources>\n  </resource_section>\n";
        ++section;
    }
    xml += "</resource_sections>\n";
    return xml;
}

const std::string& reply()
{
    static const std::string xml = makeReply(1u << 20);
    return xml;
}

void XMLCALL ignoreStart(void*, const XML_Char*, const XML_Char**) {}
void XMLCALL ignoreEnd(void*, const XML_Char*) {}
void XMLCALL ignoreText(void*, const XML_Char*, int) {}

void BM_ExpatTokenizeOnly(benchmark::State& state)
{
    const std::string& xml = reply();
    for (auto _ : state) {
        XML_Parser parser = XML_ParserCreate(nullptr);
        XML_SetElementHandler(parser, ignoreStart, ignoreEnd);
        XML_SetCharacterDataHandler(parser, ignoreText);
        const bool ok = XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), XML_TRUE) == XML_STATUS_OK;
        XML_ParserFree(parser);
        benchmark::DoNotOptimize(ok);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * xml.size()));
}
BENCHMARK(BM_ExpatTokenizeOnly)->Unit(benchmark::kMillisecond);

// One heap node per element: its name, its text and its children in order.
struct HeapNode {
    std::string name;
    std::string text;
    std::vector<std::unique_ptr<HeapNode>> children;
};

struct HeapTreeBuilder {
    std::unique_ptr<HeapNode> root;
    std::vector<HeapNode*> open;
};

void XMLCALL heapStart(void* userData, const XML_Char* name, const XML_Char**)
{
    auto& builder = *static_cast<HeapTreeBuilder*>(userData);
    auto node = std::make_unique<HeapNode>();
    node->name = name;
    HeapNode* raw = node.get();
    if (builder.open.empty())
        builder.root = std::move(node);
    else
        builder.open.back()->children.push_back(std::move(node));
    builder.open.push_back(raw);
}

void XMLCALL heapEnd(void* userData, const XML_Char*)
{
    static_cast<HeapTreeBuilder*>(userData)->open.pop_back();
}

void XMLCALL heapText(void* userData, const XML_Char* text, int length)
{
    auto& builder = *static_cast<HeapTreeBuilder*>(userData);
    if (!builder.open.empty()) builder.open.back()->text.append(text, static_cast<size_t>(length));
}

void BM_ExpatHeapTree(benchmark::State& state)
{
    const std::string& xml = reply();
    for (auto _ : state) {
        HeapTreeBuilder builder;
        XML_Parser parser = XML_ParserCreate(nullptr);
        XML_SetUserData(parser, &builder);
        XML_SetElementHandler(parser, heapStart, heapEnd);
        XML_SetCharacterDataHandler(parser, heapText);
        const bool ok = XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), XML_TRUE) == XML_STATUS_OK;
        XML_ParserFree(parser);
        if (!ok || !builder.root) state.SkipWithError("expat did not build the tree");
        benchmark::DoNotOptimize(builder.root.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * xml.size()));
}
BENCHMARK(BM_ExpatHeapTree)->Unit(benchmark::kMillisecond);

void BM_HCXmlDocumentTree(benchmark::State& state)
{
    const std::string& xml = reply();
    for (auto _ : state) {
        auto document = HCXmlDocument::xmlDocumentWithData(xml);
        benchmark::DoNotOptimize(document.get());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * xml.size()));
}
BENCHMARK(BM_HCXmlDocumentTree)->Unit(benchmark::kMillisecond);


}  // namespace

int main(int argc, char** argv)
{
    if (auto status = checkBenchCommandLine(argc, argv)) return *status;
    const std::string what = "reply of " + std::to_string(reply().size()) + " bytes: HCXmlDocument / ";
    RatioReporter reporter({{"BM_HCXmlDocumentTree", "BM_ExpatTokenizeOnly", what + "expat tokenise-only"},
                            {"BM_HCXmlDocumentTree", "BM_ExpatHeapTree", what + "expat heap node per element"}});
    return runBenchmarksWithRatio(argc, argv, reporter);
}
