#include "localserver/LoginState.h"

#include "TextBytes.h"

#include <algorithm>

namespace localserver {

namespace {

std::string trimInLoginState(std::string_view text)
{
    const auto begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return {};
    }
    const auto end = text.find_last_not_of(" \t");
    return std::string(text.substr(begin, end - begin + 1));
}

}  // namespace

DeviceRecord LoginState::registerDevice(const std::string& identifier, const Params& facts)
{
    std::lock_guard lock(mutex_);
    DeviceRecord& record = devices_[identifier];
    record.identifier = identifier;
    record.facts = facts;
    return record;
}

std::optional<DeviceRecord> LoginState::device(const std::string& identifier) const
{
    std::lock_guard lock(mutex_);
    const auto found = devices_.find(identifier);
    return found == devices_.end() ? std::nullopt : std::optional<DeviceRecord>(found->second);
}

void LoginState::setParentalControls(const std::string& identifier, std::optional<bool> enabled)
{
    std::lock_guard lock(mutex_);
    DeviceRecord& record = devices_[identifier];
    record.identifier = identifier;
    record.parentalControls = enabled;
}

void LoginState::addDeviceUser(const std::string& identifier, const std::string& userId)
{
    std::lock_guard lock(mutex_);
    DeviceRecord& record = devices_[identifier];
    record.identifier = identifier;
    if (std::find(record.userIds.begin(), record.userIds.end(), userId) == record.userIds.end()) {
        record.userIds.push_back(userId);
    }
    record.lastUserId = userId;
}

std::string LoginState::openSession(const std::string& deviceId)
{
    std::lock_guard lock(mutex_);
    std::string cookie;
    do {
        cookie = randomHex(16);
    } while (cookie.empty() || sessions_.count(cookie) != 0);
    sessions_[cookie] = JsonSession{deviceId, {}, false};
    return cookie;
}

std::optional<JsonSession> LoginState::session(const std::string& cookie) const
{
    std::lock_guard lock(mutex_);
    const auto found = sessions_.find(cookie);
    return found == sessions_.end() ? std::nullopt : std::optional<JsonSession>(found->second);
}

bool LoginState::bindUser(const std::string& cookie, const std::string& userId)
{
    std::lock_guard lock(mutex_);
    const auto found = sessions_.find(cookie);
    if (found == sessions_.end() || found->second.expired) {
        return false;
    }
    found->second.userId = userId;
    return true;
}

bool LoginState::unbindUser(const std::string& cookie)
{
    std::lock_guard lock(mutex_);
    const auto found = sessions_.find(cookie);
    if (found == sessions_.end() || found->second.expired || found->second.userId.empty()) {
        return false;
    }
    found->second.userId.clear();
    return true;
}

void LoginState::expireSessions()
{
    std::lock_guard lock(mutex_);
    for (auto& [cookie, session] : sessions_) {
        session.expired = true;
    }
}

std::size_t LoginState::sessionCount() const
{
    std::lock_guard lock(mutex_);
    return sessions_.size();
}

void LoginState::recordUserStats(ReportedUserStats stats)
{
    std::lock_guard lock(mutex_);
    reportedUserStats_.push_back(std::move(stats));
}

std::vector<ReportedUserStats> LoginState::reportedUserStats() const
{
    std::lock_guard lock(mutex_);
    return reportedUserStats_;
}

void LoginState::setCounters(const BootstrapCounters& counters)
{
    std::lock_guard lock(mutex_);
    counters_ = counters;
}

BootstrapCounters LoginState::counters() const
{
    std::lock_guard lock(mutex_);
    return counters_;
}

void LoginState::setOfflineBlock(std::optional<XmlNode> block)
{
    std::lock_guard lock(mutex_);
    offlineBlock_ = std::move(block);
}

void LoginState::setOfflineBlockSource(OfflineBlockSource source)
{
    std::lock_guard lock(mutex_);
    offlineBlockSource_ = std::move(source);
}

std::optional<XmlNode> LoginState::offlineBlock(const std::string& userId) const
{
    OfflineBlockSource source;
    {
        std::lock_guard lock(mutex_);
        if (offlineBlock_) return offlineBlock_;
        source = offlineBlockSource_;
    }
    return source ? source(userId) : std::nullopt;
}

std::optional<std::string> cookieValue(const Request& request, const std::string& name)
{
    std::optional<std::string> found;
    for (const auto& [header, value] : request.headers) {
        if (header.size() != 6 || !std::equal(header.begin(), header.end(), "cookie", [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == b;
            })) {
            continue;
        }
        std::string_view rest = value;
        while (!rest.empty()) {
            const auto semicolon = rest.find(';');
            const std::string_view pair = rest.substr(0, semicolon);
            const auto equals = pair.find('=');
            if (equals != std::string_view::npos && trimInLoginState(pair.substr(0, equals)) == name) {
                found = trimInLoginState(pair.substr(equals + 1));
            }
            rest = semicolon == std::string_view::npos ? std::string_view() : rest.substr(semicolon + 1);
        }
    }
    return found;
}

}  // namespace localserver
