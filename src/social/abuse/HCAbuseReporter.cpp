#include "social/abuse/HCAbuseReporter.h"

#include <set>

#include "core/halcyon/Halcyon.h"
#include "core/services/HCService.h"
#include "core/services/HCServicePath.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/foundation/OptionalText.h"
#include "platform/runtime/ThreadChecker.h"
#include "transport/provider/HCActionRequest.h"
#include "uiframework/HCViewController.h"

namespace {

constexpr const char* kAbuseTypes[] = {"chat", "forum"};

// Flags are posted like any service call; their reply carries nothing read.
class HCAbuseFlagService final : public HCService {
public:
    void populateKnownResources(HCResourceNameMap&) override {}
};

std::set<std::shared_ptr<HCAbuseReporter>>& live()
{
    static std::set<std::shared_ptr<HCAbuseReporter>> reporters;
    return reporters;
}

}  // namespace

HCAbuseReporter::HCAbuseReporter(Text userId, int32_t abuseType, platform::ui::ViewControllerPtr page)
    : userId_(std::move(userId)), abuseType_(abuseType), viewController_(std::move(page))
{
}

void HCAbuseReporter::reportAbuseByUser(const Text& userId, const platform::ui::ViewControllerPtr& page)
{
    start(std::make_shared<HCAbuseReporter>(userId, 0, page));
}

void HCAbuseReporter::reportAbuseByUserForumThread(const Text& userId, const Text& threadId,
                                                   const platform::ui::ViewControllerPtr& page)
{
    auto reporter = std::make_shared<HCAbuseReporter>(userId, 1, page);
    reporter->flaggableId_ = threadId;
    reporter->flaggableType_ = "Discussion";
    start(reporter);
}

void HCAbuseReporter::reportAbuseByUserForumPost(const Text& userId, const Text& postId,
                                                 const platform::ui::ViewControllerPtr& page)
{
    auto reporter = std::make_shared<HCAbuseReporter>(userId, 1, page);
    reporter->flaggableId_ = postId;
    reporter->flaggableType_ = "Post";
    start(reporter);
}

std::size_t HCAbuseReporter::liveReporters()
{
    HC_CHECK_MAIN_THREAD();
    return live().size();
}

void HCAbuseReporter::start(std::shared_ptr<HCAbuseReporter> reporter)
{
    HC_CHECK_MAIN_THREAD();
    live().insert(reporter);
    reporter->report();
}

void HCAbuseReporter::report()
{
    if (!platform::hasText(userId_) || !viewController_) {
        _reportFinished();
        return;
    }
    auto sheet = platform::ui::ActionSheet::make(
        kConfirmTitle, std::static_pointer_cast<HCAbuseReporter>(shared_from_this()), std::string("Cancel"),
        std::string("Yes, Report"));
    const auto& rootView = Halcyon::dashboardHooks().rootView;
    platform::ui::ViewPtr view = rootView ? rootView() : nullptr;
    sheet->showInView(view ? view : viewController_->view());
}

void HCAbuseReporter::actionSheetWillDismissWithButtonIndex(platform::ui::ActionSheet& sheet, int buttonIndex)
{
    if (buttonIndex == sheet.destructiveButtonIndex()) {
        send();
    } else {
        _reportFinished();
    }
}

void HCAbuseReporter::send()
{
    reported_ = true;
    if (auto page = std::dynamic_pointer_cast<HCViewController>(viewController_)) page->showLoadingScreen();
    auto path = HCServicePath::format("users/%@/abuse_flags.xml", {userId_});
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("abuse_flag[abuse_type]", std::string(kAbuseTypes[abuseType_ == 1 ? 1 : 0]));
    if (platform::hasText(flaggableId_) && platform::hasText(flaggableType_)) {
        parameters.io("abuse_flag[flaggable_id]", *flaggableId_);
        parameters.io("abuse_flag[flaggable_type]", *flaggableType_);
    }
    auto self = std::static_pointer_cast<HCAbuseReporter>(shared_from_this());
    auto sender = HCService::create<HCAbuseFlagService>();
    auto handle = path ? sender->postAction(*path, &parameters,
                                            HCDelegate::withFunction([self](const auto &) { self->_reportSuccess(); }),
                                            HCDelegate::withFunction([self](const auto &) { self->_reportFailed(); }),
                                            HCActionRequest::kSilent, nullptr)
                       : nullptr;
    // Nothing was sent (no provider, no path): no answer will ever come.
    if (!handle) _reportFailed();
}

void HCAbuseReporter::_reportSuccess()
{
    _reportFinished();
}

// A report is the player's word against another's: whether it reached the
// service is not theirs to act on, so a failure ends as quietly as a success.
void HCAbuseReporter::_reportFailed()
{
    _reportFinished();
}

void HCAbuseReporter::_reportFinished()
{
    HC_CHECK_MAIN_THREAD();
    if (reported_) {
        if (auto page = std::dynamic_pointer_cast<HCViewController>(viewController_)) page->hideLoadingScreen();
    }
    // The last owner may be this set: keep the object until the call returns.
    auto self = std::static_pointer_cast<HCAbuseReporter>(shared_from_this());
    live().erase(self);
}
