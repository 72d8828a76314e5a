#include "e2e/support/LoginFixture.h"

#include "core/bootstrap/HCBootstrapService.h"
#include "core/clientstate/HCClientState.h"
#include "core/users/HCUser.h"
#include "core/xp/HCXPClientHooks.h"
#include "localserver/Fixtures.h"
#include "platform/net/CookieStore.h"

namespace {

std::string idOf(const std::shared_ptr<HCUser>& user)
{
    if (!user) return "nil";
    return user->userId().value_or("?");
}

}  // namespace

void RecordingSessionObserver::sessionFailureWithException(const std::shared_ptr<HCSession>&,
                                                           const std::shared_ptr<HCServerException>& exception)
{
    log_.push_back(tag_ + "failure:" + (exception ? exception->className() : "nil"));
}

void RecordingSessionObserver::sessionDidLogoutUser(const std::shared_ptr<HCSession>&,
                                                    const std::shared_ptr<HCUser>& user)
{
    log_.push_back(tag_ + "logout:" + idOf(user));
}

void RecordingSessionObserver::sessionDidLoginUser(const std::shared_ptr<HCSession>&,
                                                   const std::shared_ptr<HCUser>& user,
                                                   const std::shared_ptr<HCUser>& previousUser)
{
    log_.push_back(tag_ + "login:" + idOf(user) + "<-" + idOf(previousUser));
}

void JsonOutcome::onResponseJSON(const platform::ObjectPtr& object, uint32_t code)
{
    json = object;
    codes.push_back(code);
    if (journal) journal->push_back(name);
}

void JsonOutcome::onResponseText(const std::string& value, uint32_t)
{
    text = value;
}

std::string JsonOutcome::exceptionClass() const
{
    auto exception = platform::as<HCServerException>(json);
    return exception ? exception->className() : std::string();
}

void LoginFixture::SetUp()
{
    LiveServerTest::SetUp();
    platform::CookieStore::shared().deleteCookiesNamed(HCSession::kSessionCookieName);
    HCBootstrapService::initializeService();
    session = HCSession::initWithProductKey(localserver::defaults::kProductKey, localserver::defaults::kProductSecret);
    priority = std::make_shared<RecordingSessionObserver>("", observed);
    plain = std::make_shared<RecordingSessionObserver>("plain:", observed);
    session->addObserver(plain);
    session->addPriorityObserver(priority);
    HCXPClientHooks hooks;
    std::weak_ptr<HCSession> weak = session;
    hooks.session = [weak] { return weak.lock(); };
    HCXPClientHooks::install(hooks);
    HCClientStateQueries queries;
    queries.lastLoggedInUserId = [this] { return lastLoggedInUserId; };
    HCClientState::setQueries(queries);
}

void LoginFixture::TearDown()
{
    HCClientState::setQueries({});
    HCXPClientHooks::install({});
    HCBootstrapService::setClient(nullptr);
    HCBootstrapService::setOfflineSync(nullptr);
    HCBootstrapService::shutdownService();
    session = nullptr;
    platform::CookieStore::shared().deleteCookiesNamed(HCSession::kSessionCookieName);
    LiveServerTest::TearDown();
}

bool LoginFixture::waitForQuietSession()
{
    return waitUntil([&] { return session->sessionChangeAllowed() && session->queuedRequestCount() == 0; });
}

std::vector<std::string> LoginFixture::serverPaths() const
{
    std::vector<std::string> paths;
    for (const auto& entry : server->log().entries())
        paths.push_back(entry.request.method + " " + entry.request.path + " " + std::to_string(entry.status));
    return paths;
}

std::shared_ptr<HCXPRequest> LoginFixture::jsonRequest(const std::string& method, const std::string& path,
                                                       const std::shared_ptr<JsonOutcome>& outcome,
                                                       const std::shared_ptr<platform::Dictionary>& args)
{
    auto request = HCXPRequest::requestWithPath(path, method, args ? args : platform::Dictionary::make());
    request->onRespondJSON(outcome);
    request->onRespondText(outcome);
    return request;
}
