#pragma once
// A STOMP peer over TLS on 127.0.0.1 that the presence tests script: it
// answers each frame the client sends with the bytes `answer` returns, can
// push bytes (whole, or trickled in small TLS records), burst a frame far
// past any limit or drop the connection at any moment, and records every
// frame and every connection. Its certificate is made at construction and written
// to caFile() for the client to trust.
//
// Thread: serves on a thread of its own; every accessor locks.
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "transport/presence/HCStompFrame.h"

class FakeStompBroker {
public:
    FakeStompBroker();
    ~FakeStompBroker();

    int port() const { return port_; }
    const std::string& caFile() const { return caFile_; }

    // What to write back for a frame of the client; empty: nothing.
    void setAnswer(std::function<std::string(const HCStompFrame&)> answer);
    // Bytes for the current connection (written once it exists), in one
    // TLS record per `piece` bytes when `piece` is not 0.
    void push(std::string bytes, std::size_t piece = 0);
    // `start` and `bytes` more bytes of the same frame, made into TLS
    // records ahead (returns once they are made) and written as fast as the
    // socket takes them after sendBurst(): a broker that encrypted as it
    // went would send no faster than the client decrypts. A `limit` sends
    // only that many bytes of the records, and the broker then stalls.
    void prepareBurst(std::string start, std::size_t bytes);
    void sendBurst(std::size_t limit = std::string::npos);
    // Ends the current connection from the broker's side.
    void dropConnection();

    std::vector<HCStompFrame> frames() const;
    int connections() const { return connections_.load(); }
    // Connections the client ended (or that ended while the broker waited on them).
    int connectionsEnded() const { return ended_.load(); }
    std::size_t heartBeatsReceived() const { return heartBeats_.load(); }

    static std::string connected(const std::string& heartBeat = "0,0");

private:
    void serve();
    void serveConnection(int fd);

    struct Tls;
    std::unique_ptr<Tls> tls_;
    int listenFd_ = -1;
    int port_ = 0;
    std::string caFile_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> drop_{false};
    std::atomic<int> connections_{0};
    std::atomic<int> ended_{0};
    std::atomic<std::size_t> heartBeats_{0};
    mutable std::mutex mutex_;
    std::function<std::string(const HCStompFrame&)> answer_;
    std::vector<std::string> pending_;  // one TLS write each
    std::string burstStart_;
    std::size_t burstBytes_ = 0;
    bool burstMade_ = false;
    bool burstGo_ = false;
    std::size_t burstLimit_ = std::string::npos;
    std::condition_variable burstChanged_;
    std::vector<HCStompFrame> frames_;
    std::thread thread_;
};
