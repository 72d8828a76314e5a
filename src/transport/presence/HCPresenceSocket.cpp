#include "transport/presence/HCPresenceSocket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

using WallClock = std::chrono::steady_clock;

int millisecondsLeft(WallClock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - WallClock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

std::string sslErrorText()
{
    unsigned long code = ERR_get_error();
    ERR_clear_error();
    if (code == 0) return "connection failed";
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    return text;
}

bool setNonBlocking(int fd)
{
    int flags = fcntl(fd, F_GETFL, 0);
    return flags >= 0 && fcntl(fd, F_SETFL, flags | O_NONBLOCK) == 0;
}

bool isAddress(const std::string& host)
{
    unsigned char buffer[16];
    return inet_pton(AF_INET, host.c_str(), buffer) == 1 || inet_pton(AF_INET6, host.c_str(), buffer) == 1;
}

// A non-blocking TCP connection to the first address that answers in time.
int connectTcp(const std::string& host, int port, WallClock::time_point deadline, std::string& error)
{
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    int rc = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
    if (rc != 0) {
        error = std::string("cannot resolve ") + host + ": " + gai_strerror(rc);
        return -1;
    }
    int fd = -1;
    error = "cannot connect to " + host;
    for (auto* a = found; a && fd < 0; a = a->ai_next) {
        fd = socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
        if (fd < 0) continue;
        if (!setNonBlocking(fd)) {
            ::close(fd);
            fd = -1;
            continue;
        }
        if (::connect(fd, a->ai_addr, a->ai_addrlen) != 0 && errno != EINPROGRESS) {
            error = "cannot connect: " + std::string(std::strerror(errno));
            ::close(fd);
            fd = -1;
            continue;
        }
        pollfd p{fd, POLLOUT, 0};
        int soError = 0;
        socklen_t len = sizeof soError;
        if (poll(&p, 1, millisecondsLeft(deadline)) != 1 || getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len) != 0 ||
            soError != 0) {
            error = soError ? "cannot connect: " + std::string(std::strerror(soError)) : "connect timed out";
            ::close(fd);
            fd = -1;
        }
    }
    freeaddrinfo(found);
    return fd;
}

}  // namespace

HCPresenceSocket::HCPresenceSocket() = default;

HCPresenceSocket::~HCPresenceSocket()
{
    close();
}

std::string HCPresenceSocket::open(const Options& options)
{
    close();
    writeTimeout_ = options.wallTimeoutSeconds;
    const auto deadline = WallClock::now() + std::chrono::milliseconds(static_cast<long>(options.wallTimeoutSeconds * 1000));
    std::string error;
    fd_ = connectTcp(options.host, options.port, deadline, error);
    if (fd_ < 0) return error;

    ctx_ = SSL_CTX_new(TLS_client_method());
    if (!ctx_) return sslErrorText();
    SSL_CTX_set_min_proto_version(ctx_, TLS1_2_VERSION);
    SSL_CTX_set_verify(ctx_, SSL_VERIFY_PEER, nullptr);
    SSL_CTX_set_default_verify_paths(ctx_);
    if (!options.caFile.empty() && SSL_CTX_load_verify_locations(ctx_, options.caFile.c_str(), nullptr) != 1) {
        error = "cannot read the trusted authorities: " + sslErrorText();
        close();
        return error;
    }
    ssl_ = SSL_new(ctx_);
    if (!ssl_ || SSL_set_fd(ssl_, fd_) != 1) {
        error = sslErrorText();
        close();
        return error;
    }
    if (isAddress(options.host)) {
        X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_), options.host.c_str());
    } else {
        SSL_set_tlsext_host_name(ssl_, options.host.c_str());
        SSL_set1_host(ssl_, options.host.c_str());
    }
    for (;;) {
        int rc = SSL_connect(ssl_);
        if (rc == 1) break;
        int why = SSL_get_error(ssl_, rc);
        if ((why == SSL_ERROR_WANT_READ || why == SSL_ERROR_WANT_WRITE) &&
            waitFor(why, millisecondsLeft(deadline) / 1000.0))
            continue;
        long verify = SSL_get_verify_result(ssl_);
        error = verify != X509_V_OK ? std::string("certificate refused: ") + X509_verify_cert_error_string(verify)
                                    : "handshake failed: " + sslErrorText();
        close();
        return error;
    }
    if (pipe2(wakePipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        close();
        return "cannot make a wake pipe";
    }
    return std::string();
}

bool HCPresenceSocket::waitFor(int sslError, double wallSeconds)
{
    pollfd p{fd_, static_cast<short>(sslError == SSL_ERROR_WANT_WRITE ? POLLOUT : POLLIN), 0};
    return poll(&p, 1, static_cast<int>(wallSeconds * 1000)) == 1;
}

