#pragma once
// The box at the bottom of a conversation ("ConversationMessageBox"): a
// field that grows from one to five lines and a Send button, posting the
// field as the body of a post of the conversation without a loading screen.
// An empty or blank field only takes the keyboard away. Sending empties the
// field at once (the message comes back through the page's poller), so the
// player may send a second message before the first is answered; it leaves
// once the first was, so the conversation keeps their order. The messages
// that fail are put back in the order they were written, ahead of anything
// typed since, after the form's alert.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/Button.h"
#include "uiframework/form/HCFormControllerHelper.h"
#include "uiframework/form/HCTextsInFlight.h"
#include "uiframework/widgets/HCExpandableSinglelineTextField.h"

class HCConversationMessageBoxController : public HCFormControllerHelper {
public:
    static constexpr double kHeight = 43.0;
    static constexpr int kBodyTag = 1;

    const std::shared_ptr<HCExpandableSinglelineTextField>& messageField();
    const std::shared_ptr<platform::ui::Button>& sendButton();
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
    // The box sits at the bottom of its page rather than on a navigation stack.
    bool canReceiveCallbacksNow() const override { return true; }

    void loadView() override;
    // The field and the button fade in as the box comes, and out as it goes.
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    std::string kindName() const override { return "HCConversationMessageBoxController"; }

private:
    void fadeControls(double alpha, bool animated);
    std::shared_ptr<HCExpandableSinglelineTextField> messageField_;
    std::shared_ptr<platform::ui::Button> sendButton_;
    std::optional<std::string> conversationId_;
    std::string initialText_;
    HCTextsInFlight textsSent_;
};
