// The public-class pattern: one delegate per class, handles registered per
// class, a nil delegate cancelling that class's requests only, and the
// picture step.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/images/HCImageCache.h"
#include "core/publicclass/HCClassDelegate.h"
#include "core/publicclass/HCPublicImageStep.h"
#include "kernel/http/HCHttpRequest.h"
#include "platform/foundation/ProgrammingError.h"
#include "kernel/http/HCHttpService.h"
#include "transport/handles/HCRequestHandlesForModule.h"
#include "platform/ui/Image.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"

using testnet::LoopbackServer;
using testnet::ServerReply;
using testnet::ServerRequest;
using testsupport::drainMain;
using testsupport::runMainUntil;

namespace {

// A game's delegate for two test classes: "did…" and "didFail…" of one
// operation, and a picture.
class GadgetDelegate : public platform::OptionalMethods {
public:
    virtual ~GadgetDelegate() = default;
    virtual void didFetch(const std::string&) { notImplemented(); }
    virtual void didFailFetch() { notImplemented(); }
    virtual void didGetPicture(const platform::ui::ImagePtr&, const std::string&) { notImplemented(); }
    virtual void didFailGetPicture(const std::string&) { notImplemented(); }
};

class Journal : public GadgetDelegate {
public:
    void didFetch(const std::string& v) override { events.push_back("did " + v); }
    void didFailFetch() override { events.push_back("didFail"); }
    void didGetPicture(const platform::ui::ImagePtr& image, const std::string& owner) override
    {
        events.push_back("picture " + owner + (image ? "" : " nil"));
        pictures.push_back(image);
    }
    void didFailGetPicture(const std::string& owner) override { events.push_back("no picture " + owner); }
    std::vector<std::string> events;
    std::vector<platform::ui::ImagePtr> pictures;
};

// Implements only the success method.
class HalfJournal : public GadgetDelegate {
public:
    void didFetch(const std::string& v) override { events.push_back("did " + v); }
    std::vector<std::string> events;
};

HCClassDelegate<GadgetDelegate> sGadgets("TestGadget");
HCClassDelegate<GadgetDelegate> sWidgets("TestWidget");

// A download that a test ends by hand: what a service call answers.
struct PendingCall {
    // What a service keeps of the operation's callbacks: the two delegates.
    struct {
        HCDelegate success, failure;
    } callbacks;
    std::shared_ptr<platform::Object> request = std::make_shared<platform::Object>();
};

// A class operation in the pattern: the service is a list of pending calls.
HCRequestHandlePtr fetch(HCClassDelegate<GadgetDelegate>& module, std::vector<PendingCall>& service)
{
    auto callbacks = module.callbacks(
        nullptr,
        [&module](auto started, const platform::ObjectPtr& result) {
            auto text = platform::textOf(result).value_or("");
            module.notify(started, [&](GadgetDelegate& d) { d.didFetch(text); });
        },
        [&module](auto started) { module.notify(started, [](GadgetDelegate& d) { d.didFailFetch(); }); });
    service.push_back(PendingCall{{callbacks.success, callbacks.failure}});
    return module.track(HCRequestHandle::requestHandle(service.back().request));
}

std::vector<std::string> registered()
{
    std::vector<std::string> out;
    if (auto snap = HCRequestHandlesForModule::snapshot())
        for (auto& [module, handles] : *snap) out.push_back(module + ":" + std::to_string(handles.size()));
    return out;
}

class HCPublicClassTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        sGadgets.set(nullptr);
        sWidgets.set(nullptr);
        drainMain();
    }
};

TEST_F(HCPublicClassTest, HandlesGroupPerClassAndANilDelegateCancelsOnlyThatClass)
{
    Journal gadgets, widgets;
    sGadgets.set(&gadgets);
    sWidgets.set(&widgets);
    std::vector<PendingCall> service;
    auto first = fetch(sGadgets, service);
    auto other = fetch(sWidgets, service);
    auto second = fetch(sGadgets, service);
    EXPECT_EQ(registered(), (std::vector<std::string>{"TestGadget:2", "TestWidget:1"}));
    auto snap = HCRequestHandlesForModule::snapshot();
    EXPECT_EQ((*snap)[0].second, (std::vector<HCRequestHandlePtr>{first, second}));

    // The first gadget answer is already on its way when the game clears the
    // delegate and sets another: the new delegate must not hear it.
    service[0].callbacks.success.invoke(platform::String::make("late"));
    sGadgets.set(nullptr);
    EXPECT_EQ(registered(), (std::vector<std::string>{"TestWidget:1"}));
    Journal next;
    sGadgets.set(&next);
    service[2].callbacks.failure.invoke();
    service[1].callbacks.success.invoke(platform::String::make("w"));
    drainMain();
    EXPECT_TRUE(next.events.empty());
    EXPECT_TRUE(gadgets.events.empty());
    EXPECT_EQ(widgets.events, (std::vector<std::string>{"did w"}));

    // A request started under the new delegate reaches it.
    fetch(sGadgets, service);
    service[3].callbacks.success.invoke(platform::String::make("fresh"));
    drainMain();
    EXPECT_EQ(next.events, (std::vector<std::string>{"did fresh"}));

    // The last entry leaving takes the registry with it.
    sWidgets.set(nullptr);
    sGadgets.set(nullptr);
    EXPECT_FALSE(HCRequestHandlesForModule::snapshot().has_value());
}

