#include "FakeStompBroker.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <utility>

#include "transport/presence/HCPresenceSocket.h"

struct FakeStompBroker::Tls {
    EVP_PKEY* key = nullptr;
    X509* cert = nullptr;
    SSL_CTX* ctx = nullptr;
    ~Tls()
    {
        SSL_CTX_free(ctx);
        X509_free(cert);
        EVP_PKEY_free(key);
    }
};

namespace {

// A self-signed certificate for 127.0.0.1, its own authority.
void makeCertificate(EVP_PKEY*& key, X509*& cert)
{
    key = EVP_EC_gen("P-256");
    cert = X509_new();
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert), 2 * 24 * 3600);
    X509_set_pubkey(cert, key);
    auto* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("presence test"), -1,
                               -1, 0);
    X509_set_issuer_name(cert, name);
    X509V3_CTX v3;
    X509V3_set_ctx_nodb(&v3);
    X509V3_set_ctx(&v3, cert, cert, nullptr, nullptr, 0);
    const std::pair<int, const char*> extensions[] = {{NID_subject_alt_name, "IP:127.0.0.1"},
                                                      {NID_basic_constraints, "critical,CA:TRUE"}};
    for (const auto& [nid, value] : extensions) {
        X509_EXTENSION* e = X509V3_EXT_conf_nid(nullptr, &v3, nid, value);
        X509_add_ext(cert, e, -1);
        X509_EXTENSION_free(e);
    }
    X509_sign(cert, key, EVP_sha256());
}

}  // namespace

