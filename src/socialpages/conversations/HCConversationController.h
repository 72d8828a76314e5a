#pragma once
// A private conversation with one other player: its messages as bubbles,
// oldest first, the message box below, and a row each time the other player
// goes on- or offline.
//
// A page opened without a conversation id starts the conversation first; a
// start that fails shows the error page only while the page is on screen
// (a page the player left tries again when it is shown again).
// After the first history load the page polls the conversation's posts at
// the chat interval with a poller of its own (one for the page's life, made
// at that first load) while it is shown, and from its next appearance when
// the history comes in while it is not; new posts of this conversation are
// added at the bottom. A failing poll of this conversation closes the page.
//
// The message box is the page's bottom view, which the dashboard's frame
// keeps at its bottom and above the keyboard while that shows (a phone's
// navigation bar goes away meanwhile). The box grows with its field, which
// scrolls the rows up by as much; shrinking scrolls nothing.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

#include "core/users/HCUser.h"
#include "platform/foundation/NotificationCenter.h"
#include "socialpages/conversations/HCConversationMessageBoxController.h"
#include "transport/poller/HCPoller.h"
#include "uiframework/HCCustomBottomView.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCConversationController : public HCTableSequenceControllerHelper,
                                 public HCCustomBottomView,
                                 public HCExpandableSinglelineTextFieldDelegate {
public:
    static constexpr const char* kStartErrorMessage = "An error occurred while initiating your IM.";
    // How far the rows move up on a large screen when the keyboard shows.
    static constexpr double kKeyboardAdjustment = 85.0;

    static std::shared_ptr<HCConversationController> conversationWithId(
        const std::optional<std::string>& conversationId, const HCUserPtr& user,
        const std::optional<std::string>& initialText = std::nullopt);
    ~HCConversationController() override;

    const std::optional<std::string>& conversationId() const { return conversationId_; }
    // Passed on to the message box as well.
    void setConversationId(std::optional<std::string> id);
    const HCUserPtr& conversationUser() const { return conversationUser_; }
    void setConversationUser(HCUserPtr user) { conversationUser_ = std::move(user); }
    const std::shared_ptr<HCConversationMessageBoxController>& messageBox();
    const std::shared_ptr<HCPoller>& poller() const { return poller_; }
    bool hasCompletedInitialIndex() const { return hasCompletedInitialIndex_; }
    bool isKeyboardShown() const { return isKeyboardShown_; }

    std::shared_ptr<HCService> getService() override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    void doIndexActionOnSuccess(const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    std::string getNoDataFoundMessage() override
    {
        return "Start the conversation by typing a message and sending it below!";
    }
    bool shouldAlwaysRefreshWhenShown() override { return !hasCompletedInitialIndex_; }
    bool allowPagination() override { return false; }
    void configureCell(const platform::ui::TableViewCellPtr&, bool, bool, bool) override {}
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    std::optional<std::string> getNotificationToRefreshAfter() override;
    bool shouldRefreshAfterNotification() override { return true; }
    bool isNewContentShownAtBottom() override { return true; }
    // Only posts of this conversation.
    bool isNotificationResourceValid(const platform::ObjectPtr& resource) override;
    platform::ui::ViewPtr getBottomView() override;

    void loadView() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

    void multilineTextFieldDidResize(HCExpandableSinglelineTextField& field) override;
    void _keyboardWillShow(const platform::Notification& notification);
    void _keyboardWillHide(const platform::Notification& notification);
    void _pollingFailed(const platform::Notification& notification);
    void _userDidChangePresence(const platform::Notification& notification);
    std::string kindName() const override { return "HCConversationController"; }

private:
    void _startedConversation(std::shared_ptr<HCPaginatedSeries> series);
    // Ends the load that waited for the start; the error page is the caller's to show.
    void _errorStartingConversation();
    void _initialIndexComplete(std::shared_ptr<HCPaginatedSeries> series, std::shared_ptr<HCDelegateChained> next);
    void _updateOnlineStatusWithUser(const HCUserPtr& user, bool isOnline);
    // Tells the dashboard's frame that holds the box, if any, that the keyboard came or went.
    void adjustFrameForKeyboard(bool shown);
    // Scrolls the rows by `delta`, within what the table can show.
    void _adjustTableOffsetY(double delta, bool animated);

    std::optional<std::string> conversationId_;
    HCUserPtr conversationUser_;
    std::shared_ptr<HCConversationMessageBoxController> messageBox_;
    std::shared_ptr<HCPoller> poller_;
    // The failure end of the load that waits for the conversation to start.
    HCDelegate startingLoadFailure_;
    bool hasCompletedInitialIndex_ = false;
    bool observing_ = false;
    bool isKeyboardShown_ = false;
    double keyboardHeight_ = 0;
};
