#pragma once
// Flags a player, a forum thread or a forum post for abuse: the player
// confirms in an action sheet, then the flag is posted while the reporting
// page shows its loading screen.
//
// A reporter keeps itself alive from its start until it finishes: after a
// cancelled sheet, a refused start, a request that could not be sent, or
// the service's answer. Finishing takes the loading screen down; a report
// that failed ends as quietly as one that went through, with no alert.
//
// Thread: main.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "kernel/callbacks/HCCallbackable.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/ViewController.h"

class HCAbuseReporter final : public platform::Object,
                              public HCCallbackable,
                              public platform::ui::ActionSheetDelegate {
public:
    using Text = std::optional<std::string>;

    static constexpr const char* kConfirmTitle = "Are you sure you want to submit an abuse report?";

    // Chat: the player alone.
    static void reportAbuseByUser(const Text& userId, const platform::ui::ViewControllerPtr& page);
    static void reportAbuseByUserForumThread(const Text& userId, const Text& threadId,
                                             const platform::ui::ViewControllerPtr& page);
    static void reportAbuseByUserForumPost(const Text& userId, const Text& postId,
                                           const platform::ui::ViewControllerPtr& page);

    // 0 chat, 1 forum.
    HCAbuseReporter(Text userId, int32_t abuseType, platform::ui::ViewControllerPtr page);
    bool canReceiveCallbacksNow() const override { return true; }

    void actionSheetWillDismissWithButtonIndex(platform::ui::ActionSheet& sheet, int buttonIndex) override;

    // Reporters not yet finished.
    static std::size_t liveReporters();

private:
    static void start(std::shared_ptr<HCAbuseReporter> reporter);
    void report();
    void send();
    void _reportSuccess();
    void _reportFailed();
    void _reportFinished();

    Text userId_;
    int32_t abuseType_;
    Text flaggableId_;
    Text flaggableType_;
    platform::ui::ViewControllerPtr viewController_;
    bool reported_ = false;
};
