#include "core/bootstrap/HCBootstrapService.h"

#include "core/bootstrap/HCBootstrap.h"
#include "core/halcyon/HCHalcyonBootstrapClient.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResourceClass.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "kernel/settings/HCSettings.h"
#include "kernel/system/HCSystemChecks.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/runtime/Guarded.h"
#include "platform/runtime/ThreadChecker.h"
#include "transport/provider/HCActionRequest.h"
#include "transport/provider/HCProvider.h"

namespace {

std::shared_ptr<HCBootstrapService> sInstance;

platform::Guarded<std::shared_ptr<HCBootstrapClient>>& clientSlot()
{
    static auto* slot = new platform::Guarded<std::shared_ptr<HCBootstrapClient>>();
    return *slot;
}

platform::Guarded<std::shared_ptr<HCBootstrapOfflineSync>>& offlineSlot()
{
    static auto* slot = new platform::Guarded<std::shared_ptr<HCBootstrapOfflineSync>>();
    return *slot;
}

// Without a client of its own the exchange works on the Halcyon class.
std::shared_ptr<HCBootstrapClient> client()
{
    // One for the process: it keeps what the request sent until the reply resets it.
    static auto* halcyon = new std::shared_ptr<HCBootstrapClient>(std::make_shared<HCHalcyonBootstrapClient>());
    auto installed = clientSlot().get();
    return installed ? installed : *halcyon;
}

}  // namespace

void HCBootstrapService::initializeService()
{
    HC_CHECK_MAIN_THREAD();
    if (!sInstance) sInstance = HCService::create<HCBootstrapService>();
}

void HCBootstrapService::shutdownService()
{
    HC_CHECK_MAIN_THREAD();
    sInstance = nullptr;
}

std::shared_ptr<HCBootstrapService> HCBootstrapService::sharedInstance()
{
    return sInstance;
}

void HCBootstrapService::setClient(std::shared_ptr<HCBootstrapClient> client)
{
    clientSlot().set(std::move(client));
}

void HCBootstrapService::setOfflineSync(std::shared_ptr<HCBootstrapOfflineSync> sync)
{
    offlineSlot().set(sync);
    if (sync && sInstance && sInstance->getKnownResources()) sync->shareKnownResources(*sInstance->getKnownResources());
}

void HCBootstrapService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCBootstrap>(map);
    if (auto sync = offlineSlot().get()) sync->shareKnownResources(map);
}

bool HCBootstrapService::bootstrapInProgress()
{
    return sInstance && sInstance->bootstrapInProgress_;
}

void HCBootstrapService::doBootstrapWithNewAccount(bool newAccount, const std::optional<std::string>& userId,
                                                   const HCDelegate& onSucceededLoggingIn,
                                                   const HCDelegate& onFailedLoggingIn)
{
    if (!sInstance) {
        onFailedLoggingIn.invoke(nullptr);
        return;
    }
    sInstance->start(newAccount, userId, onSucceededLoggingIn, onFailedLoggingIn);
}

void HCBootstrapService::start(bool newAccount, const std::optional<std::string>& userId, const HCDelegate& onSucceeded,
                               const HCDelegate& onFailed)
{
    HC_CHECK_MAIN_THREAD();
    if (bootstrapInProgress_ || HCProvider::willSilentlyDiscardAction()) {
        onFailed.invoke(nullptr);
        return;
    }
    bootstrapInProgress_ = true;
    success_ = onSucceeded;
    failure_ = onFailed;

    HCHttpNestedQueryStringWriter writer;
    writer.io("udid", platform::DeviceFacts::uniqueIdentifier());
    std::optional<std::string> sentUserId;
    if (userId && *userId != "0") {
        sentUserId = userId;
        writer.io("user_id", *userId);
    }
    if (newAccount) writer.io("create_new_account", std::string("1"));
    writer.io("device_hardware_version", getHardwareVersion());
    std::string systemVersion;
    if (auto settings = HCSettings::Instance())
        systemVersion = settings->objectForKey(HCSettings::kSystemVersionKey).value_or("");
    writer.io("device_os_version", systemVersion);
    if (auto sync = offlineSlot().get()) sync->getBootstrapCallParams(writer, userId);
    auto parts = client();
    parts->getUserStatsParams(writer);

    parts->postBootstrapBegan(sentUserId);

    auto self = platform::self(this);
    auto provider = HCService::provider();
    if (provider) requestThread_.bind(provider->requestThread());
    auto handle = _performAction(kBootstrapPath, &writer, "POST",
                                 HCDelegate(self, &HCBootstrapService::bootstrapSucceededOnBootstrapThread,
                                            provider ? provider->requestThread() : nullptr),
                                 HCDelegate(self, &HCBootstrapService::bootstrapFailed), HCActionRequest::kSilent,
                                 nullptr, false);
    // Nothing was sent (no provider, or it has stopped): nothing will answer.
    if (!handle) bootstrapFailed(nullptr);
}

