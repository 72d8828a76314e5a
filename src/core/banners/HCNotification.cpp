#include "core/banners/HCNotification.h"

#include "core/banners/HCAchievementNotificationView.h"
#include "core/banners/HCChallengeNotificationView.h"
#include "core/banners/HCNotificationDelegate.h"
#include "core/banners/HCNotificationHooks.h"
#include "core/banners/HCNotificationView.h"
#include "core/banners/HCServerNotificationView.h"
#include "core/halcyon/Halcyon.h"
#include "core/notifications/HCServerNotification.h"
#include "platform/foundation/Values.h"
#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

namespace {

// At once on the main thread; else posted there behind earlier calls.
void onMain(std::function<void()> work)
{
    if (platform::Thread::current() == platform::Thread::mainThread())
        work();
    else
        platform::performOnMain(std::move(work));
}

bool isDashboardHubOpen()
{
    auto query = HCNotificationHooks::installed().isDashboardHubOpen;
    return query && query();
}

}  // namespace

std::shared_ptr<HCNotification> HCNotification::sharedInstance()
{
    static auto* instance = new std::shared_ptr<HCNotification>(std::make_shared<HCNotification>());
    return *instance;
}

void HCNotification::setDefaultBackgroundNotice(const HCNotificationDataPtr& notice,
                                                const std::optional<std::string>& status)
{
    std::lock_guard lock(mutex_);
    defaultBackgroundNotice_ = notice;
    defaultStatus_ = status;
}

void HCNotification::clearDefaultNotice()
{
    std::lock_guard lock(mutex_);
    defaultBackgroundNotice_ = nullptr;
    defaultStatus_ = std::nullopt;
}

HCNotificationDataPtr HCNotification::defaultBackgroundNotice() const
{
    std::lock_guard lock(mutex_);
    return defaultBackgroundNotice_;
}

std::optional<std::string> HCNotification::defaultStatus() const
{
    std::lock_guard lock(mutex_);
    return defaultStatus_;
}

std::pair<HCNotificationDataPtr, std::optional<std::string>> HCNotification::takeDefaultNotice()
{
    std::lock_guard lock(mutex_);
    return {std::exchange(defaultBackgroundNotice_, nullptr), std::exchange(defaultStatus_, std::nullopt)};
}

void HCNotification::showDefaultNotice()
{
    // Taken here, on the reply's own thread: a notice armed for the next call
    // before the main thread gets round to this one stays armed for that call.
    auto [notice, status] = takeDefaultNotice();
    if (notice) showBackgroundNotice(notice, status);
}

void HCNotification::showBackgroundNotice(const HCNotificationDataPtr& notice, const std::optional<std::string>& status)
{
    if (!notice) return;
    onMain([self = platform::self(this), notice, status] {
        if (isDashboardHubOpen()) return;
        if (auto window = self->admit(notice))
            HCNotificationView::showNotificationWithText(notice->notificationText, notice->imageName, status, window);
    });
}

void HCNotification::showBackgroundNoticeForLoader(const OAuthAPIRequestLoaderPtr& loader,
                                                   const platform::ObjectPtr& notice)
{
    if (!loader) return;
    onMain([self = platform::self(this), loader, notice] {
        auto data = platform::as<HCNotificationData>(notice);
        if (!data) {
            if (auto text = platform::as<platform::String>(notice)) data = HCNotificationData::dataWithText(text->value(), 0);
        }
        if (!data) {
            loader->loadSynchronously(false);
            return;
        }
        if (!self->allowNotice(data)) {
            loader->loadSynchronously(false);
            self->handleDisallowedNotification(data);
            return;
        }
        // Without a window or a banner the call still goes out.
        auto window = topApplicationWindow();
        if (window) self->onNotificationWillShow(data);
        if (!window || !HCNotificationView::showNotificationWithRequest(loader, data->notificationText, window))
            loader->loadSynchronously(false);
    });
}

