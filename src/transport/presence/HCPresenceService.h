#pragma once
// The presence channel: a STOMP subscription over TLS to the "presence-host"
// setting (port 61613 unless the setting says "host:port"), logged in with
// the player's access token and secret, on the bootstrap's presence queue.
// Each message body is a reply document of resources, read as the poller
// reads its replies and posted on the main thread as the classes' discovery
// notifications (the list under "HCPollerNotificationKeyResources"); a
// player's presence also posts through the friend-presence hook, and a
// player who came online or a new message gets its notice.
//
// connect() does nothing until the provider is authenticated and a queue is
// set. A connect() while a session runs keeps it when its token and queue
// are still the player's; when either changed (another player logged in, or
// the same one with a new token or queue) that session is ended, with a
// DISCONNECT, and one for the new token and queue begins. A connection that fails or drops is tried again after 1, 2, 4 and
// 8 s on the clock; the fifth failure in a row gives up until the next
// connect(). A connection that stays up for a minute clears the count.
// disconnect() closes and stops retrying. Each change of state is posted on
// the main thread as "HCPresenceStateChanged" with the state's name under
// "state".
//
// Piping service requests over the channel is not done: no pipe protocol
// exists, so setPipeHttpOverPresence only records the bootstrap's wish and
// requests stay on HTTP.
//
// Thread: every method may be called from any thread; the work runs on the
// presence thread, which blocks only there for TCP and TLS set-up.
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/runtime/Thread.h"
#include "transport/presence/HCPresenceHooks.h"
#include "transport/presence/HCStompSession.h"

inline constexpr const char* HCPresenceStateChanged = "HCPresenceStateChanged";
inline constexpr const char* HCPresenceStateKey = "state";

class HCPresenceService final : public platform::Object {
public:
    enum class State { Disconnected, Connecting, Connected, Waiting, GaveUp };
    static constexpr int kMaxAttempts = 5;
    static constexpr double kFirstRetrySeconds = 1;
    static constexpr double kStableSeconds = 60;
    static constexpr int kDefaultPort = 61613;

    // nullptr before initializeService and after shutdownService.
    static std::shared_ptr<HCPresenceService> sharedInstance();
    static void initializeService();
    static void shutdownService();
    static void setHooks(HCPresenceHooks hooks);

    void connect();
    void disconnect();
    void setPresenceQueue(const std::optional<std::string>& queue);
    void setPipeHttpOverPresence(bool pipe);
    bool pipeHttpOverPresence() const { return pipeHttp_.load(); }
    // Shows the notice for `resource` on the main thread.
    void postInMainThread(const platform::ObjectPtr& resource);

    State state() const { return state_.load(); }
    static const char* stateName(State state);
    // Failed attempts since the last connect() or stable connection.
    int failedAttempts() const { return failures_.load(); }

    HCPresenceService();
    ~HCPresenceService() override;

private:
    void attempt();
    void subscribed(const std::shared_ptr<HCStompSession>& session);
    void closed(const std::shared_ptr<HCStompSession>& session, const std::string& reason);
    void deliver(const std::string& body);
    void stopSession();
    // The running session logs in with the current token on the current queue.
    bool sessionMatches();
    void setState(State state);
    std::optional<HCStompSession::Config> sessionConfig();

    platform::ThreadPtr thread_;
    // Presence thread only.
    std::shared_ptr<HCStompSession> session_;
    bool wanted_ = false;
    std::optional<OAuthToken> token_;  // as connect() found it
    int generation_ = 0;  // ends stale retries and stability checks
    std::mutex queueMutex_;
    std::optional<std::string> queue_;
    std::atomic<bool> pipeHttp_{false};
    std::atomic<State> state_{State::Disconnected};
    std::atomic<int> failures_{0};
};
