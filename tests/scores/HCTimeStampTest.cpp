// The server-time object: reading its element, and what reaches the class
// delegate for each kind of reply.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/replies/HCPaginatedSeries.h"
#include "kernel/xml/HCXmlDocument.h"
#include "scores/servertime/HCTimeStamp.h"
#include "scores/servertime/HCTimeStampDelegate.h"
#include "scores/servertime/HCTimeStampService.h"
#include "support/TestSupport.h"
#include "transport/handles/HCRequestHandlesForModule.h"

namespace {

class RecordingDelegate : public HCTimeStampDelegate {
public:
    void didGetServerTime(const std::shared_ptr<HCTimeStamp>& timeStamp) override { received.push_back(timeStamp); }
    void didFailGetServerTime() override { ++failures; }

    std::vector<std::shared_ptr<HCTimeStamp>> received;
    int failures = 0;
};

// Implements neither callback.
class SilentDelegate : public HCTimeStampDelegate {};

class TimeStampTest : public ::testing::Test {
protected:
    void SetUp() override { HCTimeStampService::initializeService(); }
    void TearDown() override
    {
        HCTimeStamp::setDelegate(nullptr);
        HCTimeStampService::shutdownService();
    }

    static HCPaginatedSeriesPtr read(const std::string& xml)
    {
        auto document = HCXmlDocument::xmlDocumentWithData(xml);
        return HCResource::resourcesFromXml(*document,
                                            HCTimeStampService::sharedInstance()->getKnownResources().get());
    }
};

TEST_F(TimeStampTest, ReadsBothFieldsAndTextOfAnotherFormLeavesTimeNilButKeepsTheSeconds)
{
    auto stamp = platform::as<HCTimeStamp>(read("<resources><server_timestamp><timestamp>2026-01-01T00:00:05Z</timestamp>"
                                                "<seconds_since_epoch>1767225605</seconds_since_epoch>"
                                                "</server_timestamp></resources>")
                                               ->objectAtIndex(0));
    ASSERT_TRUE(stamp && stamp->time());
    EXPECT_EQ(stamp->time()->timeIntervalSince1970(), 1767225605.0);
    EXPECT_EQ(stamp->secondsSinceEpoch(), 1767225605);
    for (const char* text : {"2026-01-01 00:00:05", "yesterday", "", "2026-13-01T00:00:05Z"}) {
        auto series = read(std::string("<resources><server_timestamp><timestamp>") + text +
                           "</timestamp><seconds_since_epoch>42</seconds_since_epoch></server_timestamp></resources>");
        auto other = platform::as<HCTimeStamp>(series->objectAtIndex(0));
        ASSERT_TRUE(other) << text;
        EXPECT_EQ(other->time(), nullptr) << text;
        EXPECT_EQ(other->secondsSinceEpoch(), 42) << text;
    }
}

TEST_F(TimeStampTest, TheFirstTimeStampGoesToTheDelegateAndAReplyWithoutOneIsAFailure)
{
    RecordingDelegate delegate;
    HCTimeStamp::setDelegate(&delegate);
    HCTimeStamp::_getServerTimeSuccess(
        read("<resources><server_timestamp><seconds_since_epoch>1</seconds_since_epoch></server_timestamp>"
             "<server_timestamp><seconds_since_epoch>2</seconds_since_epoch></server_timestamp></resources>"));
    ASSERT_EQ(delegate.received.size(), 1u);
    EXPECT_EQ(delegate.received[0]->secondsSinceEpoch(), 1);
    EXPECT_EQ(delegate.failures, 0);

    HCTimeStamp::_getServerTimeSuccess(read("<resources><other><id>1</id></other></resources>"));
    HCTimeStamp::_getServerTimeSuccess(read("<resource_sections><resource_section><resources/>"
                                            "</resource_section></resource_sections>"));
    HCTimeStamp::_getServerTimeSuccess(nullptr);
    HCTimeStamp::_getServerTimeFailure();
    EXPECT_EQ(delegate.received.size(), 1u);
    EXPECT_EQ(delegate.failures, 4);

    // A delegate that implements nothing, or none at all, is fine.
    SilentDelegate silent;
    for (HCTimeStampDelegate* d : {static_cast<HCTimeStampDelegate*>(&silent), static_cast<HCTimeStampDelegate*>(nullptr)}) {
        HCTimeStamp::setDelegate(d);
        HCTimeStamp::_getServerTimeSuccess(read("<resources><server_timestamp/></resources>"));
        HCTimeStamp::_getServerTimeFailure();
    }
}

TEST_F(TimeStampTest, WithoutTheServiceNoRequestAndNoCallback)
{
    RecordingDelegate delegate;
    HCTimeStamp::setDelegate(&delegate);
    HCTimeStampService::shutdownService();
    auto before = HCRequestHandlesForModule::snapshot();
    EXPECT_EQ(HCTimeStamp::getServerTime(), nullptr);
    EXPECT_EQ(HCTimeStampService::getServerTimeOnSuccess(HCDelegate(), HCDelegate()), nullptr);
    testsupport::drainMain();
    EXPECT_TRUE(delegate.received.empty());
    EXPECT_EQ(delegate.failures, 0);
    EXPECT_EQ(HCRequestHandlesForModule::snapshot(), before);
}

#ifndef NDEBUG
// Stands for every service singleton: start-up and shut-down belong to the
// main thread, and so do this service's requests.
TEST_F(TimeStampTest, StartStopAndRequestOffTheMainThreadAreReported)
{
    const auto reports = testsupport::programmingErrorsOnAnotherThread([] {
        HCTimeStampService::shutdownService();
        HCTimeStampService::getServerTimeOnSuccess(HCDelegate(), HCDelegate());
        HCTimeStampService::initializeService();
    });
    size_t next = 0;
    for (const char* where : {"HCTimeStampService::shutdownService", "HCTimeStampService::getServerTimeOnSuccess",
                              "HCTimeStampService::initializeService"}) {
        while (next < reports.size() && reports[next].find(where) == std::string::npos) ++next;
        ASSERT_LT(next, reports.size()) << where << " was not reported";
        EXPECT_NE(reports[next].find("ran on thread \"worker\""), std::string::npos) << reports[next];
    }
}
#endif

}  // namespace
