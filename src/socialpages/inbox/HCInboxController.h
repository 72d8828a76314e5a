#pragma once
// The player's inbox ("InboxIMConversations", "InboxSubscribedForumThreads"
// are its two lists): subscriptions a page at a time; a tap opens the
// followed discussion (its star already filled) or the conversation. A
// conversation row expands into its actions; Delete asks first, then
// deletes the conversation the player chose, whatever the list looks like
// by then, and reloads; a failed delete shows nothing and keeps the row.
//
// Starting a conversation: with a user pending (initAndBeginConversationWith,
// or one chosen in the friend picker), the page starts the conversation
// instead of loading and, with exactly one conversation back, pushes it.
// One start runs at a time: the picker's return shows the page again, and
// that must not start the same conversation a second time. A start that
// fails, or that the provider drops unanswered, takes the loading screen
// down and, while the inbox is on screen, says so.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "core/users/HCUser.h"
#include "platform/ui/ActionSheet.h"
#include "socialpages/inbox/HCFriendPickerDelegate.h"
#include "uiframework/table/HCTableSequenceControllerHelper.h"

class HCInboxController : public HCTableSequenceControllerHelper,
                          public HCFriendPickerDelegate,
                          public platform::ui::ActionSheetDelegate {
public:
    static constexpr const char* kDeleteSheetTitle = "Deleting IM";
    static constexpr const char* kPickerPrompt = "Select a friend to message";
    static constexpr const char* kErrorTitle = "Error";
    static constexpr const char* kStartErrorMessage = "An error occurred. Please try again later.";

    // Sets the user to start a conversation with when the page appears.
    void initAndBeginConversationWith(const HCUserPtr& user);
    const HCUserPtr& pendingConversationUser() const { return pendingConversationUser_; }

    std::shared_ptr<HCService> getService() override;
    void populateResourceMap(HCResourceControllerMap& map) override;
    void doIndexActionWithPage(int page, const HCDelegate& onSuccess, const HCDelegate& onFailure) override;
    std::string getNoDataFoundMessage() override { return "Your inbox is empty."; }
    bool autoLoadData() override { return !pendingConversationUser_; }
    bool shouldAlwaysRefreshWhenShown() override { return !pendingConversationUser_; }
    bool allowPagination() override { return true; }
    std::optional<std::string> actionCellClassName() override { return "InboxAction"; }
    void onCellWasClicked(const platform::ObjectPtr& resource, const IndexPath& indexPathInTable) override;
    void actionPressedForTag(int tag, const IndexPath& indexPath) override;
    void viewDidAppear(bool animated) override;

    // The compose button: the friend picker.
    void _newMessagePressed();
    void pickerFinishedWithSelectedUser(const HCUserPtr& user) override;
    void pickerCancelled() override;
    void actionSheetClickedButtonAtIndex(platform::ui::ActionSheet& sheet, int buttonIndex) override;

    std::string kindName() const override { return "HCInboxController"; }

private:
    void startPendingConversation();
    void _conversationStarted(std::shared_ptr<HCPaginatedSeries> series);
    void _conversationError();
    void setComposeEnabled(bool enabled);

    HCUserPtr pendingConversationUser_;
    bool startingConversation_ = false;
    // The subscription whose Delete was pressed, until the sheet is answered.
    platform::ObjectPtr pendingDeletion_;
};

// An inbox list of one kind of subscription: it keeps only that kind of
// the reply and, after each load, stores how many of its rows are unread.
class HCInboxKindController : public HCInboxController {
public:
    void viewWillAppear(bool animated) override;
    void onBeforeResourcesProcessed(const HCPaginatedSeriesPtr& series) override;
    void _onDataLoaded(const HCPaginatedSeriesPtr& series, bool isIncremental) override;

protected:
    using StoreUnread = void (*)(long count);
    HCInboxKindController(bool conversations, std::string title, StoreUnread storeUnread)
        : conversations_(conversations), title_(std::move(title)), storeUnread_(storeUnread)
    {
    }

private:
    const bool conversations_;
    const std::string title_;
    const StoreUnread storeUnread_;
};

// The conversations, with the compose button.
class HCInboxIMConversationsController : public HCInboxKindController {
public:
    HCInboxIMConversationsController();
    std::string getNoDataFoundMessage() override
    {
        return "You don't have any active IM conversations. Send a message to a friend by pressing the compose "
               "button.";
    }
    void loadView() override;
    std::string kindName() const override { return "HCInboxIMConversationsController"; }
};

// The followed discussions.
class HCInboxSubscribedForumThreadsController : public HCInboxKindController {
public:
    HCInboxSubscribedForumThreadsController();
    std::string getNoDataFoundMessage() override { return "You haven't starred any forum threads."; }
    std::string kindName() const override { return "HCInboxSubscribedForumThreadsController"; }
};
