#include "localserver/Server.h"

#include <cctype>
#include <chrono>
#include <deque>
#include <exception>
#include <mutex>

#include "HttpListener.h"
#include "localserver/FormCodec.h"
#include "localserver/Json.h"
#include "localserver/Multipart.h"
#include "localserver/OAuth.h"
#include "localserver/XPSignature.h"

namespace localserver {

namespace {

// The media type of a Content-Type value, lower-cased, without parameters.
std::string mediaTypeOf(const std::optional<std::string>& contentType)
{
    if (!contentType) {
        return {};
    }
    std::string media = contentType->substr(0, contentType->find(';'));
    while (!media.empty() && (media.back() == ' ' || media.back() == '\t')) {
        media.pop_back();
    }
    for (char& c : media) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return media;
}

bool isProtocolParameter(const std::string& name)
{
    return name.rfind("oauth_", 0) == 0;
}

bool validRoot(const std::string& root)
{
    return !root.empty() && root.front() == '/' && root.back() == '/' && root.find('?') == std::string::npos;
}

std::int64_t systemSeconds()
{
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// What the parser made of one request before any route saw it.
struct Parsed {
    Request request;
    Params signedParams;   // query, form body and the header's protocol parameters
    std::string rawPath;   // as sent, for the signature's base URI
    bool underRoot = false;
    std::string badRequest;  // why the request cannot be read; empty when it can
    int badStatus = 400;     // the status that answers it
};

Parsed parse(const IncomingRequest& in, const std::string& root)
{
    Parsed parsed;
    Request& req = parsed.request;
    req.method = in.method;
    req.target = in.target;
    req.headers = in.headers;
    req.body = in.body;

    const std::size_t question = in.target.find('?');
    parsed.rawPath = in.target.substr(0, question);
    const std::string query = question == std::string::npos ? std::string() : in.target.substr(question + 1);

    parsed.underRoot = parsed.rawPath.compare(0, root.size(), root) == 0;
    const auto path = percentDecode(parsed.underRoot ? parsed.rawPath.substr(root.size()) : parsed.rawPath, false);
    if (!path) {
        parsed.badRequest = "malformed path";
        return parsed;
    }
    req.path = *path;
    if (in.bodyRefused != 0) {
        parsed.badStatus = in.bodyRefused;
        parsed.badRequest = in.bodyRefused == 413 ? "request body too large" : "request body incomplete";
        return parsed;
    }

    auto queryParams = parseForm(query);
    if (!queryParams) {
        parsed.badRequest = "malformed query";
        return parsed;
    }
    Params all = *queryParams;
    parsed.signedParams = *queryParams;

    const auto contentType = req.header("Content-Type");
    const std::string mediaType = mediaTypeOf(contentType);
    if (mediaType == "application/x-www-form-urlencoded") {
        auto bodyParams = parseForm(in.body);
        if (!bodyParams) {
            parsed.badRequest = "malformed form body";
            return parsed;
        }
        all.insert(all.end(), bodyParams->begin(), bodyParams->end());
        parsed.signedParams.insert(parsed.signedParams.end(), bodyParams->begin(), bodyParams->end());
    } else if (mediaType == "multipart/form-data") {
        // Without a usable boundary the parts cannot be found; the route
        // must not run as if none had been sent.
        const auto boundary = multipartBoundary(*contentType);
        auto parts = boundary ? parseMultipart(in.body, *boundary) : std::nullopt;
        if (!parts) {
            parsed.badRequest = "malformed multipart body";
            return parsed;
        }
        for (auto& part : *parts) {
            if (part.filename) {
                req.files.push_back(FilePart{part.name, *part.filename, part.contentType, part.bytes});
            } else {
                all.emplace_back(part.name, part.bytes);
            }
        }
    }

    if (const auto authorization = req.header("Authorization")) {
        auto headerParams = oauth::parseAuthorizationHeader(*authorization);
        if (headerParams) {
            req.oauth = *headerParams;
            parsed.signedParams.insert(parsed.signedParams.end(), headerParams->begin(), headerParams->end());
        }
    }
    for (auto& pair : all) {
        if (pair.first == "parental_controls_enabled") {
            req.parentalControlsEnabled = std::move(pair.second);
            continue;
        }
        (isProtocolParameter(pair.first) ? req.oauth : req.params).push_back(std::move(pair));
    }
    return parsed;
}

}  // namespace

struct Server::Impl {
    explicit Impl(ServerOptions o) : options(std::move(o)), log(options.requestLogCapacity) {}

