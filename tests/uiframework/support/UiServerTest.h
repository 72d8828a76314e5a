#pragma once
// Table and form pages against the local server: the controller fixture
// (manual clock, driver, key window) plus a started server with two routes
// of the tests' own, a provider signed in as the server's first player,
// and a small service that reads the routes' items.
//
// "ui_items.xml" (GET, page=N) answers `itemCount` items "Item 1".."Item N"
// in pages of kItemsPerPage with a pagination header and one "ui_note"
// metadata element reading "page N". "ui_forms.xml" (POST, signed) and
// "ui_open_forms.xml" (GET, unsigned) answer 201 with an item of the name
// sent in "item[name]", but 422 "That name is taken" (with blanks around)
// for "taken", 500 "%s%n%@ 100%" for "format" and 422 with 700 "é" for "long".
#include <atomic>
#include <memory>
#include <string>

#include "core/resources/HCResource.h"
#include "core/services/HCService.h"
#include "localserver/Server.h"
#include "platform/ui/ControllerTestFixture.h"
#include "support/TestSupport.h"
#include "transport/provider/HCProvider.h"

namespace uitest {

class UiItem final : public HCResource {
public:
    std::string getResourceName() const override { return "ui_item"; }
    std::string getResourceDiscoveredNotification() const override { return "ui_item_discovered"; }
    const HCResourceDataMap& getDataMap() const override;
    void setName(const std::string& name) { name_ = name; }
    const std::string& name() const { return name_; }

private:
    std::string name_;
};

class UiNote final : public HCResource {
public:
    std::string getResourceName() const override { return "ui_note"; }
    std::string getResourceDiscoveredNotification() const override { return "ui_note_discovered"; }
    const HCResourceDataMap& getDataMap() const override;
    void setText(const std::string& text) { text_ = text; }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

class UiItemService final : public HCService {
public:
    static constexpr int kItemsPerPage = 10;
    void populateKnownResources(HCResourceNameMap& map) override;
    void getItems(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure);
};

class UiServerTest : public ControllerTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Pumps the main loop (bounded by wall time) until `done`.
    bool waitUntil(const std::function<bool()>& done);
    // How many requests reached the server on this path.
    size_t requestsTo(const std::string& path);
    // Waits until the provider has nothing running and what it delivered has run.
    void waitForProviderIdle();

    testsupport::TempDir sandbox;
    std::unique_ptr<localserver::Server> server;
    std::shared_ptr<HCProvider> provider;
    std::shared_ptr<UiItemService> service;
    std::shared_ptr<std::atomic<int>> itemCount = std::make_shared<std::atomic<int>>(25);
};

}  // namespace uitest
