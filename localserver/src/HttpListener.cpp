#include "HttpListener.h"

#include <httplib.h>
#include <signal.h>
#include <strings.h>
#include <sys/socket.h>

#include <atomic>
#include <optional>
#include <thread>

#include "ConnectionDrop.h"

namespace localserver {

namespace {

// The library parses multipart bodies itself and then hands out the parts
// unordered and without the raw body. Before it reads a body, the routing
// hook hides a multipart Content-Type behind an opaque one and parks the
// real value here, on the thread that goes on to serve the same request.
thread_local std::optional<std::string> hiddenContentType;

bool startsWithNoCase(const std::string& text, const char* prefix)
{
    return strncasecmp(text.c_str(), prefix, std::strlen(prefix)) == 0;
}

// Headers the library adds to every request for its own handlers.
bool isLibraryHeader(const std::string& name)
{
    return name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" || name == "LOCAL_PORT";
}

}  // namespace

struct HttpListener::State {
    httplib::Server server;
    std::thread thread;
    std::atomic<bool> listenReturned{false};
    int port = 0;
    std::size_t maxBodyBytes = 0;
    Callback callback;

    void serve(const httplib::Request& req, httplib::Response& res, std::string body, int bodyRefused)
    {
        IncomingRequest in;
        in.method = req.method;
        in.target = req.target;
        for (const auto& [name, value] : req.headers) {
            if (isLibraryHeader(name)) {
                continue;
            }
            const bool hidden = hiddenContentType && strcasecmp(name.c_str(), "Content-Type") == 0;
            in.headers.emplace_back(name, hidden ? *hiddenContentType : value);
        }
        hiddenContentType.reset();
        in.body = std::move(body);
        in.bodyRefused = bodyRefused;

        Outcome outcome = callback(in);
        if (outcome.drop) {
            dropConnection(port, req.remote_port);
            res.status = 500;  // written to the stand-in, never seen
            return;
        }
        res.status = outcome.reply.status;
        for (const auto& [name, value] : outcome.reply.headers) {
            res.set_header(name, value);
        }
        if (!outcome.beforeEachByte) {
            res.set_content(outcome.reply.body, outcome.reply.contentType);
            return;
        }
        auto bytes = std::make_shared<std::string>(std::move(outcome.reply.body));
        res.set_content_provider(bytes->size(), outcome.reply.contentType,
                                 [bytes, next = std::move(outcome.beforeEachByte)](size_t offset, size_t,
                                                                                  httplib::DataSink& sink) {
                                     return next() && sink.write(bytes->data() + offset, 1);
                                 });
    }
};

HttpListener::HttpListener() : state_(std::make_unique<State>()) {}

HttpListener::~HttpListener()
{
    stop();
}

bool HttpListener::start(int port, std::size_t maxBodyBytes, Callback callback, std::string& error)
{
    State& s = *state_;
    s.callback = std::move(callback);
    s.maxBodyBytes = maxBodyBytes;

    // The library's default sets SO_REUSEPORT, which could let two servers
    // share a port; plain SO_REUSEADDR is what a listener needs.
    s.server.set_socket_options([](socket_t sock) {
        int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    // One request per connection: a connection left idle by a client would
    // otherwise hold a worker, and stop() with it, for the keep-alive time.
    s.server.set_keep_alive_max_count(1);
    // The library holds a declared Content-Length to this itself; chunked
    // bodies and bodies ended by the connection are held to it below.
    s.server.set_payload_max_length(maxBodyBytes);

    s.server.set_pre_routing_handler([](const httplib::Request& req, httplib::Response&) {
        hiddenContentType.reset();
        // The request object is the library's own mutable one, handed out as
        // const; changing a header before the body is read is safe.
        auto& headers = const_cast<httplib::Headers&>(req.headers);
        const auto found = headers.find("Content-Type");
        if (found != headers.end() && startsWithNoCase(found->second, "multipart/")) {
            hiddenContentType = found->second;
            headers.erase("Content-Type");
            headers.emplace("Content-Type", "application/octet-stream");
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });

    auto withoutBody = [&s](const httplib::Request& req, httplib::Response& res) { s.serve(req, res, {}, 0); };
    // A body that did not arrive whole must not reach a route as if it had.
    auto withBody = [&s](const httplib::Request& req, httplib::Response& res, const httplib::ContentReader& reader) {
        std::string body;
        bool tooLarge = false;
        const bool whole = reader([&](const char* data, size_t length) {
            if (length > s.maxBodyBytes - body.size()) {
                tooLarge = true;
                return false;
            }
            body.append(data, length);
            return true;
        });
        if (!whole) {
            // The library has set 413 itself when a declared length was too large.
            s.serve(req, res, {}, tooLarge || res.status == 413 ? 413 : 400);
            return;
        }
        s.serve(req, res, std::move(body), 0);
    };
    s.server.Get(".*", withoutBody);
    s.server.Delete(".*", withoutBody);
    s.server.Post(".*", withBody);
    s.server.Put(".*", withBody);
    s.server.Patch(".*", withBody);
    s.server.Delete(".*", withBody);

    if (port == 0) {
        s.port = s.server.bind_to_any_port("127.0.0.1");
    } else {
        s.port = s.server.bind_to_port("127.0.0.1", port) ? port : -1;
    }
    if (s.port <= 0) {
        error = "cannot listen on 127.0.0.1:" + std::to_string(port);
        s.port = 0;
        return false;
    }

    s.thread = std::thread([&s] {
        // The connection threads start from this one and inherit its mask: a
        // client that hung up must cost a failed write, not the process.
        sigset_t pipe;
        sigemptyset(&pipe);
        sigaddset(&pipe, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
        s.server.listen_after_bind();
        s.listenReturned = true;
    });
    // stop() is only heard once the accept loop runs; the socket already
    // listens, so this wait is the few instructions until the loop starts.
    while (!s.server.is_running() && !s.listenReturned) {
        std::this_thread::yield();
    }
    return true;
}

void HttpListener::stop()
{
    State& s = *state_;
    if (!s.thread.joinable()) {
        return;
    }
    s.server.stop();
    s.thread.join();
}

int HttpListener::port() const
{
    return state_->port;
}

}  // namespace localserver
