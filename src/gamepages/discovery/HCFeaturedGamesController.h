#pragma once
// The web page of the games the running game's developer features
// ("FeaturedGames"), asked for with the running game's id.
//
// Thread: main thread.
#include "dashboard/HCWebViewController.h"

class HCFeaturedGamesController : public HCWebViewController {
public:
    std::string getAction() override { return "featured_apps_by_dev.iphone"; }
    std::string getTitle() override { return "Featured Games"; }
    std::vector<std::pair<std::string, std::string>> getParameters() override;
    std::string kindName() const override { return "HCFeaturedGamesController"; }
};
