// A form page of the tests' own posted to the local server: fields by tag in
// their scope, hidden parameters, the method and signing, the reply, the
// failure alert, and a reply after the form was popped.
#include "platform/ui/AlertView.h"
#include "platform/ui/Switch.h"
#include "platform/ui/TextField.h"
#include "platform/ui/TextView.h"
#include "uiframework/HCNavigationController.h"
#include "uiframework/form/HCFormControllerHelper.h"
#include "transport/provider/HCProviderHooks.h"
#include "uiframework/support/UiServerTest.h"
#include "support/RequestThreadGate.h"

using namespace platform::ui;

namespace {

class ItemForm : public HCFormControllerHelper {
public:
    void loadView() override
    {
        auto root = View::make(Rect(0, 0, 320, 416));
        name = TextField::make(Rect(10, 10, 300, 30));
        name->setTag(1);
        description = TextView::make(Rect(10, 50, 300, 100));
        description->setTag(2);
        listed = std::make_shared<Switch>(Rect(10, 160, 80, 30));
        listed->setTag(3);
        root->addSubview(name);
        root->addSubview(description);
        root->addSubview(listed);
        setView(root);
    }
    void registerActionsNow() override
    {
        ++registrations;
        viewDataMap().addFieldReference("name", 1);
        viewDataMap().addFieldReference("description", 2);
        viewDataMap().addFieldReference("listed", 3);
        viewDataMap().addFieldReference("missing", 99);
    }
    std::string singularResourceName() override { return "item"; }
    void addHiddenParameters(HCHttpNestedQueryStringWriter& parameters) override
    {
        parameters.io("source", "dashboard");
        parameters.io("item_count", 2);
    }
    std::string getFormSubmissionUrl() override { return method == "GET" ? "ui_open_forms.xml" : "ui_forms.xml"; }
    std::string getHTTPMethod() override { return method; }
    bool shouldUseOAuth() override { return method != "GET"; }
    void onFormSubmitted(const HCPaginatedSeriesPtr& reply) override { replies.push_back(reply); }

    std::string method = "POST";
    std::shared_ptr<TextField> name;
    std::shared_ptr<TextView> description;
    std::shared_ptr<Switch> listed;
    int registrations = 0;
    std::vector<HCPaginatedSeriesPtr> replies;
};

class FormPagesTest : public uitest::UiServerTest {
protected:
    std::shared_ptr<ItemForm> showForm()
    {
        auto form = std::make_shared<ItemForm>();
        navigation = HCNavigationController::withRootViewController(std::make_shared<HCViewController>());
        show(navigation);
        navigation->pushViewController(form, false);
        driver.settle();
        return form;
    }
    bool submitAndWait(const std::shared_ptr<ItemForm>& form, size_t requests)
    {
        if (!form->onSubmitForm()) return false;
        EXPECT_TRUE(form->isShowingLoadingScreen());
        return waitUntil([&] { return !form->isSubmitting(); }) && server->log().size() == requests;
    }
    localserver::Params lastParams() { return server->log().entries().back().request.params; }

