#pragma once
// Whether the service root's host can be reached, and the observers told
// when that changes.
//
// One monitor per process. It checks the host (name look-up and a TCP
// connection) on its own thread: at Initialize, on refresh(), and every
// kRefreshInterval seconds of platform::Clock. An override set by tests (or
// a host that wants to force a state) takes the place of what the checks
// find until it is cleared. The first status a monitor knows, and every
// change of it, is posted to the main thread, where each
// HCReachabilityObserver invokes its delegate with a Number of the new
// status. Observers belong to the process, not to one monitor: a monitor
// made by a later Initialize tells them too.
//
// Thread: every method may be called from any thread; observers are told on
// the main thread. Shutdown() waits for a check in progress to end.
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "kernel/reachability/ServerAddress.h"
#include "platform/runtime/Object.h"
#include "platform/runtime/RunLoop.h"
#include "platform/runtime/Thread.h"

class HCReachabilityObserver;

class HCReachability final : public platform::Object {
public:
    enum Status : int {
        NotReachable = 0,
        ReachableViaWiFi = 1,  // any wired or wireless LAN route
        ReachableViaWWAN = 2,  // the handheld's cellular route; never measured here
    };
    static constexpr double kRefreshInterval = 60.0;
    static constexpr double kConnectTimeoutSeconds = 3.0;

    // Creates the one monitor for the service root `serverUrl`, replacing any
    // earlier one, and starts the first check. A URL without a usable host
    // and port leaves the status at NotReachable.
    static void Initialize(const std::string& serverUrl);
    // The monitor, or nullptr before Initialize and after Shutdown.
    static std::shared_ptr<HCReachability> Instance();
    static void Shutdown();

    // True when the last known status is not NotReachable.
    bool isGameServerReachable() const { return status() != NotReachable; }
    int status() const;

    // Checks the host again now, on the monitor's thread.
    void refresh();
    void setOverride(int status);
    void clearOverride();

    ~HCReachability() override;

private:
    friend class HCReachabilityObserver;

    explicit HCReachability(std::optional<ServerAddress> address) : address_(std::move(address)) {}
    void start();
    void stop();
    void check();
    void setMeasured(int status);
    // Recomputes the status; a change is posted to the main thread.
    void updateLocked();
    static void notifyObservers(int status);
    static void addObserver(HCReachabilityObserver* observer);
    static void removeObserver(HCReachabilityObserver* observer);

    const std::optional<ServerAddress> address_;
    platform::ThreadPtr thread_;
    std::shared_ptr<platform::Timer> timer_;

    mutable std::mutex mutex_;
    int measured_ = NotReachable;
    std::optional<int> override_;
    int status_ = NotReachable;
    // Whether observers have heard this monitor's status: the first check
    // that finds nothing is news too, or a game would never hear that its
    // server cannot be reached.
    bool told_ = false;
};
