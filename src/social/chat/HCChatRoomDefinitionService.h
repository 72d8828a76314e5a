#pragma once
// The kinds of chat room the player may enter.
//
// The list is one page: the service takes no page number, so the call
// takes none either. Success callbacks receive an HCPaginatedSeries of
// HCChatRoomDefinition (and the last visited HCChatRoomInstance when asked
// for); failure callbacks what the provider reports. While the service is
// not running a call answers nil and calls nothing back.
//
// Thread: calls on the caller's thread (the main thread as a rule); replies
// are read on the provider's request thread and delivered on the callbacks'
// thread.
#include <memory>

#include "core/services/HCService.h"

class HCChatRoomDefinitionService final : public HCService {
public:
    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCChatRoomDefinitionService> sharedInstance();

    // Needs a logged-in session; shows "Downloaded Chat Rooms".
    static HCRequestHandlePtr getPage(bool includeGlobalRooms, bool includeDeveloperRooms,
                                      bool includeApplicationRooms, bool includeLastVisitedRoom,
                                      const HCDelegate& onSuccess, const HCDelegate& onFailure);
    // Every kind, and the last visited room.
    static HCRequestHandlePtr getIndex(const HCDelegate& onSuccess, const HCDelegate& onFailure);

    void populateKnownResources(HCResourceNameMap& map) override;
    HCRequestHandlePtr getIndexOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override
    {
        return getIndex(onSuccess, onFailure);
    }
};