void HCNotification::showAchievementNotice(const std::optional<HCAchievementNoticeInfo>& achievement,
                                           double percentComplete)
{
    auto data = HCUnlockedAchievementNotificationData::dataWithAchievement(achievement, percentComplete);
    onMain([self = platform::self(this), data] {
        if (auto window = self->admit(data)) HCAchievementNotificationView::showAchievementNotice(data, window);
    });
}

void HCNotification::showChallengeNotice(const std::optional<HCChallengeNoticeInfo>& challenge)
{
    auto data = HCReceivedChallengeNotificationData::dataWithChallengeToUser(challenge);
    onMain([self = platform::self(this), data] {
        if (auto window = self->admit(data)) HCChallengeNotificationView::showChallengeNotice(data, window);
    });
}

void HCNotification::showServerNotification(const std::shared_ptr<HCServerNotification>& notification)
{
    if (!notification) return;
    // The server's banner replaces the notice armed for this reply, so that
    // notice is taken now, on the reply's thread, like showDefaultNotice's.
    auto [armed, armedStatus] = takeDefaultNotice();
    int category = HCNotificationCategoryPresence;
    int type = HCNotificationTypeNone;
    if (armed) {
        category = armed->notificationCategory;
        type = armed->notificationType;
    }
    auto data = HCNotificationData::dataWithText(notification->text().value_or(""), category, type);
    onMain([self = platform::self(this), notification, data, armed, armedStatus] {
        if (self->allowNotice(data)) {
            if (auto window = topApplicationWindow()) {
                self->onNotificationWillShow(data);
                HCServerNotificationView::showServerNotification(notification, window);
            }
            return;
        }
        self->handleDisallowedNotification(data);
        // Vetoed: the caller's own notice is offered after all.
        if (armed) self->showBackgroundNotice(armed, armedStatus);
    });
}

void HCNotification::showTextNotice(const std::string& text)
{
    HC_CHECK_MAIN_THREAD();
    auto notice = HCNotificationData::foreGroundDataWithText(text);
    if (auto window = admit(notice)) {
        HCNotificationView::showNotificationWithText(notice->notificationText, notice->imageName,
                                                     HCNotificationStatusSuccess, window);
    }
}

bool HCNotification::allowNotice(const HCNotificationDataPtr& notice) const
{
    HC_CHECK_MAIN_THREAD();
    if (Halcyon::isDisabled()) return false;
    auto* delegate = Halcyon::getNotificationDelegate();
    if (!delegate) return true;
    return platform::callOptionalOr(true, [&] { return delegate->isHalcyonNotificationAllowed(notice); });
}

void HCNotification::onNotificationWillShow(const HCNotificationDataPtr& notice) const
{
    HC_CHECK_MAIN_THREAD();
    if (auto* delegate = Halcyon::getNotificationDelegate()) delegate->notificationWillShow(notice);
}

void HCNotification::handleDisallowedNotification(const HCNotificationDataPtr& notice) const
{
    HC_CHECK_MAIN_THREAD();
    if (auto* delegate = Halcyon::getNotificationDelegate()) delegate->handleDisallowedNotification(notice);
}

platform::ui::ViewPtr HCNotification::admit(const HCNotificationDataPtr& notice) const
{
    if (!allowNotice(notice)) {
        handleDisallowedNotification(notice);
        return nullptr;
    }
    auto window = topApplicationWindow();
    if (window) onNotificationWillShow(notice);
    return window;
}

platform::ui::ViewPtr HCNotification::topApplicationWindow()
{
    HC_CHECK_MAIN_THREAD();
    if (auto presentation = platform::as<platform::ui::View>(Halcyon::presentationWindow())) return presentation;
    auto application = platform::ui::Application::shared();
    if (auto key = application->keyWindow()) return key;
    auto windows = application->windows();
    return windows.empty() ? nullptr : windows.front();
}
