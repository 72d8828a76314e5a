// The headless location service as an application's manager sees it: answers
// come on a later turn, one per position or error, and never after a stop.
#include "platform/ui/LocationManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TestSupport.h"

using namespace platform::ui;

namespace {

class Recorder final : public LocationManagerDelegate {
public:
    void didUpdateToLocation(LocationManager&, const LocationPtr& now, const LocationPtr& before) override
    {
        heard.push_back("fix " + std::to_string(now->coordinate().latitude) + (before ? " after fix" : ""));
    }
    void didFailWithError(LocationManager&, const LocationError& error) override
    {
        heard.push_back("error " + std::to_string(error.code));
    }
    std::vector<std::string> heard;
};

class LocationManagerTest : public ::testing::Test {
protected:
    void SetUp() override { LocationManager::resetDevice(); }
    void TearDown() override
    {
        testsupport::drainMain();
        LocationManager::resetDevice();
    }
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();
};

TEST_F(LocationManagerTest, AnswersComeOnALaterTurnOnePerChangeAndNeverAfterAStop)
{
    auto manager = LocationManager::make();
    manager->setDelegate(recorder);
    manager->startUpdatingLocation();
    testsupport::drainMain();
    EXPECT_TRUE(recorder->heard.empty()) << "no fix: the manager waits";

    LocationManager::setDevicePosition({12.5, 0});
    EXPECT_TRUE(recorder->heard.empty()) << "never from inside the caller's turn";
    testsupport::drainMain();
    LocationManager::setDevicePosition({13.5, 0});
    testsupport::drainMain();
    EXPECT_EQ(recorder->heard, (std::vector<std::string>{"fix 12.500000", "fix 13.500000 after fix"}));
    EXPECT_EQ(manager->location()->coordinate().latitude, 13.5);

    // A delivery already on its way is dropped by the stop.
    LocationManager::setDeviceError(static_cast<int>(LocationErrorCode::Denied));
    manager->stopUpdatingLocation();
    testsupport::drainMain();
    EXPECT_EQ(recorder->heard.size(), 2u);

    // A manager that starts later hears the device's standing answer.
    auto later = LocationManager::make();
    later->setDelegate(recorder);
    later->startUpdatingLocation();
    testsupport::drainMain();
    EXPECT_EQ(recorder->heard.back(), "error 1");
    EXPECT_EQ(LocationManager::startsSinceReset(), 2);
}

}  // namespace
