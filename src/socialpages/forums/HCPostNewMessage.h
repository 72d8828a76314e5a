#pragma once
// The form that opens a discussion in a topic (subject and body) or
// replies to one (body only), ("PostNewMessage"). An empty or blank field
// is refused before anything is sent; "Post" is disabled while the post is
// on its way; once posted the form leaves, and the discussion page below it
// fetches its posts again. A post refused, or let go unanswered, after the
// player left the form is told wherever he is (the latter quoting its head).
//
// Thread: main thread.
#include <memory>

#include "core/banners/HCNotificationData.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "social/forums/HCForumThread.h"
#include "social/forums/HCForumTopic.h"
#include "uiframework/form/HCFormControllerHelper.h"

class HCPostNewMessage : public HCFormControllerHelper {
public:
    static std::shared_ptr<HCPostNewMessage> postNewMessageInTopic(const HCForumTopicPtr& topic);
    static std::shared_ptr<HCPostNewMessage> postNewMessageInThread(const HCForumThreadPtr& thread,
                                                                    const HCForumTopicPtr& topic);

    HCPostNewMessage();

    const HCForumThreadPtr& thread() const { return thread_; }
    void setThread(HCForumThreadPtr thread) { thread_ = std::move(thread); }
    const HCForumTopicPtr& topic() const { return topic_; }
    void setTopic(HCForumTopicPtr topic) { topic_ = std::move(topic); }
    const std::shared_ptr<platform::ui::TextField>& subjectField() const { return subjectField_; }
    const std::shared_ptr<platform::ui::TextView>& bodyField() const { return bodyField_; }
    const platform::ui::ViewPtr& subjectView() const { return subjectView_; }
    const platform::ui::ViewPtr& bodyView() const { return bodyView_; }

    // Shows or hides the subject, giving its room to the body.
    void toggleSubjectView(bool show);
    // Refuses a blank subject (new discussion) or body with an alert; else sends.
    bool submit();

    std::string singularResourceName() override { return thread_ ? "post" : "discussion"; }
    std::string getFormSubmissionUrl() override;
    void addHiddenParameters(HCHttpNestedQueryStringWriter& parameters) override;
    void onFormSubmitted(const HCPaginatedSeriesPtr& reply) override;
    bool canReceiveCallbacksNow() const override { return true; }
    // The post is the player's writing: refused or dropped once he left the
    // form, it is told wherever he is, as nothing else would say it was lost.
    bool tellsFailureWhereverThePlayerIs() override { return true; }
    std::string failureMessageWithoutReply() override;
    // A post is a message to other players: told among presence and messages.
    int failureBannerCategory() override { return HCNotificationCategoryPresence; }
    platform::ui::BarButtonItemPtr submitBarButtonItem() override;

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    std::string kindName() const override { return "HCPostNewMessage"; }

private:
    HCForumThreadPtr thread_;
    HCForumTopicPtr topic_;
    platform::ui::ViewPtr subjectView_;
    platform::ui::ViewPtr bodyView_;
    std::shared_ptr<platform::ui::TextField> subjectField_;
    std::shared_ptr<platform::ui::TextView> bodyField_;
};
