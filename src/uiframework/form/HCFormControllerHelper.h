#pragma once
// The base of the dashboard's form pages. onSubmitForm sends the form: the
// view fields of the page's HCViewDataMap inside the scope
// singularResourceName ("post" gives post[body]; none when empty), then
// addHiddenParameters at top level, as a GET or POST (getHTTPMethod) of
// getFormSubmissionUrl through the provider, request type 2 with the notice
// getLoadingScreenText, signed unless shouldUseOAuth says NO. The loading
// screen shows meanwhile. Success hides it and calls onFormSubmitted with
// the reply; failure hides it and shows the alert "Oops! There was a
// problem:" with the server's message (its reply text, taken as text) and
// the button "Ok" (when the failure brings no text, the page's own word for
// what did not go through: failureMessageWithoutReply).
//
// populateViewDataMap names the fields once the view is loaded.
// onBeforeFormSubmitted runs once the parameters are taken and before the
// request leaves; onFormSubmissionFailed after a failure's alert (a page
// that cleared its fields puts them back there). A page may send without
// the loading screen (shouldShowLoadingScreenWhileSubmitting) and keep the
// keyboard up (shouldDismissKeyboardWhenSubmitting). isKeyboardShown is the
// page's own record of the keyboard, which it keeps from the keyboard's
// notifications.
//
// One submission at a time: onSubmitForm sends nothing while one is in
// flight (a double tap on a submit button posts once), unless the page
// queues them (queuesSubmissions: a message box, whose field is empty again
// as soon as a line leaves). A queued submission takes its fields at once
// and leaves once every submission before it was answered, so the service
// stores them in the order they were made. The page's submit button in the
// navigation bar (submitBarButtonItem), which the loading screen does not
// cover, is disabled while a submission is in flight.
//
// Submissions are numbered; while one's hooks run (onBeforeFormSubmitted,
// onFormSubmitted, onFormSubmissionFailed) currentSubmission() names it, so
// a page that takes several at once can tell their replies apart. A
// submission the provider would not send, or let go unanswered, ends as a
// failure without the alert: onFormSubmissionFailed with nil, so a page
// that cleared its fields puts them back. A message box is the exception
// once the player left it (below): nothing else would tell him then.
//
// A submission ends like every request of a page (pageRequestDelegates):
// a form hears its reply only while it is on a navigation stack (a form
// shown another way answers canReceiveCallbacksNow itself), and the
// failure's alert shows only while the form is on screen, unless the form
// says it goes out wherever the player is (tellsFailureWhereverThePlayerIs:
// a message box or the forum's post form, whose text the player wrote and
// would otherwise lose unawares once he left; its alert then tells a text
// let go unanswered too). Told away from the form, a failure names what was
// not sent (failureMessageWithoutReply) beside the server's message, and
// with the dashboard closed it is a banner over the game (HCWritingFailure).
// A form popped while it submits takes its loading screen down: the reply
// will not reach it.
//
// Thread: main thread.
#include <deque>
#include <memory>
#include <set>
#include <string>

#include "core/replies/HCPaginatedSeries.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "platform/ui/BarButtonItem.h"
#include "uiframework/HCViewController.h"
#include "uiframework/form/HCViewDataMap.h"

class HCService;

class HCFormControllerHelper : public HCViewController {
public:
    static constexpr const char* kFailureAlertTitle = "Oops! There was a problem:";
    static constexpr const char* kFailureAlertButton = "Ok";
    // The longest server message an alert shows; the rest is cut.
    static constexpr size_t kMaxMessageBytes = 1000;

    explicit HCFormControllerHelper(std::string nibName = {});

    // Sends the form, reading the view fields below `view` (the page's view
    // when nil). False when nothing was sent (no URL, no provider, a
    // submission already in flight).
    bool onSubmitForm(const platform::ui::ViewPtr& view = nullptr);
    // The fields read from views by tag.
    HCViewDataMap& viewDataMap() { return viewDataMap_; }
    bool isSubmitting() const { return !inFlight_.empty(); }
    // The submission whose hook runs now, numbered from 1; 0 outside the hooks.
    unsigned currentSubmission() const { return currentSubmission_; }

