#pragma once
// The lines of the joined chat room. No call fetches them: the activity
// poller does, once this service has registered HCChatMessage with it, and
// posts each batch as "halcyon_chat_message_discovered".
//
// Thread: main thread.
#include <memory>

#include "core/services/HCService.h"

class HCChatMessageService final : public HCService {
public:
    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCChatMessageService> sharedInstance();

    // The poller forgets the chat lines it has seen and polls at once: a
    // fresh room starts with every line of it.
    static void clearCacheAndPollNow();

    void registerPolledResources(const std::shared_ptr<HCPoller>& poller) override;
    void populateKnownResources(HCResourceNameMap& map) override;
    // Sends nothing: the success callback receives nil.
    HCRequestHandlePtr getIndexOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    // The lines the poller discovers are the chat page's to read; the
    // service keeps none of them.
    void _onChatMessagesDiscovered(const platform::ObjectPtr& /*messages*/) {}
};