TEST_F(HCPublicClassTest, OnlyImplementedMethodsAreCalledAndNoDelegateDropsTheOutcome)
{
    std::vector<PendingCall> service;
    fetch(sGadgets, service);
    service[0].callbacks.success.invoke(platform::String::make("nobody"));
    drainMain();  // no delegate: dropped

    HalfJournal half;
    sGadgets.set(&half);
    fetch(sGadgets, service);
    fetch(sGadgets, service);
    service[1].callbacks.failure.invoke();
    service[2].callbacks.success.invoke(platform::String::make("x"));
    drainMain();
    EXPECT_EQ(half.events, (std::vector<std::string>{"did x"}));
}

TEST_F(HCPublicClassTest, NilDelegateCancelsARunningDownload)
{
    LoopbackServer server;
    server.route("/slow", [](const ServerRequest&) {
        ServerReply r = ServerReply::text(200, "late");
        r.hold = true;
        return r;
    });
    Journal journal;
    sGadgets.set(&journal);
    auto service = std::make_shared<HCHttpService>("", false);
    auto callbacks = sGadgets.callbacks(
        nullptr, [](auto started, const platform::ObjectPtr&) { sGadgets.notify(started, [](GadgetDelegate& d) { d.didFetch("x"); }); },
        [](auto started) { sGadgets.notify(started, [](GadgetDelegate& d) { d.didFailFetch(); }); });
    class Forward : public HCHttpServiceObserver {
    public:
        Forward(HCDelegate success, HCDelegate failure) : success_(std::move(success)), failure_(std::move(failure)) {}
        void onFinishedDownloading(const std::shared_ptr<HCHttpRequest>& r) override { success_.invoke(r->responseData()); }
        void onFailedDownloading(const std::shared_ptr<HCHttpRequest>&) override { failure_.invoke(); }
        HCDelegate success_, failure_;
    };
    auto request = service->startRequest(server.url("/slow"), "GET", nullptr,
                                         std::make_shared<Forward>(callbacks.success, callbacks.failure));
    sGadgets.track(HCRequestHandle::requestHandle(request));
    ASSERT_TRUE(runMainUntil([&] { return server.requestCount("/slow") == 1; }));
    sGadgets.set(nullptr);
    EXPECT_FALSE(request->isInProgress());
    server.releaseHeldReplies();
    sGadgets.set(&journal);
    drainMain();
    EXPECT_TRUE(journal.events.empty());
    EXPECT_TRUE(service->requests().empty());
}

TEST_F(HCPublicClassTest, AnAnswerGivenInsideTheServiceCallArrivesBeforeTheOperationReturns)
{
    Journal journal;
    sGadgets.set(&journal);
    std::vector<PendingCall> service;
    // A service that refuses at once, as a bad id or key does.
    auto refused = [&] {
        auto callbacks = sGadgets.callbacks(
            nullptr, [](auto, const platform::ObjectPtr&) {},
            [](auto started) { sGadgets.notify(started, [](GadgetDelegate& d) { d.didFailFetch(); }); });
        callbacks.failure.invoke();
        return sGadgets.track(nullptr);
    };
    EXPECT_EQ(refused(), nullptr);
    EXPECT_EQ(journal.events, std::vector<std::string>{"didFail"});
    // A request answered after the operation returned waits for its turn.
    fetch(sGadgets, service);
    service[0].callbacks.success.invoke(platform::String::make("later"));
    EXPECT_EQ(journal.events.size(), 1u);
    drainMain();
    EXPECT_EQ(journal.events, (std::vector<std::string>{"didFail", "did later"}));
}

#ifndef NDEBUG
TEST_F(HCPublicClassTest, ADelegateReachedOffTheMainThreadIsReported)
{
    std::vector<std::string> reports;
    platform::setProgrammingErrorHandler([&](const std::string& text) { reports.push_back(text); });
    Journal journal;
    sGadgets.set(&journal);
    auto worker = platform::Thread::start("request");
    bool done = false;
    // A step bound to the wrong thread: the game's delegate must not be called there unnoticed.
    worker->runLoop()->post([&] {
        sGadgets.notify(sGadgets.ticket(), [](GadgetDelegate& d) { d.didFetch("off main"); });
        platform::performOnMain([&] { done = true; });
    });
    ASSERT_TRUE(runMainUntil([&] { return done; }));
    platform::setProgrammingErrorHandler(nullptr);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("notify"), std::string::npos) << reports[0];
    EXPECT_NE(reports[0].find("\"request\""), std::string::npos) << reports[0];
}
#endif