    // Only spaces, tabs and line ends (or nothing): text the service refuses.
    static bool isBlank(const std::string& text);

    // The message a failure object carries: the reply's text, else the
    // transport error's description; cut to kMaxMessageBytes.
    static std::string serverMessageOf(const platform::ObjectPtr& failure);
    // The failure's alert: the server's message, else failureMessageWithoutReply;
    // away from the form, both (tellWritingFailure). A page that sends the
    // player's text another way tells its failure so too.
    void tellSubmissionFailure(const platform::ObjectPtr& failure);

    // --- hooks ------------------------------------------------------------------
    virtual std::string singularResourceName();
    virtual void addHiddenParameters(HCHttpNestedQueryStringWriter& parameters);
    virtual std::string getHTTPMethod();
    virtual std::string getFormSubmissionUrl();
    virtual std::string getLoadingScreenText();
    virtual bool shouldUseOAuth();
    virtual void onFormSubmitted(const HCPaginatedSeriesPtr& reply);
    // Where the page connects its controls' actions; called once the view is loaded.
    virtual void registerActionsNow();
    // Where the page names its fields (viewDataMap); called once the view is loaded.
    virtual void populateViewDataMap(HCViewDataMap& map);
    virtual void onBeforeFormSubmitted();
    virtual void onFormSubmissionFailed(const platform::ObjectPtr& failure);
    virtual bool shouldShowLoadingScreenWhileSubmitting();
    virtual bool shouldDismissKeyboardWhenSubmitting();
    // Whether a submission made while another is in flight waits its turn
    // (NO: it is not made).
    virtual bool queuesSubmissions();
    // Whether a failure's alert shows even once the player left the page,
    // for a submission let go unanswered too (NO).
    virtual bool tellsFailureWhereverThePlayerIs();
    // The alert's message for a failure that brings no text of its own (a
    // submission let go unanswered, a reply with an empty body): what did
    // not go through, for currentSubmission(). Nothing by default.
    virtual std::string failureMessageWithoutReply();
    // What the writing is about, for the banner that tells its failure over
    // the game (HCWritingFailure): a page's own action by default.
    virtual int failureBannerCategory();
    // The page's submit button in the navigation bar, if it has one (none).
    virtual platform::ui::BarButtonItemPtr submitBarButtonItem();

    bool isKeyboardShown() const { return keyboardShown_; }
    void setKeyboardShown(bool shown) { keyboardShown_ = shown; }

    void viewDidLoad() override;
    void viewDidDisappear(bool animated) override;
    std::string kindName() const override { return "HCFormControllerHelper"; }

private:
    // A submission whose parameters are taken, waiting for its turn to leave.
    struct Queued {
        unsigned submission;
        std::string url;
        std::shared_ptr<HCHttpNestedQueryStringWriter> parameters;
    };

    // Sends it; false (and it ended as a failure) when the provider would not.
    bool send(const Queued& queued);
    // The next queued submission, once none is on its way.
    void sendNextQueued();
    void _onSubmitSucceeded(unsigned submission, const HCPaginatedSeriesPtr& reply);
    void _onSubmitFailed(unsigned submission, const platform::ObjectPtr& failure);
    // False when the submission had already ended (or the page let it go).
    bool endSubmission(unsigned submission);
    void endAllSubmissions();
    template <class Hook>
    void runHook(unsigned submission, Hook hook);

    HCViewDataMap viewDataMap_;
    std::shared_ptr<HCService> service_;
    std::set<unsigned> inFlight_;
    std::deque<Queued> queued_;
    // The submission on its way to the service; 0 when none.
    unsigned sending_ = 0;
    unsigned lastSubmission_ = 0;
    unsigned currentSubmission_ = 0;
    bool keyboardShown_ = false;
};
