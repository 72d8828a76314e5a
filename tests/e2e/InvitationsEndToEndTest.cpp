// Invitations over real HTTP against the local server: the receivers' wire
// form, a received invitation listed, marked viewed and ignored, the
// definitions, and the public classes' callbacks.
#include <gtest/gtest.h>

#include "core/clientstate/HCClientState.h"
#include "core/images/HCImageCache.h"
#include "e2e/support/LiveServerTest.h"
#include "localserver/Fixtures.h"
#include "social/invitations/HCDeviceContact.h"
#include "social/invitations/HCInvite.h"
#include "social/invitations/HCInviteDefinition.h"
#include "social/invitations/HCInviteDelegates.h"
#include "social/invitations/HCInviteService.h"
#include "transport/handles/HCRequestHandlesForModule.h"

namespace {

using namespace localserver::defaults;
using Pairs = std::vector<std::pair<std::string, std::string>>;

HCDeviceContactPtr contact(std::optional<std::string> number, std::optional<std::string> email)
{
    auto c = std::make_shared<HCDeviceContact>();
    c->number = std::move(number);
    c->email = std::move(email);
    return c;
}

struct InviteRecorder : HCInviteDefinitionDelegate, HCInviteDelegate {
    std::vector<std::string> calls;
    HCInviteDefinitionPtr definition;
    void didGetInviteDefinition(const HCInviteDefinitionPtr& d) override { definition = d, calls.push_back("got " + d->inviteIdentifier().value_or("?")); }
    void didFailGetInviteDefinition() override { calls.push_back("failed get"); }
    void didGetPrimaryInviteDefinition(const HCInviteDefinitionPtr& d) override { definition = d, calls.push_back("primary " + d->inviteIdentifier().value_or("?")); }
    void didSendInvite(const std::shared_ptr<HCInvite>&) override { calls.push_back("sent"); }
    void didFailSendInvite(const std::shared_ptr<HCInvite>&) override { calls.push_back("failed send"); }
    void didGetInviteIcon(const platform::ui::ImagePtr& image, const HCInviteDefinitionPtr& d) override
    {
        calls.push_back("definition icon " + d->resourceId().value_or("?") + " " + width(image));
    }
    void didFailGetInviteIconHCInviteDefinition(const HCInviteDefinitionPtr& d) override { calls.push_back("no definition icon " + d->resourceId().value_or("?")); }
    void didGetInviteIcon(const platform::ui::ImagePtr& image, const std::shared_ptr<HCInvite>& i) override
    {
        calls.push_back("invite icon " + i->userMessage().value_or("?") + " " + width(image));
    }
    void didFailGetInviteIconHCInvite(const std::shared_ptr<HCInvite>& i) override { calls.push_back("no invite icon " + i->userMessage().value_or("?")); }
    static std::string width(const platform::ui::ImagePtr& image) { return std::to_string(static_cast<int>(image->size().width)); }
};

class InvitationsEndToEndTest : public LiveServerTest {
protected:
    void SetUp() override
    {
        LiveServerTest::SetUp();
        HCInviteService::initializeService();
        HCInviteDefinition::setDelegate(&recorder);
        HCInvite::setDelegate(&recorder);
    }
    void TearDown() override
    {
        HCInvite::setDelegate(nullptr);
        HCInviteDefinition::setDelegate(nullptr);
        HCInviteService::shutdownService();
        HCImageCache::shutdownCache();
        LiveServerTest::TearDown();
    }

    HCInviteDefinitionPtr fetchDefinition(const std::string& id)
    {
        Outcome outcome;
        HCInviteService::getInviteDefinition(id, outcome.success(), outcome.failed());
        EXPECT_TRUE(waitFor(outcome));
        if (!outcome.series || outcome.series->objects().empty()) return nullptr;
        return platform::as<HCInviteDefinition>(outcome.series->objects().front());
    }

    std::vector<std::shared_ptr<HCInvite>> received()
    {
        Outcome outcome;
        HCInviteService::getInvitesForUser(nullptr, 1, outcome.success(), outcome.failed());
        EXPECT_TRUE(waitFor(outcome));
        std::vector<std::shared_ptr<HCInvite>> out;
        if (outcome.series)
            for (const auto& o : outcome.series->objects())
                if (auto i = platform::as<HCInvite>(o)) out.push_back(i);
        return out;
    }