// A resource with a picture, in the pattern of a player or a game.
class Badge final : public platform::Object {
public:
    explicit Badge(std::string name) : name(std::move(name)) {}
    HCRequestHandlePtr getPicture(const std::optional<std::string>& url)
    {
        return HCPublicImageStep<GadgetDelegate>(
            sGadgets, shared_from_this(), slots, url,
            [this](GadgetDelegate& d, const platform::ui::ImagePtr& image) { d.didGetPicture(image, name); },
            [this](GadgetDelegate& d) { d.didFailGetPicture(name); });
    }
    std::string name;
    HCImageDownloadSlots slots;
};

std::string pngBytes()
{
    auto image = platform::ui::Image::withPixels(2, 2, std::vector<uint8_t>(16, 0x7f));
    return platform::ui::PNGRepresentation(image)->toString();
}

class HCPublicImageStepTest : public HCPublicClassTest {
protected:
    void SetUp() override
    {
        HCImageCache::initializeCache();
        server.route("/pic.png", [](const ServerRequest&) { return ServerReply::text(200, pngBytes()); });
        server.route("/text", [](const ServerRequest&) { return ServerReply::text(200, "<html>not an image</html>"); });
        server.route("/gone", [](const ServerRequest&) { return ServerReply::text(404, pngBytes()); });
        sGadgets.set(&journal);
        // Finished downloads leave the handle registry, as once the client has started.
        HCHttpService::setCompleteRequestHook(&HCRequestHandlesForModule::completeRequest);
    }
    void TearDown() override
    {
        HCPublicClassTest::TearDown();
        HCHttpService::setCompleteRequestHook(nullptr);
        HCImageCache::shutdownCache();
    }
    LoopbackServer server;
    Journal journal;
};

TEST_F(HCPublicImageStepTest, DownloadedPictureIsCachedAndACachedOneAnswersBeforeTheCallReturns)
{
    auto badge = std::make_shared<Badge>("gold");
    const std::string url = server.url("/pic.png");
    auto handle = badge->getPicture(url);
    ASSERT_TRUE(handle);
    EXPECT_EQ(registered(), (std::vector<std::string>{"TestGadget:1"}));
    ASSERT_TRUE(runMainUntil([&] { return !journal.events.empty(); }));
    EXPECT_EQ(journal.events, (std::vector<std::string>{"picture gold"}));
    EXPECT_EQ(journal.pictures[0]->pixelWidth(), 2);
    // The observer let go of itself in its own callback; the handle is done.
    EXPECT_EQ(badge->slots.mHttpServiceObserver, nullptr);
    EXPECT_EQ(handle->request(), nullptr);
    EXPECT_EQ(registered(), (std::vector<std::string>{"TestGadget:0"}));

    auto silver = std::make_shared<Badge>("silver");
    EXPECT_EQ(silver->getPicture(url), nullptr);
    EXPECT_EQ(journal.events.back(), "picture silver");  // before any run-loop turn
    EXPECT_EQ(journal.pictures.back(), journal.pictures.front());
    EXPECT_EQ(server.requestCount("/pic.png"), 1);
}

TEST_F(HCPublicImageStepTest, BytesThatAreNoImageAFailedStatusAndNoUrlReachTheFailureMethod)
{
    auto badge = std::make_shared<Badge>("b");
    badge->getPicture(server.url("/text"));
    ASSERT_TRUE(runMainUntil([&] { return journal.events.size() == 1; }));
    badge->getPicture(server.url("/gone"));
    ASSERT_TRUE(runMainUntil([&] { return journal.events.size() == 2; }));
    EXPECT_EQ(badge->getPicture(std::nullopt), nullptr);
    EXPECT_EQ(badge->getPicture(std::string()), nullptr);
    EXPECT_EQ(journal.events, (std::vector<std::string>(4, "no picture b")));
    EXPECT_EQ(badge->slots.mHttpServiceObserver, nullptr);
    EXPECT_EQ(HCImageCache::sharedInstance()->fetch(server.url("/text")), nullptr);
}

TEST_F(HCPublicImageStepTest, ABadgeLetGoMidDownloadTakesItsDownloadAlong)
{
    std::weak_ptr<Badge> watched;
    {
        auto badge = std::make_shared<Badge>("lost");
        watched = badge;
        ASSERT_TRUE(badge->getPicture(server.url("/pic.png")));
    }
    EXPECT_TRUE(watched.expired());  // the download does not keep its owner alive
    drainMain();
    EXPECT_TRUE(journal.events.empty());
}

}  // namespace