FakeStompBroker::FakeStompBroker() : tls_(std::make_unique<Tls>())
{
    makeCertificate(tls_->key, tls_->cert);
    tls_->ctx = SSL_CTX_new(TLS_server_method());
    SSL_CTX_use_certificate(tls_->ctx, tls_->cert);
    SSL_CTX_use_PrivateKey(tls_->ctx, tls_->key);

    char path[] = "/tmp/hc-presence-ca-XXXXXX";
    int fd = mkstemp(path);
    caFile_ = path;
    FILE* file = fdopen(fd, "w");
    PEM_write_X509(file, tls_->cert);
    fclose(file);

    listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(listenFd_, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(listenFd_, 8) != 0 ||
        getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("fake broker cannot listen");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

FakeStompBroker::~FakeStompBroker()
{
    stop_ = true;
    thread_.join();
    ::close(listenFd_);
    ::unlink(caFile_.c_str());
}

std::string FakeStompBroker::connected(const std::string& heartBeat)
{
    return HCStompFrame{"CONNECTED", {{"version", "1.2"}, {"heart-beat", heartBeat}}, {}}.encode();
}

void FakeStompBroker::setAnswer(std::function<std::string(const HCStompFrame&)> answer)
{
    std::lock_guard lock(mutex_);
    answer_ = std::move(answer);
}

void FakeStompBroker::push(std::string bytes, std::size_t piece)
{
    std::lock_guard lock(mutex_);
    if (piece == 0) piece = bytes.size();
    for (std::size_t at = 0; at < bytes.size(); at += piece) pending_.push_back(bytes.substr(at, piece));
}

void FakeStompBroker::prepareBurst(std::string start, std::size_t bytes)
{
    std::unique_lock lock(mutex_);
    burstStart_ = std::move(start);
    burstBytes_ = bytes;
    burstMade_ = burstGo_ = false;
    burstChanged_.wait_for(lock, std::chrono::seconds(30), [this] { return burstMade_; });
}

void FakeStompBroker::sendBurst(std::size_t limit)
{
    std::lock_guard lock(mutex_);
    burstGo_ = true;
    burstLimit_ = limit;
}

void FakeStompBroker::dropConnection()
{
    drop_ = true;
}

std::vector<HCStompFrame> FakeStompBroker::frames() const
{
    std::lock_guard lock(mutex_);
    return frames_;
}

void FakeStompBroker::serve()
{
    HCPresenceSocket::blockBrokenPipeSignal();
    while (!stop_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (poll(&p, 1, 20) != 1) continue;
        int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        ++connections_;
        serveConnection(fd);
        ++ended_;
        ::close(fd);
    }
}

namespace {

// False when the client is gone. A write the send time-out cut short is
// tried again (with the same bytes, as TLS asks) until the broker stops.
bool writeAll(SSL* ssl, const std::string& bytes, const std::atomic<bool>& stop)
{
    while (!stop) {
        int n = SSL_write(ssl, bytes.data(), static_cast<int>(bytes.size()));
        if (n > 0) return true;
        if (SSL_get_error(ssl, n) != SSL_ERROR_WANT_WRITE) return false;
    }
    return false;
}

// The TLS records of `start` and `bytes` filler bytes. From here on what
// the connection writes goes to memory, sent only as the caller sends it.
std::string encryptAhead(SSL* ssl, const std::string& start, std::size_t bytes)
{
    BIO* memory = BIO_new(BIO_s_mem());
    SSL_set0_wbio(ssl, memory);
    SSL_write(ssl, start.data(), static_cast<int>(start.size()));
    const std::string filler(256 * 1024, 'x');
    for (std::size_t made = 0; made < bytes; made += filler.size())
        SSL_write(ssl, filler.data(), static_cast<int>(filler.size()));
    char* data = nullptr;
    const long length = BIO_get_mem_data(memory, &data);
    std::string records(data, static_cast<std::size_t>(length));
    (void)BIO_reset(memory);
    return records;
}

// False when the client is gone.
bool sendRaw(int fd, const std::string& bytes, const std::atomic<bool>& stop)
{
    std::size_t sent = 0;
    while (sent < bytes.size() && !stop) {
        const auto n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            return false;
        }
    }
    return sent == bytes.size();
}

}  // namespace

void FakeStompBroker::serveConnection(int fd)
{
    SSL* ssl = SSL_new(tls_->ctx);
    SSL_set_fd(ssl, fd);
    drop_ = false;
    if (SSL_accept(ssl) != 1) {
        SSL_free(ssl);
        return;
    }
    // A client that stops reading must not hold the broker in a write.
    timeval sendTimeout{0, 50 * 1000};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &sendTimeout, sizeof sendTimeout);
    HCStompFrameReader reader(64 * 1024 * 1024);
    char chunk[4096];
    std::string burst;
    while (!stop_ && !drop_) {
        std::vector<std::string> out;
        bool sendBurstNow = false;
        std::size_t burstLimit = std::string::npos;
        {
            std::lock_guard lock(mutex_);
            out.swap(pending_);
            if (burstBytes_ > 0 && !burstMade_) {
                burst = encryptAhead(ssl, burstStart_, burstBytes_);
                burstMade_ = true;
                burstChanged_.notify_all();
            }
            sendBurstNow = std::exchange(burstGo_, false);
            burstLimit = burstLimit_;
        }
        bool written = true;
        for (const auto& bytes : out) written = written && writeAll(ssl, bytes, stop_);
        if (sendBurstNow) {
            // Cut in place: a copy of the records would count against the
            // client's heap in the memory tests.
            if (burstLimit < burst.size()) burst.resize(burstLimit);
            written = written && sendRaw(fd, std::exchange(burst, std::string()), stop_);
        }
        if (!written) break;
        pollfd p{fd, POLLIN, 0};
        if (SSL_pending(ssl) == 0 && poll(&p, 1, 10) != 1) continue;
        int n = SSL_read(ssl, chunk, sizeof chunk);
        if (n <= 0) break;
        reader.append(std::string_view(chunk, static_cast<size_t>(n)));
        HCStompFrame frame;
        while (reader.next(frame) == HCStompFrameReader::Status::Frame) {
            std::lock_guard lock(mutex_);
            frames_.push_back(frame);
            if (answer_) {
                auto answer = answer_(frame);
                if (!answer.empty()) pending_.push_back(std::move(answer));
            }
        }
        heartBeats_ = reader.heartBeatsSeen();
    }
    SSL_shutdown(ssl);
    SSL_free(ssl);
}
