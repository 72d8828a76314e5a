#include "localserver/Broker.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <thread>

namespace localserver {

namespace {

constexpr int kTimeoutMs = 5000;

std::string pathSegment(const std::string& text)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string jsonString(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

// STOMP header values escape backslash, newline, carriage return and colon.
std::string headerValue(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == ':') out += "\\c";
        else out += c;
    }
    return out;
}

// One plain TCP connection to 127.0.0.1 with blocking reads bounded in time.
class Connection {
public:
    explicit Connection(int port)
    {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (fd_ >= 0 && connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~Connection()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    bool ok() const { return fd_ >= 0; }

    bool send(const std::string& bytes)
    {
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            auto n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) return false;
            sent += static_cast<std::size_t>(n);
        }
        return true;
    }

    // The next frame's command line (the rest of the frame is skipped);
    // empty on time-out or close.
    std::string nextCommand()
    {
        for (;;) {
            auto nul = buffer_.find('\0');
            if (nul != std::string::npos) {
                std::string frame = buffer_.substr(0, nul);
                buffer_.erase(0, nul + 1);
                frame.erase(0, frame.find_first_not_of("\r\n"));
                if (frame.empty()) continue;
                return frame.substr(0, frame.find('\n'));
            }
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, kTimeoutMs) != 1) return std::string();
            char chunk[4096];
            auto n = ::recv(fd_, chunk, sizeof chunk, 0);
            if (n <= 0) return std::string();
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }

private:
    int fd_ = -1;
    std::string buffer_;
};

// CONNECT as `login` to the default virtual host; true once CONNECTED came.
bool logIn(Connection& connection, const std::string& login, const std::string& passcode)
{
    const std::string connect = "CONNECT\naccept-version:1.2\nhost:/\nlogin:" + login + "\npasscode:" + passcode +
                                "\n\n" + std::string(1, '\0');
    return connection.ok() && connection.send(connect) && connection.nextCommand() == "CONNECTED";
}

}  // namespace

bool Broker::addUser(const std::string& name, const std::string& password) const
{
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long>(options_.newUserSeconds * 1000));
    for (;;) {
        if (putUser(name, password) && canLogIn(name, password)) return true;
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

bool Broker::canLogIn(const std::string& name, const std::string& password) const
{
    Connection connection(options_.stompPort);
    if (!logIn(connection, name, password)) return false;
    // Gone from the broker's connections before the caller counts them.
    connection.send("DISCONNECT\nreceipt:gone\n\n" + std::string(1, '\0'));
    connection.nextCommand();
    return true;
}

bool Broker::putUser(const std::string& name, const std::string& password) const
{
    httplib::Client client("127.0.0.1", options_.managementPort);
    client.set_basic_auth(options_.adminUser, options_.adminPassword);
    client.set_connection_timeout(std::chrono::seconds(5));
    const auto user = client.Put("/api/users/" + pathSegment(name),
                                 "{\"password\":" + jsonString(password) + ",\"tags\":\"\"}", "application/json");
    if (!user || user->status / 100 != 2) return false;
    const auto rights = client.Put("/api/permissions/%2F/" + pathSegment(name),
                                   R"({"configure":".*","write":".*","read":".*"})", "application/json");
    return rights && rights->status / 100 == 2;
}

bool Broker::removeUser(const std::string& name) const
{
    httplib::Client client("127.0.0.1", options_.managementPort);
    client.set_basic_auth(options_.adminUser, options_.adminPassword);
    const auto reply = client.Delete("/api/users/" + pathSegment(name));
    return reply && reply->status / 100 == 2;
}

int Broker::connectionsOf(const std::vector<std::string>& users, bool close) const
{
    httplib::Client client("127.0.0.1", options_.managementPort);
    client.set_basic_auth(options_.adminUser, options_.adminPassword);
    // The per-user view reads the broker's connection table at once (the
    // general list waits for the next statistics round).
    int total = 0;
    for (const auto& user : users) {
        const std::string path = "/api/connections/username/" + pathSegment(user);
        const auto list = client.Get(path);
        if (!list || list->status != 200) return -1;
        int count = 0;
        for (std::size_t at = list->body.find("\"name\":"); at != std::string::npos;
             at = list->body.find("\"name\":", at + 1))
            ++count;
        if (count > 0 && close) {
            const auto reply = client.Delete(path);
            if (!reply || reply->status / 100 != 2) return -1;
        }
        total += count;
    }
    return total;
}

bool Broker::publish(const std::string& destination, const std::string& body) const
{
    Connection connection(options_.stompPort);
    if (!logIn(connection, options_.adminUser, options_.adminPassword)) return false;
    const std::string send = "SEND\ndestination:" + headerValue(destination) +
                             "\ncontent-type:application/xml\nreceipt:sent\ncontent-length:" +
                             std::to_string(body.size()) + "\n\n" + body + std::string(1, '\0');
    if (!connection.send(send) || connection.nextCommand() != "RECEIPT") return false;
    connection.send("DISCONNECT\n\n" + std::string(1, '\0'));
    return true;
}

}  // namespace localserver