    bool waitForCalls(size_t count)
    {
        return testsupport::runMainUntil([&] { return recorder.calls.size() >= count; });
    }

    InviteRecorder recorder;
};

TEST_F(InvitationsEndToEndTest, EachReceiverKindIsSentOnceInArrayOrder)
{
    auto definition = fetchDefinition("31");
    ASSERT_TRUE(definition);
    auto ben = HCResource::initWithId<HCUser>(std::string(kOtherUserId));
    std::vector<platform::ObjectPtr> receivers{ben, contact("+15550100", "both@example.com"),
                                               contact(std::nullopt, "mail@example.com"), contact("", ""),
                                               platform::String::make("not a receiver")};
    Outcome sent;
    ASSERT_TRUE(HCInviteService::sendInvite(definition, "Join me", receivers, sent.success(), sent.failed()));
    ASSERT_TRUE(waitFor(sent));
    ASSERT_FALSE(sent.failure);
    const auto request = server->log().entries().back().request;
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, "invites.xml");
    Pairs expected{{"key", "31"},
                                                              {"invite[sender_message]", "Join me"},
                                                              {"invite[receivers][]", kOtherUserId},
                                                              {"invite[sms_receivers][]", "+15550100"},
                                                              {"invite[email_receivers][]", "mail@example.com"}};
    EXPECT_EQ(Pairs(request.params.begin(), request.params.end()), expected);

    // No definition: refused before any request.
    const auto before = server->log().entries().size();
    Outcome refused;
    EXPECT_FALSE(HCInviteService::sendInvite(nullptr, "x", receivers, refused.success(), refused.failed()));
    ASSERT_TRUE(waitFor(refused));
    EXPECT_FALSE(refused.series);
    EXPECT_EQ(server->log().entries().size(), before);
}

TEST_F(InvitationsEndToEndTest, TheReceiverListsAnInvitationOnceUnviewedThenIgnoresIt)
{
    auto definition = fetchDefinition("friends");
    ASSERT_TRUE(definition);
    EXPECT_EQ(definition->resourceId(), "31");
    Outcome sent;
    HCInviteService::sendInvite(definition, "Play!", {HCResource::initWithId<HCUser>(std::string(kOtherUserId))},
                                sent.success(), sent.failed());
    ASSERT_TRUE(waitFor(sent));

    useProvider(kProductSecret, kOtherUserToken, kOtherUserTokenSecret);
    auto first = received();
    EXPECT_EQ(server->log().entries().back().request.param("mark_viewed"), "true");
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0]->state(), "unviewed");
    EXPECT_EQ(first[0]->userMessage(), "Play!");
    ASSERT_TRUE(first[0]->senderUser());
    EXPECT_EQ(first[0]->senderUser()->name(), kUserName);
    EXPECT_EQ(first[0]->receiverUser()->resourceId(), kOtherUserId);
    EXPECT_FALSE(first[0]->inviteDefinition());
    auto again = received();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0]->state(), "viewed");

    Outcome ignored;
    ASSERT_TRUE(HCInviteService::ignoreInvite(first[0]->resourceId(), ignored.success(), ignored.failed()));
    ASSERT_TRUE(waitFor(ignored));
    EXPECT_EQ(server->log().entries().back().request.method, "PUT");
    EXPECT_EQ(server->log().entries().back().request.path, "invites/" + *first[0]->resourceId() + "/ignore");
    EXPECT_TRUE(received().empty());
}