    ServerOptions options;
    std::optional<Broker> broker = options.broker ? std::optional<Broker>(*options.broker) : std::nullopt;
    std::string error;
    Accounts accounts;
    LoginState login;
    RequestLog log;
    Faults faults;
    RouteTable routes;
    HttpListener listener;
    bool started = false;

    std::mutex mutex;  // guards the two below
    std::deque<std::pair<std::string, XmlNode>> notifications;
    std::vector<std::string> brokerUsers;
    std::function<std::int64_t()> clock = systemSeconds;

    Outcome handle(const IncomingRequest& in)
    {
        Parsed parsed = parse(in, options.root);
        const std::size_t index = log.append(parsed.request);
        Outcome outcome = decide(parsed);
        log.finish(index, outcome.drop ? 0 : outcome.reply.status, outcome.drop);
        return outcome;
    }

    Outcome decide(Parsed& parsed)
    {
        Request& req = parsed.request;
        if (auto taken = faults.take(req.method, req.path,
                                     [&req](const std::string& name) { return req.param(name); })) {
            const Fault& fault = taken->fault;
            if ((fault.delay.count() > 0 && !faults.wait(fault.delay)) ||
                (fault.held && !faults.waitUntilReleased(taken->hold))) {
                return Outcome{true, {}};  // stopping: the waiting client sees the connection end
            }
            if (fault.drop) {
                return Outcome{true, {}};
            }
            if (fault.status != 0) {
                Reply reply;
                reply.status = fault.status;
                reply.body = fault.body;
                reply.contentType = fault.contentType;
                Outcome outcome{false, reply};
                if (fault.trickle.count() > 0) {
                    outcome.beforeEachByte = [this, interval = fault.trickle] { return faults.paceTrickle(interval); };
                }
                return outcome;
            }
        }
        if (!parsed.badRequest.empty()) {
            return Outcome{false, Reply::text(parsed.badStatus, parsed.badRequest)};
        }
        RouteMatch match;
        const auto lookup = parsed.underRoot ? routes.find(req.method, req.path, match) : RouteTable::Lookup::NoSuchPath;
        if (lookup == RouteTable::Lookup::NoSuchPath) {
            return Outcome{false, Reply::text(404, "no such resource")};
        }
        if (lookup == RouteTable::Lookup::WrongMethod) {
            return Outcome{false, Reply::text(405, "method not allowed")};
        }
        if (match.access == Access::Product) {
            const auto verdict = xp::verify(accounts, req);
            if (!verdict.ok) {
                return Outcome{false, json::exception(401, "InvalidSignature", verdict.reason)};
            }
            req.gameId = verdict.gameId;
        } else if (match.access != Access::Open) {
            const std::string host = req.header("Host").value_or("127.0.0.1:" + std::to_string(listener.port()));
            const auto verdict = oauth::verify(accounts, req.method, oauth::baseStringUri("http", host, parsed.rawPath),
                                               parsed.signedParams, match.access == Access::User);
            if (!verdict.ok) {
                return Outcome{false, Reply::text(401, verdict.reason)};
            }
            req.gameId = verdict.gameId;
            req.userId = verdict.userId;
        }
        req.pathParams = std::move(match.pathParams);

        Reply reply;
        try {
            reply = match.handler(req);
        } catch (const std::exception& e) {
            return Outcome{false, Reply::text(500, e.what())};
        } catch (...) {
            return Outcome{false, Reply::text(500, "handler failed")};
        }
        if (reply.status >= 200 && reply.status < 300) {
            addNotification(req.path, reply);
        }
        return Outcome{false, std::move(reply)};
    }

