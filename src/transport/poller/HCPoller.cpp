#include "transport/poller/HCPoller.h"

#include <algorithm>

#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/Guarded.h"
#include "platform/runtime/Thread.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

platform::Guarded<std::shared_ptr<HCPollerReplyReader>>& installedReader()
{
    static platform::Guarded<std::shared_ptr<HCPollerReplyReader>> reader;
    return reader;
}

}  // namespace

void HCPoller::setReplyReader(std::shared_ptr<HCPollerReplyReader> reader)
{
    installedReader().set(std::move(reader));
}

std::shared_ptr<HCPollerReplyReader> HCPoller::replyReader()
{
    return installedReader().get();
}

HCPoller::HCPoller(std::shared_ptr<HCProvider> provider, std::string sourceUrl)
    : provider_(std::move(provider)), sourceUrl_(std::move(sourceUrl))
{
    HC_CHECK_MAIN_THREAD();
}

std::shared_ptr<HCPoller> HCPoller::initWithProvider(std::shared_ptr<HCProvider> provider, std::string sourceUrl)
{
    return std::make_shared<HCPoller>(std::move(provider), std::move(sourceUrl));
}

HCPoller::~HCPoller()
{
    if (timer_) timer_->invalidate();
}

double HCPoller::getPollingFrequency() const
{
    return timer_ && timer_->isValid() ? timer_->timeInterval() : 0.0;
}

void HCPoller::changePollingFrequency(double seconds)
{
    HC_CHECK_MAIN_THREAD();
    stopPolling();
    if (seconds <= 0) return;
    std::weak_ptr<HCPoller> weak = platform::self(this);
    timer_ = platform::Thread::current()->runLoop()->scheduleTimer(seconds, true, [weak](platform::Timer&) {
        if (auto poller = weak.lock()) poller->pollNow();
    });
}

void HCPoller::stopPolling()
{
    HC_CHECK_MAIN_THREAD();
    if (timer_) timer_->invalidate();
    timer_.reset();
}

void HCPoller::resetToDefaultPollingFrequency()
{
    changePollingFrequency(defaultFrequency_);
}

void HCPoller::registerResourceClass(const HCPollerResourceClass& resourceClass)
{
    std::lock_guard lock(mutex_);
    for (auto& w : watched_)
        if (w.resourceClass.className == resourceClass.className) return;
    watched_.push_back(Watched{resourceClass, 0});
}

void HCPoller::clearCacheForResourceClass(const std::string& className)
{
    clearCacheAndForceLastSeenId(0, className);
}

void HCPoller::clearCacheAndForceLastSeenId(long long lastSeenId, const std::string& className)
{
    std::lock_guard lock(mutex_);
    for (auto& w : watched_)
        if (w.resourceClass.className == className) w.lastSeenId = lastSeenId;
}

long long HCPoller::lastSeenId(const std::string& className) const
{
    std::lock_guard lock(mutex_);
    for (auto& w : watched_)
        if (w.resourceClass.className == className) return w.lastSeenId;
    return 0;
}

void HCPoller::pollNow()
{
    HC_CHECK_MAIN_THREAD();
    if (!provider_) return;
    std::vector<URLRequestParameter> parameters;
    {
        std::lock_guard lock(mutex_);
        for (auto& w : watched_)
            if (w.lastSeenId > 0)
                parameters.emplace_back("last_seen_" + w.resourceClass.resourceName + "_id",
                                        std::to_string(w.lastSeenId));
    }
    // The reply handlers hold the poller weakly, as the timer does: a poll on
    // the wire must not keep a released poller alive, or its timer would go
    // on starting polls that keep it alive in turn.
    std::weak_ptr<HCPoller> weak = platform::self(this);
    auto succeeded = HCDelegate::withFunction(
        [weak](const platform::ObjectPtr& loader) {
            if (auto poller = weak.lock()) poller->_pollSucceeded(std::dynamic_pointer_cast<OAuthAPIRequestLoader>(loader));
        },
        nullptr, provider_->requestThread());
    auto failed = HCDelegate::withFunction([weak](const platform::ObjectPtr& loader) {
        if (auto poller = weak.lock()) poller->_pollFailed(std::dynamic_pointer_cast<OAuthAPIRequestLoader>(loader));
    });
    provider_->performAction(sourceUrl_, parameters, "GET", succeeded, failed, 0, nullptr, true);
}

void HCPoller::_pollSucceeded(std::shared_ptr<OAuthAPIRequestLoader> loader)
{
    auto reader = installedReader().get();
    if (!reader || !loader) return;

    std::vector<HCPollerResourceClass> classes;
    {
        std::lock_guard lock(mutex_);
        for (auto& w : watched_) classes.push_back(w.resourceClass);
    }
    auto items = reader->read(*loader->data(), classes);

    // New resources per class, in reply order; the last-seen id moves to the newest.
    std::vector<std::pair<std::string, std::shared_ptr<platform::Array>>> discovered;
    {
        std::lock_guard lock(mutex_);
        for (auto& w : watched_) {
            auto fresh = platform::Array::make();
            long long newest = w.lastSeenId;
            for (auto& item : items) {
                if (item.resourceName != w.resourceClass.resourceName || item.resourceId <= w.lastSeenId) continue;
                fresh->add(item.resource);
                newest = std::max(newest, item.resourceId);
            }
            w.lastSeenId = newest;
            if (fresh->count() > 0) discovered.emplace_back(w.resourceClass.discoveredNotification, fresh);
        }
    }
    if (discovered.empty()) return;
    platform::performOnMain([self = platform::self(this), discovered] {
        for (auto& [name, resources] : discovered) {
            auto info = platform::Dictionary::make();
            info->setObject(HCPollerNotificationKeyResources, resources);
            platform::NotificationCenter::defaultCenter().post(name, self, info);
        }
    });
}

void HCPoller::_pollFailed(std::shared_ptr<OAuthAPIRequestLoader>)
{
    platform::NotificationCenter::defaultCenter().post(HCPollingFailed, platform::String::make(sourceUrl_));
}
