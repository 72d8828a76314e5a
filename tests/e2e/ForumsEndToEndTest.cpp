// The forums over real HTTP against the local server: the topic tree, pages
// of discussions, opening a discussion and replying, following, and calls
// whose id names nothing.
#include <gtest/gtest.h>

#include "core/clientstate/HCClientState.h"
#include "core/images/HCImageCache.h"
#include "core/images/HCImageDownload.h"
#include "e2e/support/LiveServerTest.h"
#include "localserver/Fixtures.h"
#include "social/forums/HCForumPost.h"
#include "social/forums/HCForumService.h"
#include "social/forums/HCForumThread.h"
#include "social/forums/HCForumTopic.h"

namespace {

class ForumsEndToEndTest : public LiveServerTest {
protected:
    void SetUp() override
    {
        LiveServerTest::SetUp();
        HCForumService::initializeService();
        HCClientStateQueries queries;
        queries.clientApplicationId = [] { return std::optional<std::string>(localserver::defaults::kGameId); };
        HCClientState::setQueries(queries);
    }
    void TearDown() override
    {
        HCClientState::setQueries({});
        HCForumService::shutdownService();
        LiveServerTest::TearDown();
    }


    std::vector<std::shared_ptr<HCForumThread>> threadsOnPage(const std::string& topic, int page)
    {
        Outcome outcome;
        EXPECT_TRUE(HCForumService::getThreadsForTopic(topic, page, outcome.success(), outcome.failed()));
        EXPECT_TRUE(waitFor(outcome));
        EXPECT_FALSE(outcome.failure);
        return outcome.objects<HCForumThread>();
    }

    std::vector<std::shared_ptr<HCForumPost>> postsOf(const std::string& thread)
    {
        Outcome outcome;
        EXPECT_TRUE(HCForumService::getPostsForThread(thread, 1, outcome.success(), outcome.failed()));
        EXPECT_TRUE(waitFor(outcome));
        return outcome.objects<HCForumPost>();
    }

