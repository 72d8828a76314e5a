#pragma once
// Private conversations: starting one with a player, its messages a page at
// a time, posting a message, deleting it from the inbox.
//
// Every call is silent and needs a logged-in session. An id that names
// nothing fails the call at once without a request. Success callbacks
// receive the reply's HCPaginatedSeries (HCConversation, or HCForumPost for
// the messages); failure callbacks what the provider reports. While the
// service is not running a call answers nil and calls nothing back.
//
// Thread: calls on the caller's thread (the main thread as a rule); replies
// are read on the provider's request thread and delivered on the callbacks'
// thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/services/HCService.h"

class HCConversationService final : public HCService {
public:
    using Text = std::optional<std::string>;

    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCConversationService> sharedInstance();

    // The conversation with that player, new or already there.
    static HCRequestHandlePtr startConversationWithUser(const Text& otherUserId, const HCDelegate& onSuccess,
                                                        const HCDelegate& onFailure);
    static HCRequestHandlePtr getConversationHistory(const Text& conversationId, uint32_t page,
                                                     const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static HCRequestHandlePtr postMessage(const Text& text, const Text& conversationId, const HCDelegate& onSuccess,
                                          const HCDelegate& onFailure);
    // Sends the game's client application id with it.
    static HCRequestHandlePtr deleteConversation(const Text& conversationId, const HCDelegate& onSuccess,
                                                 const HCDelegate& onFailure);

    void populateKnownResources(HCResourceNameMap& map) override;
};
