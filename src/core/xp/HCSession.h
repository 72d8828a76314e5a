#pragma once
// The client's session with the JSON API: the device session (the device
// registered with "/xp/devices"), the user session opened after the log-in
// handshake ("/xp/sessions") and closed on log-out (DELETE "/xp/sessions"),
// the product key and secret every JSON request is signed with, and the
// queue that holds JSON requests back while a session change runs.
//
// Nothing of the session is stored: the only lasting trace is the service's
// "_hc_session" cookie in the shared cookie store, which the transport sends
// with every request and a failed log-out deletes.
//
// A session change (registering the device, logging in, logging out) counts
// as in progress from the moment its request is handed on until its reply
// has been handled; requests that arrive meanwhile wait in the queue and go
// out in arrival order when it ends. The session's own requests bypass the
// queue. When a change fails, queued requests that cannot go out without the
// session it was to make fail with "SessionFailure"; the others are sent.
// A user-session request answered 401 means the service has dropped the
// device session too (an expired cookie): like a failed log-out, it drops
// the device session and the cookie, so the next log-in registers afresh.
//
// Observers are held weakly; priority observers are told first.
//
// Thread: main. The handshake and the transport call back on the main thread.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/device/HCDevice.h"
#include "core/xp/HCResourceRequest.h"
#include "core/xp/HCServerException.h"
#include "core/xp/HCSessionObserver.h"
#include "kernel/callbacks/HCCallbackable.h"

class HCPaginatedSeries;
class HCUser;

class HCSession final : public platform::Object, public HCCallbackable {
public:
    static constexpr const char* kSessionCookieName = "_hc_session";
    static constexpr const char* kDevicesPath = "/xp/devices";
    static constexpr const char* kSessionsPath = "/xp/sessions";

    static std::shared_ptr<HCSession> initWithProductKey(const std::string& key, const std::string& secret);
    HCSession(std::string key, std::string secret);

    static std::string protocolVersion() { return "1.0"; }
    // The registration body: platform, device[identifier|name|hardware|os|
    // screen_resolution|processor] and protocol_version.
    static std::shared_ptr<platform::Dictionary> deviceRegistrationBody();

    // --- Session changes --------------------------------------------------------
    // Log-in of an existing user (the password goes no further than here).
    // Without a device session the first log-in asked for waits for it.
    void loginUserId(const std::string& userId, const std::optional<std::string>& password);
    // Log-in that creates a new account.
    void loginNewUser();
    void logoutUser();
    void establishDeviceSession();
    void establishUserSessionForId(const std::string& userId, const std::optional<std::string>& password);

    // --- Requests ---------------------------------------------------------------
    // Signs the request, registers the device when it needs one, then fails,
    // queues or starts it.
    void performRequest(const std::shared_ptr<HCXPRequest>& request);
    void processQueuedRequests();
    void failWithException(const std::shared_ptr<HCServerException>& exception);
    // The client is going down: queued requests are dropped and the ones on
    // the wire cancelled, without answers.
    void cancelAllRequests();

    // --- Observers ----------------------------------------------------------------
    void addObserver(const std::shared_ptr<HCSessionObserver>& observer);
    void addPriorityObserver(const std::shared_ptr<HCSessionObserver>& observer);
    void removeObserver(const std::shared_ptr<HCSessionObserver>& observer);

    // --- Replies ------------------------------------------------------------------
    void bootstrapSuccess(std::shared_ptr<HCPaginatedSeries> series);
    // The handshake's failure object (the provider's loader, or nil).
    void bootstrapFailure(std::shared_ptr<platform::Object> failure);
    void deviceSessionResponse(const std::shared_ptr<HCResourceRequest>& request);
    void userSessionResponse(const std::shared_ptr<HCResourceRequest>& request);
    void logoutResponse(const std::shared_ptr<HCResourceRequest>& request);

    // --- State --------------------------------------------------------------------
    const std::string& key() const { return key_; }
    const std::string& secret() const { return secret_; }
    const std::shared_ptr<HCUser>& currentUser() const { return currentUser_; }
    const std::shared_ptr<HCDevice>& currentDevice() const { return currentDevice_; }
    // Whether the current device's parental controls are on, readable from
    // any thread (the provider asks on the thread that queues an action).
    bool parentalControlsEnabled() const { return parentalControlsEnabled_.load(); }
    // A screen that changed the current device's parental controls tells the
    // session, so the answer above follows.
    void currentDeviceChanged();
    bool sessionChangeAllowed() const { return !sessionChangeInProgress_; }
    bool sessionChangeInProgress() const { return sessionChangeInProgress_; }
    bool createdDeviceSession() const { return createdDeviceSession_; }
    bool createdUserSession() const { return createdUserSession_; }
    size_t queuedRequestCount() const { return queuedRequests_.size(); }
    bool hasPendingLogin() const { return postDeviceInvocation_.has_value(); }
    bool canReceiveCallbacksNow() const override { return true; }

private:
    struct PendingLogin {
        bool newUser = false;
        std::string userId;
        std::optional<std::string> password;
    };
    enum class Rank { Priority, Plain };

    void startLogin(const PendingLogin& login);
    // Sends one of the session's own requests past the queue, the change
    // already marked in progress.
    void sendSessionRequest(const std::shared_ptr<HCResourceRequest>& request);
    // Fails, in order, the queued requests that `needs` says cannot go out.
    template <class Needs>
    void failQueuedRequests(Needs needs);
    template <class Call>
    void tellObservers(Call call);
    std::vector<std::shared_ptr<HCSessionObserver>> liveObservers(Rank rank);

    const std::string key_;
    const std::string secret_;
    std::vector<std::weak_ptr<HCSessionObserver>> priorityObservers_;
    std::vector<std::weak_ptr<HCSessionObserver>> observers_;
    std::optional<PendingLogin> postDeviceInvocation_;
    std::vector<std::shared_ptr<HCXPRequest>> queuedRequests_;
    // Requests handed to the transport; they keep themselves alive until delivered.
    std::vector<std::weak_ptr<HCXPRequest>> startedRequests_;
    void started(const std::shared_ptr<HCXPRequest>& request);
    std::shared_ptr<HCUser> currentUser_;
    std::shared_ptr<HCUser> handshakeUser_;
    std::shared_ptr<HCDevice> currentDevice_;
    std::atomic<bool> parentalControlsEnabled_{false};
    bool sessionChangeInProgress_ = false;
    bool createdDeviceSession_ = false;
    bool createdUserSession_ = false;
};