    std::string lastPath() { return server->log().entries().back().request.path; }
};

std::vector<std::string> titles(const std::vector<std::shared_ptr<HCForumThread>>& threads)
{
    std::vector<std::string> out;
    for (const auto& t : threads) out.push_back(t->title().value_or("?"));
    return out;
}

TEST_F(ForumsEndToEndTest, TheGamesTopicTreeArrivesIndentedByGeneration)
{
    for (const std::optional<std::string>& own : {std::optional<std::string>(), std::optional<std::string>("")}) {
        Outcome outcome;
        ASSERT_TRUE(HCForumService::getTopicsForApplication(own, outcome.success(), outcome.failed()));
        ASSERT_TRUE(waitFor(outcome));
        EXPECT_EQ(lastPath(), "client_applications/1/forums.xml");
        auto roots = outcome.objects<HCForumTopic>();
        ASSERT_EQ(roots.size(), 2u);  // General and Bugs; not the other game's
        EXPECT_EQ(roots[0]->title(), "General");
        EXPECT_FALSE(roots[0]->hasParent());
        ASSERT_TRUE(roots[0]->hasChildren());
        auto strategy = platform::as<HCForumTopic>(roots[0]->children()->items()[0]);
        ASSERT_TRUE(strategy);
        EXPECT_EQ(strategy->parentId(), "10");
        EXPECT_EQ(strategy->threadCount(), 13);
        auto speedRuns = platform::as<HCForumTopic>(strategy->children()->items()[0]);
        ASSERT_TRUE(speedRuns);
        EXPECT_FALSE(speedRuns->hasChildren());
        EXPECT_EQ((std::vector<int>{roots[0]->indentLevel(), strategy->indentLevel(), speedRuns->indentLevel()}),
                  (std::vector<int>{0, 1, 2}));
        EXPECT_EQ(roots[1]->title(), "Bugs");
        EXPECT_EQ(roots[1]->threadCount(), 1);
    }
    // Another game's forum is not this game's to read.
    Outcome other;
    HCForumService::getTopicsForApplication("2", other.success(), other.failed());
    ASSERT_TRUE(waitFor(other));
    ASSERT_TRUE(other.failure);
    EXPECT_EQ(other.failure->statusCode(), 404);
}

TEST_F(ForumsEndToEndTest, DiscussionsComeInPagesStickyFirstThenLatest)
{
    auto first = threadsOnPage("11", 1);
    ASSERT_EQ(first.size(), 10u);
    EXPECT_EQ(first[0]->title(), "Forum rules");
    EXPECT_TRUE(first[0]->isSticky());
    EXPECT_TRUE(first[0]->isLocked());
    EXPECT_EQ(first[0]->postCount(), 3);
    ASSERT_TRUE(first[0]->lastPostAuthor());
    EXPECT_EQ(first[0]->lastPostAuthor()->name(), localserver::defaults::kUserName);
    ASSERT_TRUE(first[0]->date());
    EXPECT_EQ(first[0]->date()->timeIntervalSince1970(), 1767225600.0);
    EXPECT_EQ(first[1]->title(), "Level 12 tips");
    EXPECT_FALSE(first[1]->isSticky());
    EXPECT_FALSE(first[1]->isLocked());
    EXPECT_EQ(first[1]->lastPostAuthor()->name(), "Cleo");
    EXPECT_EQ(titles(threadsOnPage("11", 2)), (std::vector<std::string>{"Level 3 tips", "Level 2 tips", "Level 1 tips"}));
    EXPECT_EQ(server->log().entries().back().request.param("page"), "2");
    EXPECT_TRUE(threadsOnPage("11", 3).empty());

    // The caller's own following shows in "subscribed".
    auto bugs = threadsOnPage("20", 1);
    ASSERT_EQ(bugs.size(), 1u);
    EXPECT_TRUE(bugs[0]->isSubscribed());
}

TEST_F(ForumsEndToEndTest, OpeningADiscussionAndReplyingShowInTheForum)
{
    server->setClock([] { return std::int64_t{1767300000}; });
    Outcome opened;
    ASSERT_TRUE(HCForumService::postNewThreadInTopic("12", "Fastest clear", "Under 40 s & counting", opened.success(),
                                                     opened.failed()));
    ASSERT_TRUE(waitFor(opened));
    auto entry = server->log().entries().back().request;
    EXPECT_EQ(entry.method, "POST");
    EXPECT_EQ(entry.path, "topics/12/discussions.xml");
    EXPECT_EQ(entry.param("discussion[subject]"), "Fastest clear");
    EXPECT_EQ(entry.param("discussion[body]"), "Under 40 s & counting");
    auto created = opened.objects<HCForumThread>();
    ASSERT_EQ(created.size(), 1u);
    const auto threadId = created[0]->resourceId();
    EXPECT_EQ(created[0]->postCount(), 1);

    Outcome replied;
    ASSERT_TRUE(HCForumService::replyToThread(threadId, "Me too <3", replied.success(), replied.failed()));
    ASSERT_TRUE(waitFor(replied));
    EXPECT_EQ(server->log().entries().back().request.param("post[body]"), "Me too <3");
    auto reply = replied.objects<HCForumPost>();
    ASSERT_EQ(reply.size(), 1u);
    EXPECT_EQ(reply[0]->discussionId(), threadId);

    auto posts = postsOf(*threadId);
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_EQ(posts[0]->body(), "Under 40 s & counting");
    EXPECT_EQ(posts[1]->body(), "Me too <3");
    EXPECT_EQ(posts[1]->author()->userId(), localserver::defaults::kUserId);
    EXPECT_TRUE(posts[1]->isDiscussionConversation());
    ASSERT_TRUE(posts[1]->date());
    EXPECT_EQ(posts[1]->date()->timeIntervalSince1970(), 1767300000.0);
    EXPECT_EQ(titles(threadsOnPage("12", 1)), std::vector<std::string>{"Fastest clear"});

    // A discussion without a subject is refused, and nothing is opened.
    Outcome blank;
    HCForumService::postNewThreadInTopic("12", "  ", "body", blank.success(), blank.failed());
    ASSERT_TRUE(waitFor(blank));
    ASSERT_TRUE(blank.failure);
    EXPECT_EQ(blank.failure->statusCode(), 422);
    EXPECT_EQ(threadsOnPage("12", 1).size(), 1u);

    // A locked discussion refuses replies; the failure carries the status.
    Outcome locked;
    HCForumService::replyToThread("200", "late", locked.success(), locked.failed());
    ASSERT_TRUE(waitFor(locked));
    ASSERT_TRUE(locked.failure);
    EXPECT_EQ(locked.failure->statusCode(), 403);
}

TEST_F(ForumsEndToEndTest, FollowingADiscussionAndLettingGo)
{
    Outcome followed;
    ASSERT_TRUE(HCForumService::subscribeToThread("205", "11", followed.success(), followed.failed()));
    ASSERT_TRUE(waitFor(followed));
    EXPECT_EQ(lastPath(), "discussions/205/subscribe.xml");
    EXPECT_EQ(server->log().entries().back().request.param("topic_id"), "11");
    auto thread = followed.objects<HCForumThread>();
    ASSERT_EQ(thread.size(), 1u);
    EXPECT_TRUE(thread[0]->isSubscribed());

    Outcome dropped;
    ASSERT_TRUE(HCForumService::unsubscribeFromThread("205", "11", dropped.success(), dropped.failed()));
    ASSERT_TRUE(waitFor(dropped));
    EXPECT_EQ(lastPath(), "discussions/205/unsubscribe.xml");
    ASSERT_EQ(dropped.objects<HCForumThread>().size(), 1u);
    EXPECT_FALSE(dropped.objects<HCForumThread>()[0]->isSubscribed());
}

TEST_F(ForumsEndToEndTest, PostsAreReadWithoutALoggedInSession)
{
    useProvider(localserver::defaults::kProductSecret, "", "");
    auto posts = postsOf("200");
    ASSERT_EQ(posts.size(), 3u);
    EXPECT_EQ(posts[0]->body(), "Be kind & stay on topic.");
    EXPECT_EQ(posts[2]->body(), "<b>Noted</b>");
    std::vector<std::string> authors;
    for (const auto& p : posts) authors.push_back(p->author()->name().value_or(""));
    EXPECT_EQ(authors, (std::vector<std::string>{"Ann", "Ben", "Cleo"}));
    const auto request = server->log().entries().back().request;
    EXPECT_EQ(localserver::firstValue(request.oauth, "oauth_token").value_or(""), "");

    // The authors' pictures live below the service root.
    HCImageCache::initializeCache();
    HCImageDownloadSlots slots;
    platform::ui::ImagePtr cached;
    std::shared_ptr<platform::Data> bytes;
    bool done = false;
    auto onBytes = HCDelegate::withFunction([&](const platform::ObjectPtr& v) {
        bytes = platform::as<platform::Data>(v);
        done = true;
    });
    auto onFail = HCDelegate::withFunction([&](const platform::ObjectPtr&) { done = true; });
    ASSERT_TRUE(HCImageDownload::getImageFromUrl(posts[2]->author()->profilePictureUrl().value_or(""), cached, slots,
                                                 onBytes, onFail));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return done; }));
    ASSERT_TRUE(bytes);
    EXPECT_TRUE(platform::ui::Image::imageWithData(bytes));
    EXPECT_EQ(lastPath(), "images/user_1004.png");
    HCImageCache::shutdownCache();
}

