#pragma once
// A chat room ("ChatRoom"): the lines the client's activity poller brings
// while the page is shown, newest at the bottom, above the message box
// that the dashboard's frame keeps at its bottom. Shown the first time it
// sets the poller to the chat interval; shown again (back from a profile)
// it rejoins the room first and polls at that interval only once the
// server took it back, and only if it is still shown then. Leaving it, or covering it, puts the poller back
// to its normal rate. A lost place ends with the page popped and
// "Room Full!".
//
// Thread: main thread.
#include <memory>

#include "platform/foundation/NotificationCenter.h"
#include "social/chat/HCChatRoomInstance.h"
#include "socialpages/chat/HCChatRoomMessageBoxController.h"
#include "uiframework/HCCustomBottomView.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCChatRoomController : public HCTableSequenceControllerHelper, public HCCustomBottomView {
public:
    static constexpr double kKeyboardAdjustment = 85.0;

    ~HCChatRoomController() override;

    const HCChatRoomInstancePtr& roomInstance() const { return roomInstance_; }
    void setRoomInstance(HCChatRoomInstancePtr room) { roomInstance_ = std::move(room); }
    const std::shared_ptr<HCChatRoomMessageBoxController>& messageBox() const { return messageBox_; }

    void rejoinRoom();

    std::shared_ptr<HCService> getService() override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    void doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    std::string getNoDataFoundMessage() override
    {
        return "We're downloading messages in the background or no one has said anything yet.";
    }
    std::optional<std::string> getTableHeaderControllerName() override { return std::nullopt; }
    std::optional<std::string> getNotificationToRefreshAfter() override;
    bool shouldRefreshAfterNotification() override { return true; }
    bool isNewContentShownAtBottom() override { return true; }
    void onResourcesDownloaded(const HCPaginatedSeriesPtr& series) override;
    platform::ui::ViewPtr getBottomView() override;

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidDisappear(bool animated) override;

    std::string kindName() const override { return "HCChatRoomController"; }

private:
    void onRejoinedRoom();
    void onFailedToRejoinRoom();
    void keyboardWillShow(const platform::Notification& notification);
    void keyboardWillHide();
    void setTopBarsVisible(bool visible);
    bool isLandscape() const;

    HCChatRoomInstancePtr roomInstance_;
    std::shared_ptr<HCChatRoomMessageBoxController> messageBox_;
    platform::ui::ViewPtr bottomContainer_;
    bool isKeyboardShown_ = false;
    bool hasAppearedBefore_ = false;
    bool didScrollToBottom_ = false;
    double keyboardHeight_ = 0;
};
