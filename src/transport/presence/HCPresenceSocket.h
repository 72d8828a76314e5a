#pragma once
// One TLS connection over TCP for the presence channel, on OpenSSL.
//
// open() connects and shakes hands with the peer's certificate verified
// (the system's authorities plus an optional PEM file) and its name checked
// against the host; it blocks its caller for at most the given wall time, so
// it runs on the presence thread, never on the main thread. Reading then
// happens on a thread of the socket's own, which hands the bytes on as they
// come, at most kChunkBytes at a time and the next chunk only once the owner
// asked for more: a peer that sends without end costs one chunk, not what it
// managed to send. Every TLS call is made under one lock, held for one read
// at a time, so writes (heart-beats) from another thread wait for no more
// than that.
//
// Thread: open, startReading, write and close on the owner's thread (the
// presence thread), readMore on any; the callbacks run on the reading thread.
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

struct ssl_st;
struct ssl_ctx_st;

class HCPresenceSocket final {
public:
    struct Options {
        std::string host;
        int port = 0;
        std::string caFile;             // extra trusted authorities (PEM); empty: the system's only
        double wallTimeoutSeconds = 10;  // connect, handshake and each blocked write
    };

    // What one TLS record holds at most.
    static constexpr std::size_t kChunkBytes = 16 * 1024;

    HCPresenceSocket();
    ~HCPresenceSocket();
    HCPresenceSocket(const HCPresenceSocket&) = delete;
    HCPresenceSocket& operator=(const HCPresenceSocket&) = delete;

    // Empty on success, else why it failed.
    std::string open(const Options& options);
    // `bytes` gets what arrives, one chunk at a time; `closed` once when the
    // peer or the network ends the connection (never after close()), after
    // the last chunk was asked for.
    void startReading(std::function<void(std::string bytes)> bytes, std::function<void(std::string reason)> closed);
    // The chunk handed on was dealt with: the next may come.
    void readMore();
    // False when the connection is gone or the write timed out.
    bool write(std::string_view bytes);
    // Ends the connection and joins the reading thread; safe to repeat.
    void close();

    // A write to a connection the peer has closed must fail, not end the
    // process: blocks SIGPIPE on the calling thread. Every thread that
    // writes (or reads: TLS may write while reading) calls it once.
    static void blockBrokenPipeSignal();

private:
    void readLoop();
    // Until readMore() or close(); false for close().
    bool waitForReadMore();
    // One TLS read into `chunk`: its length, 0 to wait for the socket, or
    // -1 with `closedWhy` set.
    long readOnce(char* chunk, std::string& closedWhy);
    // Waits until the socket can do what the last TLS call asked for.
    bool waitFor(int sslError, double wallSeconds);

    std::mutex sslMutex_;  // every SSL_* call on ssl_
    ssl_ctx_st* ctx_ = nullptr;
    ssl_st* ssl_ = nullptr;
    int fd_ = -1;
    int wakePipe_[2] = {-1, -1};
    double writeTimeout_ = 10;
    std::mutex flowMutex_;
    std::condition_variable flow_;
    bool chunkOut_ = false;  // handed on, not yet dealt with
    bool stopping_ = false;
    std::thread reader_;
    std::function<void(std::string)> onBytes_;
    std::function<void(std::string)> onClosed_;
};
