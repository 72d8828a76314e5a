#pragma once
// The kinds of chat room the player may enter ("SelectChatRoomDefinition"),
// with the room last visited on top and a bar button that joins it again. A kind with one room joins it at once;
// with more, the rooms are listed ("SelectChatRoomInstance"). "Rejoin" is
// disabled while the way into a room is under way.
// A kind whose rooms cannot be listed, or that has none, shows the error
// page only while the list is on screen.
//
// Thread: main thread.
#include <memory>

#include "socialpages/chat/HCChatRoomJoiningPage.h"
#include "socialpages/forums/HCChatRoomDefinitionChooser.h"
#include "uiframework/HCProfileFrame.h"

class HCSelectChatRoomDefinitionController : public HCChatRoomJoiningPage,
                                             public HCChatRoomDefinitionChooser,
                                             public HCProfileFrame {
public:
    static constexpr const char* kLastVisitedTitle = "Last Visited Room";
    // The bar button that joins the room last joined, offered once there is one.
    static constexpr const char* kRejoinTitle = "Rejoin";
    static constexpr const char* kRoomsFailedMessage =
        "An error occurred when trying to download available rooms. Please try again.";

    void setIncludeGlobalRooms(bool include) override { includeGlobalRooms_ = include; }
    void setIncludeApplicationRooms(bool include) override { includeApplicationRooms_ = include; }
    void setIncludeDeveloperRooms(bool include) override { includeDeveloperRooms_ = include; }
    bool includeGlobalRooms() const { return includeGlobalRooms_; }
    bool includeApplicationRooms() const { return includeApplicationRooms_; }
    bool includeDeveloperRooms() const { return includeDeveloperRooms_; }

    std::shared_ptr<HCService> getService() override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    void doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    std::string getNoDataFoundMessage() override { return "There are no available chat rooms"; }
    std::optional<std::string> getTableHeaderControllerName() override { return std::nullopt; }
    bool usePlainTableSectionHeaders() override { return true; }
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    void viewWillAppear(bool animated) override;

    bool supportsComparison() override { return false; }
    void profileUsersChanged(const std::shared_ptr<HCUser>&, const std::shared_ptr<HCUser>&) override {}

    // Joins the room last joined, when there is one.
    void onClickedButton();

    std::string kindName() const override { return "HCSelectChatRoomDefinitionController"; }

protected:
    void enteringRoomChanged() override;

private:
    void onLoadedInstances(const HCPaginatedSeriesPtr& instances);
    void showLastVisitedRoom();

    // Made by name (the global chat rooms shortcut) it offers the global rooms.
    bool includeGlobalRooms_ = true;
    bool includeDeveloperRooms_ = false;
    bool includeApplicationRooms_ = false;
};
