#pragma once
// The discovery index ("GameDiscovery"): the service's game categories,
// with a footer that points to the service's web site for more games,
// drawn as a grey band between two divider lines. Without categories, a
// failed load included, it says none were found and that this is probably
// an error.
//
// Thread: main thread.
#include "gamepages/discovery/HCPlayedGameController.h"

class HCGameDiscoveryController : public HCPlayedGameController {
public:
    static constexpr double kFooterHeight = 32;
    static constexpr const char* kFooterText = "Find more games at www.halcyon-games.example";
    static constexpr const char* kNoCategoriesText = "No game categories were found. This is probably an error.";

    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    std::string getNoDataFoundMessage() override { return kNoCategoriesText; }
    // The index always has categories: without any, whether the load failed
    // or came back empty, the same words fit.
    std::string getLoadFailedMessage() override { return kNoCategoriesText; }
    bool allowEditing() override { return false; }
    void viewWillAppear(bool animated) override;
    std::string kindName() const override { return "HCGameDiscoveryController"; }

protected:
    void _createAndDisplayTableHeader() override;
};
