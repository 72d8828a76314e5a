#pragma once
// The box at the bottom of a conversation ("ConversationMessageBox"): a
// field that grows from one to five lines and a Send button. An empty field
// only takes the keyboard away. Sending empties the field at once (the
// message comes back through the page's poller); a send that fails puts the
// text back, ahead of anything typed since, and says why.
//
// Thread: main thread.
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/Button.h"
#include "uiframework/HCViewController.h"
#include "uiframework/widgets/HCExpandableSinglelineTextField.h"

class HCConversationMessageBoxController : public HCViewController {
public:
    static constexpr double kHeight = 43.0;

    const std::shared_ptr<HCExpandableSinglelineTextField>& messageField();
    const std::shared_ptr<platform::ui::Button>& sendButton();
    const std::optional<std::string>& conversationId() const { return conversationId_; }
    void setConversationId(std::optional<std::string> id) { conversationId_ = std::move(id); }
    const std::string& initialText() const { return initialText_; }
    void setInitialText(std::string text) { initialText_ = std::move(text); }

    // The Send button's action.
    void onSubmitForm();

    void loadView() override;
    void viewWillAppear(bool animated) override;
    // The box sits inside its page rather than on a navigation stack.
    bool canReceiveCallbacksNow() const override { return true; }
    std::string kindName() const override { return "HCConversationMessageBoxController"; }

private:
    void _sendFailed(std::shared_ptr<platform::Object> failure, std::shared_ptr<platform::Object> sentText);

    std::shared_ptr<HCExpandableSinglelineTextField> messageField_;
    std::shared_ptr<platform::ui::Button> sendButton_;
    std::optional<std::string> conversationId_;
    std::string initialText_;
};