void HCPresenceSocket::startReading(std::function<void(std::string)> bytes, std::function<void(std::string)> closed)
{
    if (!ssl_ || reader_.joinable()) return;
    onBytes_ = std::move(bytes);
    onClosed_ = std::move(closed);
    {
        std::lock_guard lock(flowMutex_);
        chunkOut_ = false;
        stopping_ = false;
    }
    reader_ = std::thread([this] { readLoop(); });
}

void HCPresenceSocket::readMore()
{
    {
        std::lock_guard lock(flowMutex_);
        chunkOut_ = false;
    }
    flow_.notify_one();
}

bool HCPresenceSocket::waitForReadMore()
{
    std::unique_lock lock(flowMutex_);
    flow_.wait(lock, [this] { return !chunkOut_ || stopping_; });
    return !stopping_;
}

void HCPresenceSocket::blockBrokenPipeSignal()
{
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
}

void HCPresenceSocket::readLoop()
{
    blockBrokenPipeSignal();
    char chunk[kChunkBytes];
    while (waitForReadMore()) {
        // Decrypted bytes OpenSSL holds are read at once; otherwise the loop
        // waits on the socket. That is right only while OpenSSL's read-ahead
        // stays off (its default; nothing here turns it on): OpenSSL then
        // takes no byte past the record it is reading, so what it holds raw
        // is at most the start of one record whose rest is still to come on
        // the socket, and the poll wakes for it. With read-ahead on, a whole
        // further record could sit in OpenSSL's buffer behind a quiet socket
        // until the peer sent more. Reading without waiting is no way out: a
        // half record answers "want read" at once, and asking again spins a
        // core.
        bool buffered = false;
        {
            std::lock_guard lock(sslMutex_);
            buffered = SSL_pending(ssl_) > 0;
        }
        if (!buffered) {
            pollfd p[2] = {{fd_, POLLIN, 0}, {wakePipe_[0], POLLIN, 0}};
            if (poll(p, 2, -1) < 0) {
                if (errno == EINTR) continue;
                onClosed_("poll failed");
                return;
            }
            if (p[1].revents) return;  // close() asked us to stop
        }
        std::string closedWhy;
        const long n = readOnce(chunk, closedWhy);
        if (n < 0) {
            onClosed_(closedWhy);
            return;
        }
        if (n == 0) continue;
        {
            std::lock_guard lock(flowMutex_);
            chunkOut_ = true;
        }
        onBytes_(std::string(chunk, static_cast<size_t>(n)));
    }
}

long HCPresenceSocket::readOnce(char* chunk, std::string& closedWhy)
{
    std::lock_guard lock(sslMutex_);
    const int n = SSL_read(ssl_, chunk, static_cast<int>(kChunkBytes));
    if (n > 0) return n;
    const int why = SSL_get_error(ssl_, n);
    if (why == SSL_ERROR_WANT_READ || why == SSL_ERROR_WANT_WRITE) return 0;
    closedWhy = why == SSL_ERROR_ZERO_RETURN || (why == SSL_ERROR_SYSCALL && ERR_peek_error() == 0)
                    ? "closed by the peer"
                    : "read failed: " + sslErrorText();
    return -1;
}

bool HCPresenceSocket::write(std::string_view bytes)
{
    std::lock_guard lock(sslMutex_);
    if (!ssl_) return false;
    while (!bytes.empty()) {
        int n = SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size()));
        if (n > 0) {
            bytes.remove_prefix(static_cast<size_t>(n));
            continue;
        }
        int why = SSL_get_error(ssl_, n);
        if ((why == SSL_ERROR_WANT_WRITE || why == SSL_ERROR_WANT_READ) && waitFor(why, writeTimeout_)) continue;
        ERR_clear_error();
        return false;
    }
    return true;
}

void HCPresenceSocket::close()
{
    {
        std::lock_guard lock(flowMutex_);
        stopping_ = true;
    }
    flow_.notify_all();
    if (wakePipe_[1] >= 0) {
        char stop = 0;
        [[maybe_unused]] auto n = ::write(wakePipe_[1], &stop, 1);
    }
    if (reader_.joinable()) {
        if (reader_.get_id() == std::this_thread::get_id())
            reader_.detach();
        else
            reader_.join();
    }
    std::lock_guard lock(sslMutex_);
    if (ssl_) {
        SSL_shutdown(ssl_);
        SSL_free(ssl_);
        ssl_ = nullptr;
    }
    if (ctx_) {
        SSL_CTX_free(ctx_);
        ctx_ = nullptr;
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    for (int& end : wakePipe_) {
        if (end >= 0) ::close(end);
        end = -1;
    }
    ERR_clear_error();
}
