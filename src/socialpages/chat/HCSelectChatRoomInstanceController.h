#pragma once
// The rooms of one kind ("SelectChatRoomInstance"), as the room list
// loaded them; a tap joins that room.
//
// Thread: main thread.
#include <memory>
#include <vector>

#include "socialpages/chat/HCChatRoomJoiningPage.h"

class HCSelectChatRoomInstanceController : public HCChatRoomJoiningPage {
public:
    const std::vector<HCChatRoomInstancePtr>& preLoadedChatRoomInstances() const { return instances_; }
    void setPreLoadedChatRoomInstances(std::vector<HCChatRoomInstancePtr> instances)
    {
        instances_ = std::move(instances);
    }

    std::shared_ptr<HCService> getService() override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    void doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    std::string getNoDataFoundMessage() override { return "There are no available chat room instances"; }
    std::optional<std::string> getTableHeaderControllerName() override { return std::nullopt; }
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;

    std::string kindName() const override { return "HCSelectChatRoomInstanceController"; }

private:
    std::vector<HCChatRoomInstancePtr> instances_;
};
