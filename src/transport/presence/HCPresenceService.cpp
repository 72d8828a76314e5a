#include "transport/presence/HCPresenceService.h"

#include <charconv>
#include <cmath>

#include "kernel/settings/HCSettings.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/runtime/Guarded.h"
#include "transport/poller/HCPoller.h"

namespace {

platform::Guarded<std::shared_ptr<HCPresenceService>>& sharedSlot()
{
    static platform::Guarded<std::shared_ptr<HCPresenceService>> slot;
    return slot;
}

platform::Guarded<HCPresenceHooks>& hooksSlot()
{
    static platform::Guarded<HCPresenceHooks> hooks;
    return hooks;
}

// "host", "host:port" or "[v6-address]:port".
std::pair<std::string, int> hostAndPort(const std::string& setting)
{
    std::string host = setting;
    std::string port;
    if (!setting.empty() && setting.front() == '[') {
        auto close = setting.find(']');
        if (close == std::string::npos) return {setting, HCPresenceService::kDefaultPort};
        host = setting.substr(1, close - 1);
        if (close + 1 < setting.size() && setting[close + 1] == ':') port = setting.substr(close + 2);
    } else if (auto colon = setting.find(':'); colon != std::string::npos && setting.find(':', colon + 1) == std::string::npos) {
        host = setting.substr(0, colon);
        port = setting.substr(colon + 1);
    }
    int number = 0;
    auto [end, ec] = std::from_chars(port.data(), port.data() + port.size(), number);
    if (port.empty() || ec != std::errc() || end != port.data() + port.size() || number <= 0 || number > 65535)
        number = HCPresenceService::kDefaultPort;
    return {host, number};
}

}  // namespace

std::shared_ptr<HCPresenceService> HCPresenceService::sharedInstance()
{
    return sharedSlot().get();
}

void HCPresenceService::initializeService()
{
    if (!sharedSlot().get()) sharedSlot().set(std::make_shared<HCPresenceService>());
}

void HCPresenceService::shutdownService()
{
    auto service = sharedSlot().get();
    sharedSlot().set(nullptr);
    if (!service) return;
    service->disconnect();
    service->thread_->cancel();
}

void HCPresenceService::setHooks(HCPresenceHooks hooks)
{
    hooksSlot().set(std::move(hooks));
}

const char* HCPresenceService::stateName(State state)
{
    switch (state) {
    case State::Disconnected: return "disconnected";
    case State::Connecting: return "connecting";
    case State::Connected: return "connected";
    case State::Waiting: return "waiting";
    case State::GaveUp: return "gave up";
    }
    return "disconnected";
}

HCPresenceService::HCPresenceService() : thread_(platform::Thread::start("presence"))
{
    // First on the thread, before any connection writes.
    thread_->runLoop()->post(&HCPresenceSocket::blockBrokenPipeSignal);
}

HCPresenceService::~HCPresenceService()
{
    thread_->cancel();
}

void HCPresenceService::setPresenceQueue(const std::optional<std::string>& queue)
{
    std::lock_guard lock(queueMutex_);
    queue_ = queue;
}

void HCPresenceService::setPipeHttpOverPresence(bool pipe)
{
    pipeHttp_ = pipe;
}

void HCPresenceService::connect()
{
    // Asked here, on the caller's thread, where the client's state may be read.
    auto accessToken = hooksSlot().get().accessToken;
    auto token = accessToken ? accessToken() : std::nullopt;
    thread_->runLoop()->post([self = platform::self(this), token] {
        self->token_ = token;
        if (self->wanted_ && self->session_) {
            if (self->sessionMatches()) return;  // already connected or connecting
            // Another player's session, or one on a stale token or queue,
            // would show this player the other one's messages.
            self->stopSession();
        }
        self->wanted_ = true;
        ++self->generation_;
        self->failures_ = 0;
        self->attempt();
    });
}

void HCPresenceService::disconnect()
{
    thread_->runLoop()->post([self = platform::self(this)] {
        self->wanted_ = false;
        ++self->generation_;
        self->stopSession();
        self->setState(State::Disconnected);
    });
}

void HCPresenceService::postInMainThread(const platform::ObjectPtr& resource)
{
    platform::performOnMain([resource] {
        if (auto notice = hooksSlot().get().postInMainThread) notice(resource);
    });
}

std::optional<HCStompSession::Config> HCPresenceService::sessionConfig()
{
    const auto& token = token_;
    std::optional<std::string> queue;
    {
        std::lock_guard lock(queueMutex_);
        queue = queue_;
    }
    auto settings = HCSettings::Instance();
    if (!token || !queue || queue->empty() || !settings) return std::nullopt;
    auto host = settings->objectForKey("presence-host");
    if (!host || host->empty()) return std::nullopt;

    HCStompSession::Config config;
    std::tie(config.socket.host, config.socket.port) = hostAndPort(*host);
    config.socket.caFile = settings->objectForKey("presence-ca-file").value_or("");
    config.virtualHost = "/";
    config.login = token->key;
    config.passcode = token->secret;
    config.destination = *queue;
    return config;
}

