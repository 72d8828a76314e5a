#pragma once
// One STOMP 1.2 session over one TLS connection: CONNECT with the player's
// credentials and heart-beats, SUBSCRIBE to one destination, then every
// MESSAGE body handed on, heart-beats sent and watched.
//
// The session ends, telling `closed` once with the reason, when the peer
// closes, sends an ERROR frame, a malformed frame or one over the frame
// limit, does not answer CONNECT in time, or stays silent past twice the
// agreed heart-beat interval. Heart-beats, the CONNECT time-out and the
// silence check read platform::Clock, so a manual clock decides them.
//
// Thread: made, started, stopped and told everything on one thread with a
// run loop (the presence thread); start() blocks that thread for the TCP and
// TLS set-up, bounded by the socket's wall time-out.
#include <functional>
#include <memory>
#include <string>

#include "platform/runtime/RunLoop.h"
#include "platform/runtime/ThreadChecker.h"
#include "transport/presence/HCPresenceSocket.h"
#include "transport/presence/HCStompFrame.h"

class HCStompSession final : public platform::Object {
public:
    struct Config {
        HCPresenceSocket::Options socket;
        std::string virtualHost = "/";
        std::string login;
        std::string passcode;
        std::string destination;
        double heartBeatSeconds = 10;      // asked for each way
        double connectTimeoutSeconds = 10;  // for the CONNECTED answer
        std::size_t maxFrameBytes = HCStompFrameReader::kDefaultMaxFrameBytes;
    };
    struct Listener {
        std::function<void()> subscribed;  // CONNECTED came and SUBSCRIBE went out
        std::function<void(const std::string& body)> message;
        std::function<void(const std::string& reason)> closed;
    };

    HCStompSession(Config config, Listener listener);
    ~HCStompSession() override;

    // Connects and sends CONNECT; a failure is told through `closed`, later.
    void start();
    // Ends the session without telling `closed`.
    void stop();
    bool isSubscribed() const { return subscribed_; }
    const Config& config() const { return config_; }

private:
    void received(const std::string& bytes);
    void handle(const HCStompFrame& frame);
    void connected(const HCStompFrame& frame);
    void end(const std::string& reason);
    void checkSilence();
    bool send(const std::string& bytes);

    Config config_;
    Listener listener_;
    platform::ThreadChecker checker_;
    std::shared_ptr<platform::RunLoop> loop_;
    HCPresenceSocket socket_;
    HCStompFrameReader reader_;
    bool running_ = false;
    bool subscribed_ = false;
    double lastReceived_ = 0;
    double silenceLimit_ = 0;
    std::shared_ptr<platform::Timer> sendTimer_;
    std::shared_ptr<platform::Timer> watchTimer_;
    std::shared_ptr<platform::Timer> connectTimer_;
};
