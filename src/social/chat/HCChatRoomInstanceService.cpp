#include "social/chat/HCChatRoomInstanceService.h"

#include "core/banners/HCNotificationData.h"
#include "core/resources/HCResourceClass.h"
#include "core/services/HCServicePath.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/runtime/Clock.h"
#include "social/chat/HCChatMessageService.h"
#include "transport/provider/HCActionRequest.h"

namespace {

std::shared_ptr<HCChatRoomInstanceService> sChatRoomInstanceService;

double elapsedNow()
{
    return platform::Clock::current()->elapsed();
}

// A step of the caller's chain, run where the caller's callback runs.
HCDelegate stepBefore(const HCDelegate& onSuccess, std::function<void(const platform::ObjectPtr&)> step)
{
    return HCDelegate::withFunction(std::move(step), nullptr, onSuccess.thread());
}

}  // namespace

void HCChatRoomInstanceService::initializeService()
{
    if (!sChatRoomInstanceService) sChatRoomInstanceService = HCService::create<HCChatRoomInstanceService>();
}

void HCChatRoomInstanceService::shutdownService()
{
    sChatRoomInstanceService = nullptr;
}

std::shared_ptr<HCChatRoomInstanceService> HCChatRoomInstanceService::sharedInstance()
{
    return sChatRoomInstanceService;
}

void HCChatRoomInstanceService::populateKnownResources(HCResourceNameMap& map)
{
    HCAddKnownResource<HCChatRoomInstance>(map);
}

HCRequestHandlePtr HCChatRoomInstanceService::getPage(int32_t page, const HCChatRoomDefinitionPtr& definition,
                                                      const HCDelegate& onSuccess, const HCDelegate& onFailure)
{
    auto service = sharedInstance();
    if (!service) return nullptr;
    if (!definition || !definition->resourceId() || definition->resourceId()->empty())
        return HCServicePath::refuse(onFailure);
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("chat_room_definition_id", *definition->resourceId());
    parameters.io("page", page);
    return service->getAction("chat_room_instances.xml", &parameters, onSuccess, onFailure,
                              HCActionRequest::kBannerAlternate,
                              HCNotificationData::foreGroundDataWithText("Downloaded Room Instances"));
}

HCRequestHandlePtr HCChatRoomInstanceService::attemptToJoinRoom(const HCChatRoomInstancePtr& room, bool rejoining,
                                                                const HCDelegate& onSuccess,
                                                                const HCDelegate& onFailure)
{
    auto service = sharedInstance();
    if (!service) return nullptr;
    if (!room || !room->resourceId() || room->resourceId()->empty()) return HCServicePath::refuse(onFailure);
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("chat_room_instance_id", *room->resourceId());
    {
        std::lock_guard lock(service->mutex_);
        service->roomJoining_ = room;
        service->rejoiningRoom_ = rejoining;
    }
    auto step = stepBefore(onSuccess, [service, room, rejoining, onSuccess](const platform::ObjectPtr& series) {
        if (!rejoining) HCChatMessageService::clearCacheAndPollNow();
        service->joined(room);
        onSuccess.invoke(series);
    });
    return service->getAction("chat_room_instances/join", &parameters, step, onFailure,
                              HCActionRequest::kBannerAlternate,
                              HCNotificationData::foreGroundDataWithText("Joined Chat Room"));
}

void HCChatRoomInstanceService::joined(const HCChatRoomInstancePtr& room)
{
    std::lock_guard lock(mutex_);
    lastRoom_ = room;
    // A later join still under way stays under way.
    if (roomJoining_ == room) {
        roomJoining_ = nullptr;
        rejoiningRoom_ = false;
    }
    lastRoomUpdatedAt_ = elapsedNow();
}

HCRequestHandlePtr HCChatRoomInstanceService::loadLastRoomJoined(const HCDelegate& onSuccess,
                                                                 const HCDelegate& onFailure)
{
    auto service = sharedInstance();
    if (!service) return nullptr;
    const auto age = service->getTimeSinceLastRoomUpdated();
    if (age && *age < kLastRoomCacheSeconds) {
        onSuccess.invoke(service->lastRoom());
        return nullptr;
    }
    auto step = stepBefore(onSuccess, [service, onSuccess](const platform::ObjectPtr& reply) {
        onSuccess.invoke(service->lastRoomFromReply(platform::as<HCPaginatedSeries>(reply)));
    });
    return service->getAction("chat_room_instances/show", nullptr, step, onFailure, HCActionRequest::kSilent, nullptr);
}

HCChatRoomInstancePtr HCChatRoomInstanceService::lastRoomFromReply(const std::shared_ptr<HCPaginatedSeries>& series)
{
    std::lock_guard lock(mutex_);
    lastRoom_ = series && series->count() == 1 ? platform::as<HCChatRoomInstance>(series->objectAtIndex(0)) : nullptr;
    lastRoomUpdatedAt_ = elapsedNow();
    return lastRoom_;
}

HCChatRoomInstancePtr HCChatRoomInstanceService::getCachedLastRoomJoined()
{
    auto service = sharedInstance();
    return service ? service->lastRoom() : nullptr;
}

HCChatRoomInstancePtr HCChatRoomInstanceService::lastRoom() const
{
    std::lock_guard lock(mutex_);
    return lastRoom_;
}

HCChatRoomInstancePtr HCChatRoomInstanceService::roomJoining() const
{
    std::lock_guard lock(mutex_);
    return roomJoining_;
}

bool HCChatRoomInstanceService::rejoiningRoom() const
{
    std::lock_guard lock(mutex_);
    return rejoiningRoom_;
}

std::optional<double> HCChatRoomInstanceService::getTimeSinceLastRoomUpdated() const
{
    std::lock_guard lock(mutex_);
    if (!lastRoomUpdatedAt_) return std::nullopt;
    return elapsedNow() - *lastRoomUpdatedAt_;
}
