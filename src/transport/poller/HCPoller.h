#pragma once
// Polls one path of the service for new resources of the registered classes.
//
// Each poll is a silent GET carrying, per class, "last_seen_" + resource name
// + "_id" when an id is known. Resources newer than that id are posted on the
// main thread as the class's discovery notification, the list under
// "HCPollerNotificationKeyResources"; a failed poll posts "HCPollingFailed"
// with the poller's source path as the object.
//
// Neither the timer nor a poll on the wire keeps the poller alive: once its
// owner lets it go, it polls no more and its pending replies are dropped.
//
// Thread: created and driven on the main thread; its timer runs on the run
// loop of the thread that set the frequency; replies are read on the
// provider's request thread.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/runtime/RunLoop.h"
#include "transport/poller/HCPollerReplyReader.h"
#include "transport/provider/HCProvider.h"

inline constexpr const char* HCPollerNotificationKeyResources = "HCPollerNotificationKeyResources";
inline constexpr const char* HCPollingFailed = "HCPollingFailed";

class HCPoller final : public platform::Object {
public:
    HCPoller(std::shared_ptr<HCProvider> provider, std::string sourceUrl);
    static std::shared_ptr<HCPoller> initWithProvider(std::shared_ptr<HCProvider> provider, std::string sourceUrl);
    ~HCPoller() override;

    // The running timer's interval in seconds; 0 when stopped.
    double getPollingFrequency() const;
    // Stops polling and, for a non-zero interval, polls every `seconds`.
    void changePollingFrequency(double seconds);
    void stopPolling();
    void resetToDefaultPollingFrequency();
    void setDefaultPollingFrequency(double seconds) { defaultFrequency_ = seconds; }
    double defaultPollingFrequency() const { return defaultFrequency_; }
    void pollNow();

    void registerResourceClass(const HCPollerResourceClass& resourceClass);
    // Forgets the class's last-seen id, so its resources count as new again.
    void clearCacheForResourceClass(const std::string& className);
    // The next polls ask only for resources newer than `lastSeenId`.
    void clearCacheAndForceLastSeenId(long long lastSeenId, const std::string& className);
    long long lastSeenId(const std::string& className) const;

    const std::string& sourceUrl() const { return sourceUrl_; }

    static void setReplyReader(std::shared_ptr<HCPollerReplyReader> reader);
    // The installed reader (the presence channel reads its messages with it).
    static std::shared_ptr<HCPollerReplyReader> replyReader();

    // Reply handlers.
    void _pollSucceeded(std::shared_ptr<OAuthAPIRequestLoader> loader);
    void _pollFailed(std::shared_ptr<OAuthAPIRequestLoader> loader);

private:
    struct Watched {
        HCPollerResourceClass resourceClass;
        long long lastSeenId = 0;
    };

    std::shared_ptr<HCProvider> provider_;
    std::string sourceUrl_;
    std::shared_ptr<platform::Timer> timer_;
    double defaultFrequency_ = 0;
    mutable std::mutex mutex_;  // guards watched_: polled on the request thread
    std::vector<Watched> watched_;
};
