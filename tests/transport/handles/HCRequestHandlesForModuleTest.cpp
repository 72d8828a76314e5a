#include <gtest/gtest.h>

#include "platform/foundation/Values.h"
#include "transport/handles/HCRequestHandlesForModule.h"

namespace {

// Each test starts from no registry: dropping every module the tests use
// removes it.
class HCRequestHandlesForModuleTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (auto module : {"HCUser", "HCInvite", "HCTimeStamp"})
            HCRequestHandlesForModule::cancelAllRequestsForModule(module);
    }
};

std::vector<std::string> modules()
{
    std::vector<std::string> out;
    if (auto snap = HCRequestHandlesForModule::snapshot())
        for (auto& [module, handles] : *snap) out.push_back(module);
    return out;
}

}  // namespace

TEST_F(HCRequestHandlesForModuleTest, HandlesGroupByModuleInCallOrder)
{
    HCRequestHandlesForModule::addHandle(nullptr, "HCUser");
    EXPECT_FALSE(HCRequestHandlesForModule::snapshot().has_value()) << "a nil handle makes no registry";
    auto r1 = platform::String::make("r1"), r2 = platform::String::make("r2"), r3 = platform::String::make("r3");
    auto h1 = HCRequestHandle::requestHandle(r1), h2 = HCRequestHandle::requestHandle(r2),
         h3 = HCRequestHandle::requestHandle(r3);
    HCRequestHandlesForModule::addHandle(h1, "HCUser");
    HCRequestHandlesForModule::addHandle(h2, "HCInvite");
    HCRequestHandlesForModule::addHandle(h3, "HCUser");
    auto snap = HCRequestHandlesForModule::snapshot();
    ASSERT_TRUE(snap);
    ASSERT_EQ(snap->size(), 2u);
    EXPECT_EQ((*snap)[0].first, "HCUser");
    EXPECT_EQ((*snap)[0].second, (std::vector<HCRequestHandlePtr>{h1, h3}));
    EXPECT_EQ((*snap)[1].second, (std::vector<HCRequestHandlePtr>{h2}));
}

TEST_F(HCRequestHandlesForModuleTest, CompletedRequestClearsItsHandleAndKeepsTheEmptyEntry)
{
    auto request = platform::String::make("loader");
    auto handle = HCRequestHandle::requestHandle(request);
    HCRequestHandlesForModule::addHandle(handle, "HCTimeStamp");
    HCRequestHandlesForModule::completeRequest(request);
    EXPECT_EQ(handle->request(), nullptr);
    auto snap = HCRequestHandlesForModule::snapshot();
    ASSERT_TRUE(snap);
    ASSERT_EQ(snap->size(), 1u);
    EXPECT_TRUE((*snap)[0].second.empty());
    // Cancelling a handle whose request ended does nothing.
    handle->cancel();
    // A handle does not keep its request alive.
    auto unheld = HCRequestHandle::requestHandle(platform::String::make("short-lived"));
    EXPECT_EQ(unheld->request(), nullptr);
}

TEST_F(HCRequestHandlesForModuleTest, AHandleWhoseRequestEndedBeforeItWasRegisteredIsNotKept)
{
    auto request = platform::String::make("loader");
    auto handle = HCRequestHandle::requestHandle(request);
    HCRequestHandlesForModule::completeRequest(request);
    EXPECT_EQ(handle->request(), nullptr);
    HCRequestHandlesForModule::addHandle(handle, "HCUser");
    EXPECT_TRUE(modules().empty());

    // A registered handle whose request went away without a reported end
    // goes with the next registration.
    auto shortLived = platform::String::make("dropped");
    HCRequestHandlesForModule::addHandle(HCRequestHandle::requestHandle(shortLived), "HCInvite");
    shortLived.reset();
    HCRequestHandlesForModule::addHandle(HCRequestHandle::requestHandle(request), "HCUser");
    auto snap = HCRequestHandlesForModule::snapshot();
    ASSERT_TRUE(snap);
    ASSERT_EQ(snap->size(), 2u);
    EXPECT_TRUE((*snap)[0].second.empty());
    EXPECT_EQ((*snap)[1].second.size(), 1u);
}

TEST_F(HCRequestHandlesForModuleTest, CancellingAModuleDropsOnlyItsEntryAndTheLastOneDropsTheRegistry)
{
    auto a = platform::String::make("a"), b = platform::String::make("b");
    HCRequestHandlesForModule::addHandle(HCRequestHandle::requestHandle(a), "HCUser");
    HCRequestHandlesForModule::addHandle(HCRequestHandle::requestHandle(b), "HCInvite");
    HCRequestHandlesForModule::cancelAllRequestsForModule("HCUser");
    EXPECT_EQ(modules(), (std::vector<std::string>{"HCInvite"}));
    HCRequestHandlesForModule::cancelAllRequestsForModule("HCInvite");
    EXPECT_FALSE(HCRequestHandlesForModule::snapshot().has_value());
    // The next handle creates the registry anew.
    HCRequestHandlesForModule::addHandle(HCRequestHandle::requestHandle(a), "HCUser");
    EXPECT_EQ(modules(), (std::vector<std::string>{"HCUser"}));
}