void HCPresenceService::attempt()
{
    if (!wanted_ || session_) return;
    auto config = sessionConfig();
    if (!config) {
        // Not logged in yet: the log-in's bootstrap connects again.
        setState(State::Disconnected);
        return;
    }
    setState(State::Connecting);
    std::weak_ptr<HCPresenceService> weak = platform::self(this);
    auto holder = std::make_shared<std::weak_ptr<HCStompSession>>();
    HCStompSession::Listener listener;
    listener.subscribed = [weak, holder] {
        if (auto self = weak.lock()) self->subscribed(holder->lock());
    };
    listener.message = [weak](const std::string& body) {
        if (auto self = weak.lock()) self->deliver(body);
    };
    listener.closed = [weak, holder](const std::string& reason) {
        if (auto self = weak.lock()) self->closed(holder->lock(), reason);
    };
    session_ = std::make_shared<HCStompSession>(std::move(*config), std::move(listener));
    *holder = session_;
    session_->start();
}

void HCPresenceService::subscribed(const std::shared_ptr<HCStompSession>& session)
{
    if (!session || session != session_) return;
    const int generation = ++generation_;
    std::weak_ptr<HCPresenceService> weak = platform::self(this);
    thread_->runLoop()->postAfter(kStableSeconds, [weak, generation] {
        auto self = weak.lock();
        if (self && self->generation_ == generation && self->state_ == State::Connected) self->failures_ = 0;
    });
    setState(State::Connected);
}

void HCPresenceService::closed(const std::shared_ptr<HCStompSession>& session, const std::string& reason)
{
    if (!session || session != session_) return;
    platform::log(platform::LogLevel::Info, "presence: connection ended: " + reason);
    // The session is telling us from inside itself: let it go on a later turn.
    thread_->runLoop()->post([old = std::move(session_)] {});
    const int failures = ++failures_;
    if (failures >= kMaxAttempts) {
        wanted_ = false;
        setState(State::GaveUp);
        return;
    }
    const int generation = ++generation_;
    const double wait = kFirstRetrySeconds * std::pow(2.0, failures - 1);
    std::weak_ptr<HCPresenceService> weak = platform::self(this);
    thread_->runLoop()->postAfter(wait, [weak, generation] {
        auto self = weak.lock();
        if (self && self->generation_ == generation) self->attempt();
    });
    setState(State::Waiting);
}

void HCPresenceService::stopSession()
{
    if (!session_) return;
    session_->stop();
    session_.reset();
}

bool HCPresenceService::sessionMatches()
{
    const auto wanted = sessionConfig();
    const auto& running = session_->config();
    return wanted && wanted->login == running.login && wanted->passcode == running.passcode &&
           wanted->destination == running.destination;
}

void HCPresenceService::deliver(const std::string& body)
{
    auto reader = HCPoller::replyReader();
    auto hooks = hooksSlot().get();
    if (!reader || hooks.resourceClasses.empty()) return;
    auto items = reader->read(*platform::Data::fromString(body), hooks.resourceClasses);
    if (items.empty()) return;

    std::vector<std::pair<std::string, std::shared_ptr<platform::Array>>> discovered;
    for (const auto& resourceClass : hooks.resourceClasses) {
        auto resources = platform::Array::make();
        for (const auto& item : items)
            if (item.resourceName == resourceClass.resourceName) resources->add(item.resource);
        if (resources->count() > 0 && !resourceClass.discoveredNotification.empty())
            discovered.emplace_back(resourceClass.discoveredNotification, resources);
    }
    platform::performOnMain([self = platform::self(this), discovered, items] {
        for (const auto& [name, resources] : discovered) {
            auto info = platform::Dictionary::make();
            info->setObject(HCPollerNotificationKeyResources, resources);
            platform::NotificationCenter::defaultCenter().post(name, self, info);
        }
        auto hooks = hooksSlot().get();
        for (const auto& item : items) {
            if (item.resourceName == "user" && hooks.friendPresenceChanged) hooks.friendPresenceChanged(item.resource);
            if (hooks.postInMainThread) hooks.postInMainThread(item.resource);
        }
    });
}

void HCPresenceService::setState(State state)
{
    if (state_.exchange(state) == state) return;
    platform::performOnMain([self = platform::self(this), state] {
        auto info = platform::Dictionary::make();
        info->setObject(HCPresenceStateKey, platform::String::make(stateName(state)));
        platform::NotificationCenter::defaultCenter().post(HCPresenceStateChanged, self, info);
    });
}
