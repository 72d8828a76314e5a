#pragma once
// A leaderboard definition as it is synchronised into the local
// `leaderboards` table: from the bootstrap reply's "offline" block and from
// the offline configuration file (where a "leaderboard" element is read as
// this class), or from a row of that table. A reply also carries the
// player's own score on it ("score", "reached_at", "display_text",
// "custom_data"); a row leaves those unset.
//
// Thread: built on the thread that reads its reply or row, then used by one
// thread at a time; it has no lock.
#include <cstdint>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "platform/foundation/Date.h"

class HCSqlQuery;

class HCLeaderboard_Sync final : public HCResource {
public:
    using Text = std::optional<std::string>;

    // A definition from the current row of a `leaderboards` query.
    static std::shared_ptr<HCLeaderboard_Sync> initWithLocalSQL(const HCSqlQuery& row);

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "leaderboard"; }
    std::string getResourceDiscoveredNotification() const override { return "halcyon_leaderboard_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    const Text& name() const { return name_; }
    bool active() const { return active_; }
    bool allowPostingLowerScores() const { return allowPostingLowerScores_; }
    bool descendingSortOrder() const { return descendingSortOrder_.value_or(false); }
    // Nil when the reply had no sort order or its text was not a flag ("1",
    // "0", "true", "false"): the copy then keeps the order it knows.
    const std::optional<bool>& descendingSortOrderIfKnown() const { return descendingSortOrder_; }
    bool isAggregate() const { return isAggregate_; }
    // Nil when the reply had none or its text did not read as a date.
    const platform::DatePtr& reachedAt() const { return reachedAt_; }
    // 0 when the reply had none or its text was not a whole 64-bit number.
    int64_t score() const { return score_; }
    const Text& endVersion() const { return endVersion_; }
    const Text& startVersion() const { return startVersion_; }
    bool visible() const { return visible_; }
    const Text& displayText() const { return displayText_; }
    const Text& customData() const { return customData_; }

    // Data-map setters: the element texts.
    void setName(const Text& text) { name_ = text; }
    void setActive(const std::string& text);
    void setAllowPostingLowerScores(const std::string& text);
    void setDescendingSortOrder(const std::string& text);
    void setIsAggregate(const std::string& text);
    // "yyyy-MM-dd HH:mm:ss zzz"; a text of exactly 19 characters (no zone) is
    // read as GMT. Anything else that does not read leaves nil.
    void setReachedAt(const Text& text);
    void setScore(const std::string& text);
    void setEndVersion(const Text& text) { endVersion_ = text; }
    void setStartVersion(const Text& text) { startVersion_ = text; }
    void setVisible(const std::string& text);
    void setDisplayText(const Text& text) { displayText_ = text; }
    void setCustomData(const Text& text) { customData_ = text; }

private:
    Text name_;
    bool active_ = false;
    bool allowPostingLowerScores_ = false;
    std::optional<bool> descendingSortOrder_;
    bool isAggregate_ = false;
    platform::DatePtr reachedAt_;
    int64_t score_ = 0;
    Text endVersion_;
    Text startVersion_;
    bool visible_ = false;
    Text displayText_;
    Text customData_;
};