    void addNotification(const std::string& path, Reply& reply)
    {
        std::lock_guard lock(mutex);
        for (auto it = notifications.begin(); it != notifications.end(); ++it) {
            if (it->first != path) {
                continue;
            }
            if (auto body = insertIntoFirstResources(reply.body, it->second)) {
                reply.body = std::move(*body);
                notifications.erase(it);
            }
            return;  // a reply without "resources" keeps the notification for the next one
        }
    }
};

Server::Server() : Server(ServerOptions{}) {}

Server::Server(ServerOptions options) : impl_(std::make_unique<Impl>(std::move(options)))
{
    impl_->error = impl_->accounts.load(impl_->options.fixtures);
    if (impl_->error.empty() && !validRoot(impl_->options.root)) {
        impl_->error = "the service root must start and end with \"/\"";
    }
}

Server::~Server()
{
    stop();
    removePresenceUsers();
}

bool Server::start()
{
    if (!impl_->error.empty()) {
        return false;
    }
    if (impl_->started) {
        impl_->error = "the server was started before";
        return false;
    }
    impl_->started = true;
    impl_->faults.allowWaits();
    Impl* impl = impl_.get();
    return impl_->listener.start(
        impl_->options.port, impl_->options.maxBodyBytes, [impl](const IncomingRequest& in) { return impl->handle(in); },
        impl_->error);
}

void Server::stop()
{
    impl_->faults.interruptWaits();
    impl_->listener.stop();
}

const std::string& Server::error() const
{
    return impl_->error;
}

int Server::port() const
{
    return impl_->listener.port();
}

std::string Server::baseUrl() const
{
    return "http://127.0.0.1:" + std::to_string(port()) + "/";
}

std::string Server::serviceRootUrl() const
{
    return "http://127.0.0.1:" + std::to_string(port()) + impl_->options.root;
}

void Server::addRoute(const std::string& method, const std::string& pattern, Access access, Handler handler)
{
    impl_->routes.add(method, pattern, access, std::move(handler));
}

std::vector<RouteTable::Entry> Server::routes() const
{
    return impl_->routes.entries();
}

Accounts& Server::accounts()
{
    return impl_->accounts;
}

LoginState& Server::login()
{
    return impl_->login;
}

RequestLog& Server::log()
{
    return impl_->log;
}

Faults& Server::faults()
{
    return impl_->faults;
}

const Fixtures& Server::fixtures() const
{
    return impl_->options.fixtures;
}

const Broker* Server::broker() const
{
    return impl_->broker ? &*impl_->broker : nullptr;
}

std::optional<std::string> Server::addPresenceUser(const Token& token)
{
    if (!impl_->broker || !impl_->broker->addUser(token.token, token.secret)) return std::nullopt;
    std::lock_guard lock(impl_->mutex);
    impl_->brokerUsers.push_back(token.token);
    return impl_->broker->presenceQueue(token.userId);
}

int Server::presenceConnections()
{
    if (!impl_->broker) return -1;
    std::lock_guard lock(impl_->mutex);
    return impl_->broker->connectionsOf(impl_->brokerUsers, false);
}

int Server::closePresenceConnections()
{
    if (!impl_->broker) return -1;
    std::lock_guard lock(impl_->mutex);
    return impl_->broker->connectionsOf(impl_->brokerUsers, true);
}

void Server::removePresenceUsers()
{
    if (!impl_->broker) return;
    std::vector<std::string> users;
    {
        std::lock_guard lock(impl_->mutex);
        users.swap(impl_->brokerUsers);
    }
    for (const auto& user : users) impl_->broker->removeUser(user);
}

bool Server::publishPresence(const std::string& userId, const XmlNode& resource)
{
    if (!impl_->broker) return false;
    ResourceList list;
    list.resources.push_back(resource);
    return impl_->broker->publish(impl_->broker->presenceQueue(userId), writeFlatReply(list));
}

void Server::injectServerNotification(const std::string& path, const XmlNode& notification)
{
    std::lock_guard lock(impl_->mutex);
    impl_->notifications.emplace_back(path, notification);
}

void Server::setClock(std::function<std::int64_t()> secondsSinceEpoch)
{
    std::lock_guard lock(impl_->mutex);
    impl_->clock = secondsSinceEpoch ? std::move(secondsSinceEpoch) : systemSeconds;
}

std::int64_t Server::now() const
{
    std::function<std::int64_t()> clock;
    {
        std::lock_guard lock(impl_->mutex);
        clock = impl_->clock;
    }
    return clock();
}

}  // namespace localserver
