#pragma once
// The page on which the player picks what to brag about
// ("SelectAchievementToShare"): a first row for all the running game's
// achievements at once, then one row per unlocked achievement, from the
// device (no request). A tap opens the social post page with a text the
// game's brag delegate may write, else the page's own.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCAchievement;

class HCSelectAchievementToShareController : public HCTableSequenceControllerHelper {
public:
    struct Counts {
        int total = 0;
        int unlocked = 0;
    };
    // The running game's achievements on the device; unlocked at exactly 100.
    static Counts countLocalAchievements();
    // The texts when the brag delegate gives none.
    static std::string bragText(const Counts& counts, const std::string& gameName);
    static std::string bragText(const HCAchievement& achievement, const std::string& gameName);

    HCSelectAchievementToShareController();

    int totalAchievementCount() const { return totalAchievementCount_; }
    int unlockedAchievementCount() const { return unlockedAchievementCount_; }

    std::shared_ptr<HCService> getService() override { return nullptr; }
    void populateResourceMap(HCResourceControllerMap& map) override;
    std::optional<std::string> getLeadingCellControllerNameForSection(int section) override;
    void configureCell(const platform::ui::TableViewCellPtr& cell, bool asLeading, bool asTrailing,
                       bool asOdd) override;
    void doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    std::string getNoDataFoundMessage() override;
    void onLeadingCellWasClickedForSection(int section) override;
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;

    std::string kindName() const override { return "HCSelectAchievementToShareController"; }

private:
    void pushComposer(const std::optional<std::string>& text, const std::optional<std::string>& originalMessage,
                      const std::string& imageId, const std::optional<std::string>& linkedUrl,
                      const std::optional<std::string>& imageUrl);

    int totalAchievementCount_ = 0;
    int unlockedAchievementCount_ = 0;
};
