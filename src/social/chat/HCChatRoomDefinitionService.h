#pragma once
// The kinds of chat room the player may enter.
//
// The list is one page: the service takes no page number, so the page the
// caller names is accepted and not sent. Success callbacks receive an HCPaginatedSeries of
// HCChatRoomDefinition (and the last visited HCChatRoomInstance when asked
// for); failure callbacks what the provider reports. While the service is
// not running a call answers nil and calls nothing back.
//
// Thread: calls on the caller's thread (the main thread as a rule); replies
// are read on the provider's request thread and delivered on the callbacks'
// thread.
#include <cstdint>
#include <memory>

#include "core/services/HCService.h"

class HCChatRoomDefinitionService final : public HCService {
public:
    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCChatRoomDefinitionService> sharedInstance();

    // Needs a logged-in session; shows "Downloaded Chat Rooms".
    static HCRequestHandlePtr getPage(int32_t page, bool includeGlobalRooms, bool includeDeveloperRooms,
                                      bool includeApplicationRooms, bool includeLastVisitedRoom,
                                      const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // Page 1 of every kind, and the last visited room.
    static HCRequestHandlePtr getIndex(const HCDelegate& onSuccess, const HCDelegate& onFailure);

    void populateKnownResources(HCResourceNameMap& map) override;
    HCRequestHandlePtr getIndexOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override
    {
        return getIndex(onSuccess, onFailure);
    }
};
