#include "transport/presence/HCStompSession.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "platform/runtime/Clock.h"
#include "platform/runtime/Thread.h"

namespace {

long long toMilliseconds(double seconds)
{
    return std::llround(seconds * 1000);
}

// "cx,cy" of a heart-beat header; 0,0 when absent or unreadable.
std::pair<long long, long long> heartBeatOf(const HCStompFrame& frame)
{
    auto value = frame.header("heart-beat");
    if (!value) return {0, 0};
    auto comma = value->find(',');
    if (comma == std::string::npos) return {0, 0};
    try {
        return {std::max(0LL, std::stoll(value->substr(0, comma))), std::max(0LL, std::stoll(value->substr(comma + 1)))};
    } catch (const std::exception&) {
        return {0, 0};
    }
}

// Text from the wire, made fit for one log line: the peer writes it, so a
// line end in it would forge log lines of its own and a terminal escape
// would reach whoever reads the log. Every byte outside printable ASCII is
// written as \xNN (a backslash as \\), and what is kept is bounded.
std::string loggable(std::string_view wire)
{
    static constexpr std::size_t kKeptBytes = 200;
    static constexpr const char* kHex = "0123456789abcdef";
    std::string out;
    for (unsigned char c : wire.substr(0, kKeptBytes)) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    if (wire.size() > kKeptBytes) out += "... (" + std::to_string(wire.size()) + " bytes)";
    return out;
}

}  // namespace

HCStompSession::HCStompSession(Config config, Listener listener)
    : config_(std::move(config)), listener_(std::move(listener)), reader_(config_.maxFrameBytes)
{
}

HCStompSession::~HCStompSession()
{
    if (sendTimer_) sendTimer_->invalidate();
    if (watchTimer_) watchTimer_->invalidate();
    if (connectTimer_) connectTimer_->invalidate();
    socket_.close();
}

void HCStompSession::start()
{
    HC_CHECK_THREAD(checker_);
    loop_ = platform::Thread::current()->runLoop();
    running_ = true;
    std::weak_ptr<HCStompSession> weak = platform::self(this);
    // The time-out covers the TCP and TLS set-up too, and is armed before
    // anything reaches the peer.
    connectTimer_ = loop_->scheduleTimer(config_.connectTimeoutSeconds, false, [weak](platform::Timer&) {
        if (auto session = weak.lock(); session && !session->subscribed_) session->end("no answer to CONNECT");
    });
    const auto failed = socket_.open(config_.socket);
    if (!failed.empty()) {
        // Told on a later turn, as every other ending is.
        loop_->post([weak, failed] {
            if (auto session = weak.lock()) session->end(failed);
        });
        return;
    }
    auto loop = loop_;
    socket_.startReading(
        [weak, loop](std::string bytes) {
            loop->post([weak, bytes = std::move(bytes)] {
                if (auto session = weak.lock()) session->received(bytes);
            });
        },
        [weak, loop](std::string reason) {
            loop->post([weak, reason = std::move(reason)] {
                if (auto session = weak.lock()) session->end(reason);
            });
        });

    const auto beat = std::to_string(toMilliseconds(config_.heartBeatSeconds));
    HCStompFrame connect{"CONNECT", {}, {}};
    connect.add("accept-version", "1.2")
        .add("host", config_.virtualHost)
        .add("login", config_.login)
        .add("passcode", config_.passcode)
        .add("heart-beat", beat + "," + beat);
    send(connect.encode());
}

void HCStompSession::stop()
{
    HC_CHECK_THREAD(checker_);
    if (!running_) return;
    running_ = false;
    if (subscribed_) send(HCStompFrame{"DISCONNECT", {}, {}}.encode());
    subscribed_ = false;
    if (sendTimer_) sendTimer_->invalidate();
    if (watchTimer_) watchTimer_->invalidate();
    if (connectTimer_) connectTimer_->invalidate();
    socket_.close();
}

bool HCStompSession::send(const std::string& bytes)
{
    if (socket_.write(bytes)) return true;
    auto weak = std::weak_ptr<HCStompSession>(platform::self(this));
    loop_->post([weak] {
        if (auto session = weak.lock()) session->end("write failed");
    });
    return false;
}

void HCStompSession::received(const std::string& bytes)
{
    HC_CHECK_THREAD(checker_);
    if (!running_) return;
    lastReceived_ = platform::Clock::currentTime();
    reader_.append(bytes);
    HCStompFrame frame;
    for (;;) {
        switch (reader_.next(frame)) {
        case HCStompFrameReader::Status::NeedMore: socket_.readMore(); return;
        case HCStompFrameReader::Status::Malformed: end("malformed frame"); return;
        case HCStompFrameReader::Status::TooLarge: end("frame over the size limit"); return;
        case HCStompFrameReader::Status::Frame: break;
        }
        handle(frame);
        if (!running_) return;
    }
}

void HCStompSession::handle(const HCStompFrame& frame)
{
    if (frame.command == "CONNECTED" && !subscribed_) {
        connected(frame);
    } else if (frame.command == "MESSAGE" && subscribed_) {
        if (listener_.message) listener_.message(frame.body);
    } else if (frame.command == "ERROR") {
        end("ERROR frame: " + loggable(frame.header("message").value_or(frame.body)));
    } else if (frame.command != "RECEIPT") {
        end("unexpected " + loggable(frame.command) + " frame");
    }
}

void HCStompSession::connected(const HCStompFrame& frame)
{
    if (connectTimer_) connectTimer_->invalidate();
    const long long asked = toMilliseconds(config_.heartBeatSeconds);
    const auto [serverSends, serverWants] = heartBeatOf(frame);
    const long long sendEvery = asked && serverWants ? std::max(asked, serverWants) : 0;
    const long long expectEvery = asked && serverSends ? std::max(asked, serverSends) : 0;

    HCStompFrame subscribe{"SUBSCRIBE", {}, {}};
    subscribe.add("id", "0").add("destination", config_.destination).add("ack", "auto");
    if (!send(subscribe.encode())) return;
    subscribed_ = true;

    std::weak_ptr<HCStompSession> weak = platform::self(this);
    if (sendEvery > 0) {
        sendTimer_ = loop_->scheduleTimer(sendEvery / 1000.0, true, [weak](platform::Timer&) {
            if (auto session = weak.lock()) session->send("\n");
        });
    }
    if (expectEvery > 0) {
        // Twice the interval: one late beat is network jitter, not a dead peer.
        silenceLimit_ = 2 * expectEvery / 1000.0;
        watchTimer_ = loop_->scheduleTimer(expectEvery / 1000.0, true, [weak](platform::Timer&) {
            if (auto session = weak.lock()) session->checkSilence();
        });
    }
    if (listener_.subscribed) listener_.subscribed();
}

void HCStompSession::checkSilence()
{
    if (running_ && platform::Clock::currentTime() - lastReceived_ > silenceLimit_) end("missed heart-beat");
}

void HCStompSession::end(const std::string& reason)
{
    HC_CHECK_THREAD(checker_);
    if (!running_) return;
    running_ = false;
    subscribed_ = false;
    if (sendTimer_) sendTimer_->invalidate();
    if (watchTimer_) watchTimer_->invalidate();
    if (connectTimer_) connectTimer_->invalidate();
    socket_.close();
    if (listener_.closed) listener_.closed(reason);
}
