#pragma once
// The web page of one discovery news item, titled "News".
//
// Thread: main thread.
#include <memory>

#include "dashboard/HCWebViewController.h"
#include "social/discovery/HCGameDiscoveryNewsItem.h"

class HCGameDiscoveryNewsItemController : public HCWebViewController {
public:
    const std::shared_ptr<HCGameDiscoveryNewsItem>& newsItem() const { return newsItem_; }
    void setNewsItem(std::shared_ptr<HCGameDiscoveryNewsItem> item) { newsItem_ = std::move(item); }

    std::string getAction() override;
    std::string getTitle() override { return "News"; }
    std::string kindName() const override { return "HCGameDiscoveryNewsItemController"; }

private:
    std::shared_ptr<HCGameDiscoveryNewsItem> newsItem_;
};
