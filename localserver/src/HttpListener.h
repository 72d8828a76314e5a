#pragma once
// The HTTP side of the server, kept apart so that only its source includes
// the HTTP library. start() and stop() run on the owner's thread; the
// callback runs on the listener's connection threads, several at once.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "localserver/Request.h"

namespace localserver {

struct IncomingRequest {
    std::string method;
    std::string target;
    Params headers;
    std::string body;  // empty when refused
    // 413 when the body was larger than allowed, 400 when it could not be
    // read whole (broken chunking, the client gone); 0 when it arrived.
    int bodyRefused = 0;
};

struct Outcome {
    Outcome(bool dropIt, Reply replyWith) : drop(dropIt), reply(std::move(replyWith)) {}

    bool drop = false;  // close the connection without a reply
    Reply reply;
    // When set, the body's length is announced and its bytes go out one at
    // a time, each after this answers true; false ends the reply there.
    std::function<bool()> beforeEachByte;
};

class HttpListener {
public:
    using Callback = std::function<Outcome(const IncomingRequest&)>;

    HttpListener();
    ~HttpListener();
    HttpListener(const HttpListener&) = delete;
    HttpListener& operator=(const HttpListener&) = delete;

    // Binds 127.0.0.1:`port` (0 for an ephemeral one) and serves on a thread
    // of its own until stop(). Bodies above `maxBodyBytes` are not kept.
    bool start(int port, std::size_t maxBodyBytes, Callback callback, std::string& error);
    void stop();
    int port() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace localserver
