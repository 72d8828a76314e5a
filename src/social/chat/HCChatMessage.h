#pragma once
// One line said in a chat room ("chat_message"), with who said it. Lines
// arrive only through the activity poller, as "halcyon_chat_message_discovered".
//
// Thread: built on the thread that reads its reply (the provider's request
// thread), then used by one thread at a time (the main thread); no lock.
#include <memory>
#include <optional>
#include <string>

#include "core/resources/HCResource.h"
#include "core/users/HCUser.h"

class HCChatMessage final : public HCResource {
public:
    using Text = std::optional<std::string>;

    std::shared_ptr<HCService> getService() const override;
    std::string getResourceName() const override { return "chat_message"; }
    std::string getResourceDiscoveredNotification() const override { return "halcyon_chat_message_discovered"; }
    const HCResourceDataMap& getDataMap() const override;

    const Text& message() const { return message_; }
    // The text the server sent, unread.
    const Text& date() const { return date_; }
    const Text& playerCurrentGameIconUrl() const { return playerCurrentGameIconUrl_; }
    bool doesLocalPlayerOwnGame() const { return doesLocalPlayerOwnGame_; }
    const HCUserPtr& user() const { return user_; }

    void setMessage(const Text& text) { message_ = text; }
    void setDate(const Text& text) { date_ = text; }
    void setPlayerCurrentGameIconUrl(const Text& text) { playerCurrentGameIconUrl_ = text; }
    void setDoesLocalPlayerOwnGameFromString(const Text& text);
    void setUser(HCUserPtr user) { user_ = std::move(user); }

private:
    Text message_;
    Text date_;
    Text playerCurrentGameIconUrl_;
    bool doesLocalPlayerOwnGame_ = false;
    HCUserPtr user_;
};

using HCChatMessagePtr = std::shared_ptr<HCChatMessage>;
