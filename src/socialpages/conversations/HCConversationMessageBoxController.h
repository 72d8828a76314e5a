#pragma once
// The box at the bottom of a conversation ("ConversationMessageBox"): a
// field that grows from one to five lines and a Send button, posting the
// field as the body of a post of the conversation without a loading screen.
// An empty or blank field only takes the keyboard away. Sending empties the
// field at once (the message comes back through the page's poller), so the
// player may send a second message before the first is answered; it leaves
// once the first was. A refused message does not hold back the ones queued
// behind it, so the conversation keeps their order only while they succeed.
// The messages that fail are put back in the order they were written, ahead
// of anything typed since, after the form's alert. That alert shows
// wherever the player is: a message refused after he left the page is lost
// with the box, and he must hear that it was not sent. A message the
// provider lets go unanswered comes back without a word while the page is
// shown; once he left it, the same alert says that the message was not
// sent and quotes its head, as no reply brings a message.
//
// The box spans the dashboard on a large screen; on a phone it is grey with
// a one-line field. Behind the field a border stretches with it, on a
// background that fades with the field and Send as the page comes and goes.
// An opener's text (initialText) is put in the field half a second after the
// box appears, unless the player has typed something by then; the page
// clears it once the keyboard went away, so a later appearance does not
// bring it back.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

#include "core/banners/HCNotificationData.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "uiframework/form/HCFormControllerHelper.h"
#include "uiframework/form/HCTextsInFlight.h"
#include "uiframework/widgets/HCExpandableSinglelineTextField.h"

class HCConversationMessageBoxController : public HCFormControllerHelper {
public:
    static constexpr double kHeight = 43.0;
    static constexpr int kBodyTag = 1;
    static constexpr double kInitialTextDelay = 0.5;
    static constexpr const char* kBackgroundImage = "HCIMMessageBoxBackground.png";
    static constexpr const char* kBorderImage = "HCIMMessageBoxBorder.png";

    ~HCConversationMessageBoxController() override;

    const std::shared_ptr<HCExpandableSinglelineTextField>& messageField();
    const std::shared_ptr<platform::ui::Button>& sendButton();
    const std::shared_ptr<platform::ui::ImageView>& backgroundView();
    const std::shared_ptr<platform::ui::ImageView>& backgroundBoarderView();
    const std::optional<std::string>& conversationId() const { return conversationId_; }
    void setConversationId(std::optional<std::string> id) { conversationId_ = std::move(id); }
    const std::string& initialText() const { return initialText_; }
    void setInitialText(std::string text) { initialText_ = std::move(text); }

    // The Send button's action.
    void onSubmitForm();

    std::string singularResourceName() override;
    std::string getFormSubmissionUrl() override;
    void populateViewDataMap(HCViewDataMap& map) override;
    void onBeforeFormSubmitted() override;
    void onFormSubmitted(const HCPaginatedSeriesPtr& reply) override;
    void onFormSubmissionFailed(const platform::ObjectPtr& failure) override;
    std::string getLoadingScreenText() override { return {}; }
    bool shouldShowLoadingScreenWhileSubmitting() override { return false; }
    bool shouldDismissKeyboardWhenSubmitting() override { return false; }
    bool queuesSubmissions() override { return true; }
    bool tellsFailureWhereverThePlayerIs() override { return true; }
    std::string failureMessageWithoutReply() override;
    // A line is a message between players: told among presence and messages.
    int failureBannerCategory() override { return HCNotificationCategoryPresence; }
    // The box sits at the bottom of its page rather than on a navigation stack.
    bool canReceiveCallbacksNow() const override { return true; }

    void loadView() override;
    // The field and the button fade in as the box comes, and out as it goes.
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    std::string kindName() const override { return "HCConversationMessageBoxController"; }

private:
    void fadeControls(double alpha, bool animated);
    // The opener's text, unless the player typed in the meantime.
    void putInitialText();
    std::shared_ptr<HCExpandableSinglelineTextField> messageField_;
    std::shared_ptr<platform::ui::Button> sendButton_;
    std::shared_ptr<platform::ui::ImageView> backgroundView_;
    std::shared_ptr<platform::ui::ImageView> backgroundBoarderView_;
    std::optional<std::string> conversationId_;
    std::string initialText_;
    HCTextsInFlight textsSent_;
};