TEST_F(ForumsEndToEndTest, IdsThatNameNothingFailAtOnceAndOthersStayOneSegment)
{
    fence();
    const auto before = server->log().size();
    std::vector<Outcome> outcomes(8);
    const std::optional<std::string> none;
    EXPECT_EQ(HCForumService::getThreadsForTopic(none, 1, outcomes[0].success(), outcomes[0].failed()), nullptr);
    EXPECT_EQ(HCForumService::getPostsForThread("", 1, outcomes[1].success(), outcomes[1].failed()), nullptr);
    EXPECT_EQ(HCForumService::postNewThreadInTopic(none, "s", "b", outcomes[2].success(), outcomes[2].failed()), nullptr);
    EXPECT_EQ(HCForumService::replyToThread("", "b", outcomes[3].success(), outcomes[3].failed()), nullptr);
    EXPECT_EQ(HCForumService::subscribeToThread(none, "11", outcomes[4].success(), outcomes[4].failed()), nullptr);
    EXPECT_EQ(HCForumService::unsubscribeFromThread("..", "11", outcomes[5].success(), outcomes[5].failed()), nullptr);
    HCClientState::setQueries({});  // no own application id either
    EXPECT_EQ(HCForumService::getTopicsForApplication(none, outcomes[6].success(), outcomes[6].failed()), nullptr);
    for (int i = 0; i < 7; ++i) {
        ASSERT_TRUE(waitFor(outcomes[i])) << i;
        EXPECT_FALSE(outcomes[i].series) << i;
        EXPECT_TRUE(outcomes[i].onMainThread) << i;
    }
    fence();
    EXPECT_EQ(server->log().size(), before + 1);  // only the fence

    // An id with a slash stays inside its segment: no other route is reached.
    ASSERT_TRUE(HCForumService::getPostsForThread("300/../200", 1, outcomes[7].success(), outcomes[7].failed()));
    ASSERT_TRUE(waitFor(outcomes[7]));
    ASSERT_TRUE(outcomes[7].failure);
    EXPECT_EQ(outcomes[7].failure->statusCode(), 404);
    EXPECT_EQ(server->log().entries().back().request.target.find("/../"), std::string::npos);
}

}  // namespace
