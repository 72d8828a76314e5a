#include "uiframework/support/UiServerTest.h"

#include "client/HCClientHooks.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "kernel/settings/HCSettings.h"
#include "core/resources/HCResourceClass.h"
#include "platform/foundation/Sandbox.h"

namespace uitest {

const HCResourceDataMap& UiItem::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("name", &UiItem::setName);
        return m;
    }();
    return *map;
}

const HCResourceDataMap& UiNote::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("text", &UiNote::setText);
        return m;
    }();
    return *map;
}

void UiItemService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<UiItem>(map);
    HCAddKnownResource<UiNote>(map);
}

void UiItemService::getItems(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    HCHttpNestedQueryStringWriter params;
    params.io("page", page);
    getAction("ui_items.xml", &params, onSuccess, onFailure, 0, nullptr);
}

void UiServerTest::SetUp()
{
    ControllerTest::SetUp();
    platform::Sandbox::configure(sandbox.str());
    server = std::make_unique<localserver::Server>();
    auto count = itemCount;
    server->addRoute("GET", "ui_items.xml", localserver::Access::User, [count](const localserver::Request& request) {
        const long long asked = std::stoll(request.param("page").value_or("1"));
        const auto page = static_cast<std::uint32_t>(asked < 1 ? 1 : asked);
        const auto total = static_cast<std::uint32_t>(count->load());
        localserver::ResourceList list;
        list.header = localserver::paginate(total, page, UiItemService::kItemsPerPage);
        for (std::uint32_t i = (page - 1) * UiItemService::kItemsPerPage;
             i < total && i < page * UiItemService::kItemsPerPage; ++i) {
            list.resources.push_back(
                localserver::resourceNode("ui_item", std::to_string(i + 1), {{"name", "Item " + std::to_string(i + 1)}}));
        }
        list.tableMetaData = std::vector<localserver::XmlNode>{
            localserver::resourceNode("ui_note", std::nullopt, {{"text", "page " + std::to_string(page)}})};
        return localserver::Reply::xml(localserver::writeFlatReply(list));
    });
    auto formReply = [](const localserver::Request& request) {
        const auto name = request.param("item[name]").value_or("");
        if (name == "taken") return localserver::Reply::text(422, "  That name is taken\n");
        if (name == "format") return localserver::Reply::text(500, "%s%n%@ 100%");
        if (name == "long") {
            std::string text;
            for (int i = 0; i < 700; ++i) text += "\xC3\xA9";
            return localserver::Reply::text(422, text);
        }
        localserver::ResourceList list;
        list.resources.push_back(
            localserver::resourceNode("ui_item", "99", {{"name", request.param("item[name]").value_or("")}}));
        auto reply = localserver::Reply::xml(localserver::writeFlatReply(list));
        reply.status = 201;
        return reply;
    };
    server->addRoute("POST", "ui_forms.xml", localserver::Access::User, formReply);
    server->addRoute("GET", "ui_open_forms.xml", localserver::Access::Open, formReply);
    ASSERT_TRUE(server->start()) << server->error();
    HCSettings::setDefaultOverride("server-url", server->serviceRootUrl());
    HCSettings::Initialize();
    HCProvider::setHooks({});
    provider = HCProvider::providerWithProductKey(localserver::defaults::kProductKey,
                                                  localserver::defaults::kProductSecret);
    provider->setAccessToken(localserver::defaults::kUserToken, localserver::defaults::kUserTokenSecret);
    HCService::setProvider(provider);
    service = HCService::create<UiItemService>();
}

void UiServerTest::TearDown()
{
    HCService::setProvider(nullptr);
    if (provider) provider->cleanupRequestThread();
    provider = nullptr;
    server->stop();
    testsupport::drainMain();
    ControllerTest::TearDown();
    HCClientHooks::resetForTesting();
}

bool UiServerTest::waitUntil(const std::function<bool()>& done)
{
    return testsupport::runMainUntil(done);
}

size_t UiServerTest::requestsTo(const std::string& path)
{
    size_t n = 0;
    for (const auto& entry : server->log().entries())
        if (entry.request.path == path) ++n;
    return n;
}

void UiServerTest::waitForProviderIdle()
{
    ASSERT_TRUE(provider->waitUntilIdle(10.0));
    bool passed = false;
    // A finished request's reply takes one more turn of the request thread
    // after the provider went idle: the mark follows it there, then to main.
    auto thread = provider->requestThread();
    thread->runLoop()->post([&passed, thread] {
        thread->runLoop()->post([&passed] { platform::performOnMain([&passed] { passed = true; }); });
    });
    ASSERT_TRUE(waitUntil([&] { return passed; }));
    testsupport::drainMain();
}

}  // namespace uitest
