// The public cloud storage class without a server: what the store refuses
// reaches the delegate with its status inside the call, on the main thread.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/storage/HCCloudStorageService.h"
#include "core/storage/HCCompressableData.h"
#include "social/cloudstorage/HCCloudStorage.h"
#include "social/cloudstorage/HCCloudStorageRecorder.h"
#include "platform/foundation/ProgrammingError.h"
#include "platform/runtime/Thread.h"
#include "support/TestSupport.h"
#include "transport/handles/HCRequestHandlesForModule.h"

namespace {

class HCCloudStorageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HCCloudStorageService::initializeService();
        HCCloudStorage::setDelegate(&recorder);
    }
    void TearDown() override
    {
        HCCloudStorage::setDelegate(nullptr);
        HCCloudStorageService::shutdownService();
        testsupport::drainMain();
    }
    HCCloudStorageRecorder recorder;
};

size_t registeredHandles()
{
    auto registry = HCRequestHandlesForModule::snapshot();
    if (!registry) return 0;
    for (const auto& [module, handles] : *registry)
        if (module == HCCloudStorage::kModule) return handles.size();
    return 0;
}


}  // namespace

TEST_F(HCCloudStorageTest, RefusedCallsReportTheirStatusBeforeTheyReturnNil)
{
    EXPECT_EQ(HCCloudStorage::upload(platform::Data::fromString("save"), "1a"), nullptr);
    EXPECT_EQ(recorder.calls, std::vector<std::string>{"didFailUpload 406"}) << "reported inside the call";
    EXPECT_EQ(HCCloudStorage::upload(nullptr, "save"), nullptr);
    const auto tooLarge = platform::Data::make(testsupport::incompressibleBytes(HCCompressableData::kStorageLimit + 1, 9));
    EXPECT_EQ(HCCloudStorage::upload(tooLarge, "save"), nullptr);
    EXPECT_EQ(HCCloudStorage::downloadDataWithKey("a.b"), nullptr);
    EXPECT_EQ(registeredHandles(), 0u);
    EXPECT_EQ(testsupport::drainMain(), 0) << "nothing is left to deliver later";
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"didFailUpload 406", "didFailUpload 406", "didFailUpload 507",
                                                        "didFailDownloadData 406"}));
    EXPECT_TRUE(recorder.onMainThread);
}

TEST_F(HCCloudStorageTest, CallsFromAnotherThreadAreReportedAsProgrammingErrors)
{
    std::vector<std::string> reports;
    platform::setProgrammingErrorHandler([&](const std::string& text) { reports.push_back(text); });
    auto worker = platform::Thread::start("worker");
    bool done = false;
    worker->runLoop()->post([&] {
        HCCloudStorage::upload(nullptr, "save");
        platform::performOnMain([&] { done = true; });
    });
    ASSERT_TRUE(testsupport::runMainUntil([&] { return done; }));
    worker->cancel();
    platform::setProgrammingErrorHandler(nullptr);
#ifndef NDEBUG
    // The public class, its class delegate and the service each check.
    auto reported = [&](const std::string& where) {
        return std::any_of(reports.begin(), reports.end(), [&](const std::string& r) { return r.find(where) != std::string::npos; });
    };
    ASSERT_GE(reports.size(), 2u);
    EXPECT_TRUE(reported("HCCloudStorage::upload"));
    EXPECT_TRUE(reported("HCCloudStorageService::uploadBlob"));
    EXPECT_NE(reports[0].find("\"worker\""), std::string::npos) << reports[0];
#endif
}