    std::shared_ptr<HCNavigationController> navigation;
};

TEST_F(FormPagesTest, FieldsGoInTheirScopeThenTheHiddenParametersAndTheReplyReachesThePage)
{
    // The request shows its notice through the banner layer, which starts it.
    std::vector<std::string> notices;
    bool discard = false;
    HCProviderHooks hooks;
    hooks.showBackgroundNoticeForLoader = [&notices](const OAuthAPIRequestLoaderPtr& loader,
                                                     const platform::ObjectPtr& notice) {
        notices.push_back(notice ? notice->description() : "(none)");
        loader->loadSynchronously(false);
    };
    hooks.willSilentlyDiscardAction = [&discard] { return discard; };
    HCProvider::setHooks(hooks);

    auto form = showForm();
    EXPECT_EQ(form->registrations, 1);
    driver.typeText(form->name, "Ruby & <Sapphire>");
    driver.typeText(form->description, "two\nlines");
    form->listed->setOn(true, false);

    ASSERT_TRUE(submitAndWait(form, 1));
    EXPECT_FALSE(form->isShowingLoadingScreen());
    EXPECT_EQ(notices, std::vector<std::string>{"Submitting"});
    const auto entry = server->log().entries().back();
    EXPECT_EQ(entry.request.method, "POST");
    EXPECT_EQ(entry.status, 201);
    EXPECT_EQ(entry.request.params, (localserver::Params{{"item[name]", "Ruby & <Sapphire>"},
                                                         {"item[description]", "two\nlines"},
                                                         {"item[listed]", "1"},
                                                         {"source", "dashboard"},
                                                         {"item_count", "2"}}));
    ASSERT_EQ(form->replies.size(), 1u);
    EXPECT_EQ(form->replies[0]->httpResponseStatusCode(), 201);
    EXPECT_TRUE(AlertView::visibleAlerts().empty());

    // A player who has not approved the service sends no authenticated form;
    // a form that does without authentication still goes, here as a GET.
    discard = true;
    EXPECT_FALSE(form->onSubmitForm());
    EXPECT_FALSE(form->isShowingLoadingScreen());
    form->method = "GET";
    ASSERT_TRUE(submitAndWait(form, 2));
    const auto get = server->log().entries().back();
    EXPECT_EQ(get.request.method, "GET");
    EXPECT_EQ(get.request.param("item[name]"), "Ruby & <Sapphire>");
    EXPECT_EQ(get.request.param("source"), "dashboard");
    EXPECT_EQ(form->replies.size(), 2u);
}

TEST_F(FormPagesTest, AFailedSubmissionShowsTheServersMessageAsTextInTheOopsAlert)
{
    auto form = showForm();
    for (const auto& [name, message] : std::vector<std::pair<std::string, std::string>>{
             {"taken", "That name is taken"}, {"format", "%s%n%@ 100%"}}) {
        form->name->setText(name);
        const size_t before = server->log().size();
        ASSERT_TRUE(submitAndWait(form, before + 1));
        EXPECT_FALSE(form->isShowingLoadingScreen());
        EXPECT_TRUE(form->replies.empty());
        auto alerts = AlertView::visibleAlerts();
        ASSERT_EQ(alerts.size(), 1u);
        EXPECT_EQ(alerts[0]->title(), "Oops! There was a problem:");
        EXPECT_EQ(alerts[0]->message(), message);
        EXPECT_EQ(alerts[0]->numberOfButtons(), 1);
        ASSERT_TRUE(driver.answerAlert("Ok"));
    }

    // A very long message is cut on a character boundary.
    form->name->setText("long");
    ASSERT_TRUE(submitAndWait(form, server->log().size() + 1));
    auto alerts = AlertView::visibleAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0]->message().size(), 1000u);
    EXPECT_EQ(alerts[0]->message().substr(998), "\xC3\xA9");

    // Without a provider nothing is sent and no loading screen stays.
    ASSERT_TRUE(driver.answerAlert("Ok"));
    HCService::setProvider(nullptr);
    EXPECT_FALSE(form->onSubmitForm());
    EXPECT_FALSE(form->isShowingLoadingScreen());
}

TEST_F(FormPagesTest, ASubmissionLetGoUnansweredEndsWithoutAnAlertAndTheNextOneLeaves)
{
    auto form = showForm();
    form->name->setText("one");
    {
        testsupport::RequestThreadGate gate(provider->requestThread());
        ASSERT_TRUE(form->onSubmitForm());
        EXPECT_FALSE(form->onSubmitForm());
        provider->destroyAllPendingRequests();
    }
    ASSERT_TRUE(waitUntil([&] { return !form->isSubmitting(); }));
    EXPECT_FALSE(form->isShowingLoadingScreen());
    EXPECT_TRUE(AlertView::visibleAlerts().empty());
    ASSERT_TRUE(submitAndWait(form, 1));
    EXPECT_EQ(form->replies.size(), 1u);
}

TEST_F(FormPagesTest, AReplyForAFormThatWasPoppedShowsNothing)
{
    auto form = showForm();
    form->name->setText("taken");
    ASSERT_TRUE(form->onSubmitForm());
    navigation->popViewController(false);
    EXPECT_FALSE(form->isShowingLoadingScreen());
    EXPECT_FALSE(form->isSubmitting());
    waitForProviderIdle();
    EXPECT_EQ(server->log().size(), 1u);
    EXPECT_TRUE(AlertView::visibleAlerts().empty());
    EXPECT_TRUE(form->replies.empty());
}

}  // namespace
