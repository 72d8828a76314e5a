#pragma once
// The box at the bottom of a chat room ("ChatRoomMessageBox"): a line of
// text sent to "chat_messages.xml" without a loading screen and without
// taking the keyboard away. The field is emptied as the line is taken, so
// the player may say a second line before the first is answered; it leaves
// once the first was. A refused line does not hold back the ones queued
// behind it, so the room hears the lines in the order they were said only
// while they succeed. A line comes back through the poller; the lines the
// server refused are put back in the field in the order they were written,
// ahead of anything typed since, after the form's alert. That alert shows
// wherever the player is: a line refused after he left the room is lost
// with the box, and he must hear that it was not said. A line the provider
// lets go unanswered comes back without a word while the room is shown;
// once he left it, the same alert says that the line was not sent and
// quotes its head, as no reply brings a message. An empty or blank
// line is not sent: Send only takes the keyboard away, as in a conversation.
//
// Thread: main thread.
#include <memory>

#include "core/banners/HCNotificationData.h"
#include "platform/ui/Button.h"
#include "platform/ui/TextField.h"
#include "uiframework/form/HCFormControllerHelper.h"
#include "uiframework/form/HCTextsInFlight.h"

class HCChatRoomMessageBoxController : public HCFormControllerHelper {
public:
    static constexpr double kHeight = 43.0;
    static constexpr int kMessageTag = 1;
    static constexpr const char* kSendTitle = "Send";

    ~HCChatRoomMessageBoxController() override;

    const std::shared_ptr<platform::ui::TextField>& textEntryField() const { return textEntryField_; }
    const std::shared_ptr<platform::ui::Button>& hideKeyboardButton() const { return hideKeyboardButton_; }
    const platform::ui::ViewPtr& backgroundView() const { return backgroundView_; }

    // Gives the field the keyboard, or takes it away when it shows.
    void toggleKeyboardNow();
    // The Send button's action.
    void sendLine();

    std::string singularResourceName() override;
    std::string getFormSubmissionUrl() override { return "chat_messages.xml"; }
    void populateViewDataMap(HCViewDataMap& map) override;
    void onBeforeFormSubmitted() override;
    void onFormSubmitted(const HCPaginatedSeriesPtr& reply) override;
    void onFormSubmissionFailed(const platform::ObjectPtr& failure) override;
    std::string getLoadingScreenText() override { return "Sending Chat Message"; }
    bool shouldShowLoadingScreenWhileSubmitting() override { return false; }
    bool shouldDismissKeyboardWhenSubmitting() override { return false; }
    bool queuesSubmissions() override { return true; }
    bool tellsFailureWhereverThePlayerIs() override { return true; }
    std::string failureMessageWithoutReply() override;
    // A line is a message between players: told among presence and messages.
    int failureBannerCategory() override { return HCNotificationCategoryPresence; }
    bool canReceiveCallbacksNow() const override { return true; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    std::string kindName() const override { return "HCChatRoomMessageBoxController"; }

private:
    void fadeControls(double alpha, bool animated);
    void keyboardWillShow();
    void keyboardWillHide();

    std::shared_ptr<platform::ui::TextField> textEntryField_;
    std::shared_ptr<platform::ui::Button> hideKeyboardButton_;
    std::shared_ptr<platform::ui::Button> sendButton_;
    platform::ui::ViewPtr backgroundView_;
    HCTextsInFlight linesSent_;
};