void HCBootstrapService::bootstrapSucceededOnBootstrapThread(std::shared_ptr<HCPaginatedSeries> series)
{
    HC_CHECK_THREAD(requestThread_);
    auto self = platform::self(this);
    // An empty reply, or one that does not start with the bootstrap, cannot be applied.
    if (!series || series->count() == 0 || !platform::as<HCBootstrap>(series->objects().front())) {
        platform::performOnMain([self] { self->bootstrapFailed(nullptr); });
        return;
    }
    platform::performOnMain([self, series] { self->checkUserOnMainThread(series); });
}

void HCBootstrapService::checkUserOnMainThread(const std::shared_ptr<HCPaginatedSeries>& series)
{
    HC_CHECK_MAIN_THREAD();
    auto parts = client();
    auto bootstrap = platform::as<HCBootstrap>(series->objects().front());
    if (parts->takeForceUserCheckOnBootstrap() && parts->userAttemptingToLogin(bootstrap->user()) == false) {
        // The log-in is aborted first; the failure that follows finds it
        // already ended.
        parts->abortBootstrap();
        bootstrapFailed(nullptr);
        return;
    }
    auto provider = HCService::provider();
    if (!provider || !provider->requestThread()) {
        bootstrapFailed(nullptr);
        return;
    }
    auto self = platform::self(this);
    provider->requestThread()->runLoop()->post([self, series] { self->applyOnBootstrapThread(series); });
}

void HCBootstrapService::applyOnBootstrapThread(const std::shared_ptr<HCPaginatedSeries>& series)
{
    HC_CHECK_THREAD(requestThread_);
    auto parts = client();
    auto bootstrap = platform::as<HCBootstrap>(series->objects().front());
    parts->storePollingFrequencies(bootstrap->pollingFrequencyDefault(), bootstrap->pollingFrequencyInChat());
    if (auto provider = HCService::provider())
        provider->setAccessToken(bootstrap->accessToken().value_or(""), bootstrap->accessTokenSecret().value_or(""));
    bootstrap->setLoggedInUserHasNonDeviceCredential(bootstrap->loggedInUserHasHttpBasicCredential() ||
                                                     bootstrap->loggedInUserHasFbconnectCredential() ||
                                                     bootstrap->loggedInUserHasTwitterCredential());
    parts->applyUserOptions(*bootstrap, bootstrap->loggedInUserHasShareLocationEnabled() ? 2 : 1);
    parts->applyPresence(bootstrap->presenceQueue(), bootstrap->pipeHttpOverPresenceService(),
                         bootstrap->initializePresenceService());
    parts->notifyAddOnsUserLoggedIn();
    parts->resetUserStatsAndCountOnlineSession();
    if (series->count() >= 2) {
        if (auto sync = offlineSlot().get()) sync->syncOfflineData(series->objects()[1], bootstrap);
    }
    auto self = platform::self(this);
    platform::performOnMain([self, series] { self->bootstrapSucceeded(series); });
}

void HCBootstrapService::bootstrapSucceeded(std::shared_ptr<HCPaginatedSeries> series)
{
    HC_CHECK_MAIN_THREAD();
    bootstrapInProgress_ = false;
    client()->postBootstrapSucceeded();
    auto success = std::move(success_);
    success_ = HCDelegate();
    failure_ = HCDelegate();
    success.invoke(series);
}

void HCBootstrapService::bootstrapFailed(std::shared_ptr<platform::Object> failure)
{
    HC_CHECK_MAIN_THREAD();
    bootstrapInProgress_ = false;
    client()->postBootstrapFailed();
    auto failed = std::move(failure_);
    success_ = HCDelegate();
    failure_ = HCDelegate();
    failed.invoke(failure);
}