TEST_F(InvitationsEndToEndTest, DefinitionsAndSendingReachTheClassDelegates)
{
    ASSERT_TRUE(HCInviteDefinition::getPrimaryInviteDefinition());
    ASSERT_TRUE(waitForCalls(1));
    EXPECT_EQ(server->log().entries().back().request.path, "invite_definitions/primary");
    ASSERT_TRUE(HCInviteDefinition::getInviteDefinition(std::string("rivals")));
    ASSERT_TRUE(waitForCalls(2));
    ASSERT_TRUE(HCInviteDefinition::getInviteDefinition(std::string("nothing-by-this-name")));
    ASSERT_TRUE(waitForCalls(3));

    auto invite = HCInvite::initWithInviteDefinition(recorder.definition);
    EXPECT_EQ(invite->userMessage(), "Beat my score if you can.");
    invite->setUserMessage(std::string("Rematch?"));
    ASSERT_TRUE(invite->sendInviteToUsers({HCResource::initWithId<HCUser>(std::string(kOtherUserId))}));
    ASSERT_TRUE(waitForCalls(4));
    EXPECT_EQ(server->log().entries().back().request.param("invite[sender_message]"), "Rematch?");
    EXPECT_EQ(server->log().entries().back().request.param("key"), "32");

    // An invitation read from a reply has no definition: nothing starts and
    // no delegate method is called.
    auto read = std::make_shared<HCInvite>();
    EXPECT_FALSE(read->sendInviteToUsers({}));
    testsupport::drainMain();
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"primary friends", "got rivals", "failed get", "sent"}));
}

TEST_F(InvitationsEndToEndTest, ClearingTheDefinitionDelegateDropsOnlyItsRequests)
{
    auto invite = HCInvite::initWithInviteDefinition(fetchDefinition("31"));
    ASSERT_TRUE(HCInviteDefinition::getPrimaryInviteDefinition());
    ASSERT_TRUE(invite->sendInviteToUsers({}));
    auto modules = [] {
        std::vector<std::string> names;
        if (auto all = HCRequestHandlesForModule::snapshot())
            for (const auto& [name, handles] : *all) names.push_back(name);
        return names;
    };
    HCInviteDefinition::setDelegate(nullptr);
    auto left = modules();
    EXPECT_EQ(std::count(left.begin(), left.end(), std::string(HCInviteDefinition::kModule)), 0);
    EXPECT_EQ(std::count(left.begin(), left.end(), std::string(HCInvite::kModule)), 1);
    fence();
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"failed send"})) << "nobody invited: the server refuses";
}

TEST_F(InvitationsEndToEndTest, IconsAreDownloadedOnceThenComeFromTheCacheAndFailuresReachTheRightClass)
{
    HCImageCache::initializeCache();
    auto definition = fetchDefinition("31");
    ASSERT_TRUE(definition);
    ASSERT_TRUE(definition->getInviteIcon());
    ASSERT_TRUE(waitForCalls(1));
    EXPECT_EQ(server->log().entries().back().request.path, "images/invite_31.png");
    // The cached picture arrives before the call returns, without a request.
    const auto requests = server->log().entries().size();
    EXPECT_EQ(definition->getInviteIcon(), nullptr);
    EXPECT_EQ(recorder.calls.size(), 2u);

    // An invitation showing the same picture finds it cached too.
    auto invite = HCInvite::initWithInviteDefinition(definition);
    invite->setInviteIconURL(definition->inviteIconURL());
    EXPECT_EQ(invite->getInviteIcon(), nullptr);
    EXPECT_EQ(server->log().entries().size(), requests);

    // No picture behind the address; no address at all.
    invite->setInviteIconURL(std::string("images/nothing-here.gif"));
    ASSERT_TRUE(invite->getInviteIcon());
    ASSERT_TRUE(waitForCalls(4));
    definition->setInviteIconURL(std::nullopt);
    EXPECT_EQ(definition->getInviteIcon(), nullptr);

    // An invitation let go of mid-download hears nothing.
    auto dropped = HCInvite::initWithInviteDefinition(fetchDefinition("32"));
    dropped->setInviteIconURL(std::string("images/invite_32.png"));
    ASSERT_TRUE(dropped->getInviteIcon());
    dropped.reset();
    fence();
    testsupport::drainMain();
    const std::string message = "Come and clear the field with me!";
    EXPECT_EQ(recorder.calls,
              (std::vector<std::string>{"definition icon 31 2", "definition icon 31 2", "invite icon " + message + " 2",
                                        "no invite icon " + message, "no definition icon 31"}));
}

}  // namespace
