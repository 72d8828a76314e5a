#pragma once
// The log-in layers against a live local server: the bootstrap service, a
// JSON session installed as the client's session, a recording session
// observer (priority and plain), the last logged-in user for the 401
// re-login, and a JSON receiver that records what reached it.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/xp/HCResourceRequest.h"
#include "core/xp/HCSession.h"
#include "e2e/support/LiveServerTest.h"

// Records each observer call as a line ("failure:SSLFailure", "login:1001<-0", "logout:1001").
class RecordingSessionObserver final : public HCSessionObserver {
public:
    RecordingSessionObserver(std::string tag, std::vector<std::string>& log) : tag_(std::move(tag)), log_(log) {}
    void sessionFailureWithException(const std::shared_ptr<HCSession>&,
                                     const std::shared_ptr<HCServerException>& exception) override;
    void sessionDidLogoutUser(const std::shared_ptr<HCSession>&, const std::shared_ptr<HCUser>& user) override;
    void sessionDidLoginUser(const std::shared_ptr<HCSession>&, const std::shared_ptr<HCUser>& user,
                             const std::shared_ptr<HCUser>& previousUser) override;

private:
    std::string tag_;
    std::vector<std::string>& log_;
};

// What one JSON request delivered.
class JsonOutcome final : public HCXPResponseJSON, public HCXPResponseText {
public:
    void onResponseJSON(const platform::ObjectPtr& object, uint32_t code) override;
    void onResponseText(const std::string& text, uint32_t code) override;

    std::vector<uint32_t> codes;
    // When set, each delivery appends `name` to it.
    std::vector<std::string>* journal = nullptr;
    std::string name;
    platform::ObjectPtr json;
    std::string text;
    std::string exceptionClass() const;
};

class LoginFixture : public LiveServerTest {
protected:
    void SetUp() override;
    void TearDown() override;

    bool waitUntil(const std::function<bool()>& done) { return testsupport::runMainUntil(done); }
    // Waits until no session change runs and nothing is queued.
    bool waitForQuietSession();
    std::vector<std::string> serverPaths() const;
    // A JSON request to a route the test adds, with a receiver.
    std::shared_ptr<HCXPRequest> jsonRequest(const std::string& method, const std::string& path,
                                             const std::shared_ptr<JsonOutcome>& outcome,
                                             const std::shared_ptr<platform::Dictionary>& args = nullptr);
    std::optional<std::string> lastLoggedInUserId = std::string(localserver::defaults::kUserId);

    std::shared_ptr<HCSession> session;
    std::vector<std::string> observed;
    std::shared_ptr<RecordingSessionObserver> priority;
    std::shared_ptr<RecordingSessionObserver> plain;
};
