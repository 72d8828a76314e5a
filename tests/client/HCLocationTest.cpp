// The player's position as the client finds and shares it: the headless
// device answers, the local server keeps what arrives, and the manual clock
// runs the fix's time-out and the retries.
#include "client/support/HalcyonTest.h"
#include "core/device/HCDevice.h"
#include "core/device/HCParentalControls.h"
#include "core/halcyon/HCLocation.h"
#include "core/services/HCService.h"
#include "core/xp/HCSession.h"
#include "platform/ui/LocationManager.h"
#include "transport/provider/HCProvider.h"

namespace {

using localserver::Params;
using platform::ui::LocationErrorCode;
using platform::ui::LocationManager;
namespace defaults = localserver::defaults;

constexpr platform::ui::Coordinate kOslo{59.9139, 10.7522};
constexpr platform::ui::Coordinate kSydney{-33.8688, 151.2093};

class HCLocationTest : public HalcyonServerTest {
protected:
    // Approved and logged in as the server's first user, with `unit` as the player's distance unit.
    void startOnline(long unit)
    {
        Halcyon::setUserApprovedHalcyon();
        Halcyon::_initialize(defaults::kProductKey, defaults::kProductSecret, "Game", nullptr, nullptr, assembly());
        HCService::provider()->setAccessToken(defaults::kUserToken, defaults::kUserTokenSecret);
        setReachable(true);
        Halcyon::sessionDidLoginUser();
        ASSERT_TRUE(Halcyon::isOnline());
        Halcyon::setUserDistanceUnit(unit);
    }
    // Runs what is due, lets every request the client started end, runs what they delivered.
    void settle()
    {
        testsupport::drainMain();
        ASSERT_TRUE(HCService::provider()->waitUntilIdle(10.0));
        testsupport::drainMain();
    }
    void tick(int times = 1)
    {
        for (int i = 0; i < times; ++i) {
            clock->advance(HCLocation::kRetryInterval);
            settle();
        }
    }
    // The parameters of each position report the server answered.
    std::vector<Params> uploads()
    {
        std::vector<Params> result;
        for (const auto& entry : server.log().entries())
            if (entry.request.path == "users/@me/set_location.xml" && entry.status != 0)
                result.push_back(entry.request.params);
        return result;
    }
    bool waitForUploads(size_t count)
    {
        return testsupport::runMainUntil([&] { return uploads().size() >= count; });
    }
    std::optional<localserver::Position> stored() { return server.accounts().user(defaults::kUserId)->position; }
    static std::shared_ptr<HCLocation> location()
    {
        return std::dynamic_pointer_cast<HCLocation>(Halcyon::locationSource());
    }
};

TEST_F(HCLocationTest, TheFirstFixConfirmsSharingTurnedOnAndReachesTheService)
{
    startOnline(HCDistanceUnitSharingWithoutFix);
    LocationManager::setDevicePosition(kOslo);
    Halcyon::startLocationManagerIfAllowed();
    ASSERT_TRUE(location() && location()->isLocationUpdating());

    ASSERT_TRUE(waitForUploads(1));
    EXPECT_FALSE(location()->isLocationUpdating());
    EXPECT_EQ(Halcyon::userDistanceUnit(), HCDistanceUnitSharingOn);
    EXPECT_EQ(uploads()[0], (Params{{"lat", "59.913900"}, {"lng", "10.752200"}, {"allowed", "1"}}));
    ASSERT_TRUE(stored());
    EXPECT_EQ(stored()->latitude, kOslo.latitude);
    EXPECT_TRUE(stored()->allowed);

    // A fix while sharing was already on: the player's answer is not claimed again.
    LocationManager::setDevicePosition(kSydney);
    Halcyon::startLocationManagerIfAllowed();
    ASSERT_TRUE(waitForUploads(2));
    EXPECT_EQ(uploads()[1], (Params{{"lat", "-33.868800"}, {"lng", "151.209300"}}));
    EXPECT_FALSE(stored()->allowed);
    EXPECT_EQ(Halcyon::userDistanceUnit(), HCDistanceUnitSharingOn);
}

TEST_F(HCLocationTest, NoFixOrAnErrorSendsNothingAndOnlyTheRefusalTurnsSharingOff)
{
    startOnline(HCDistanceUnitSharingWithoutFix);
    Halcyon::startLocationManagerIfAllowed();
    clock->advance(HCLocation::kFixTimeout - 1);
    testsupport::drainMain();
    EXPECT_TRUE(location()->isLocationUpdating());
    clock->advance(1);
    testsupport::drainMain();
    EXPECT_FALSE(location()->isLocationUpdating());
    LocationManager::setDevicePosition(kOslo);  // too late: nobody asks any more
    settle();
    EXPECT_EQ(location()->userLocation(), nullptr);

    // The device cannot tell: not the player's answer.
    LocationManager::setDeviceError(static_cast<int>(LocationErrorCode::Network));
    Halcyon::startLocationManagerIfAllowed();
    settle();
    EXPECT_FALSE(location()->isLocationUpdating());
    EXPECT_EQ(Halcyon::userDistanceUnit(), HCDistanceUnitSharingWithoutFix);

    LocationManager::setDeviceError(static_cast<int>(LocationErrorCode::Denied));
    Halcyon::startLocationManagerIfAllowed();
    settle();
    EXPECT_EQ(Halcyon::userDistanceUnit(), HCDistanceUnitSharingOff);
    EXPECT_TRUE(uploads().empty());
}

TEST_F(HCLocationTest, OfflineTheReportIsTriedEveryTenSecondsAtMostTenTimesPerProcess)
{
    startOnline(HCDistanceUnitSharingOn);
    setReachable(false);
    LocationManager::setDevicePosition(kOslo);
    Halcyon::startLocationManagerIfAllowed();
    testsupport::drainMain();  // the fix, and the report finds no network: retry 1
    tick(3);                   // retries 2 to 4 are asked for
    setReachable(true);
    clock->advance(HCLocation::kRetryInterval - 1);
    settle();
    EXPECT_TRUE(uploads().empty()) << "a retry runs on its own time, not when the network returns";
    tick();
    ASSERT_EQ(uploads().size(), 1u);

    // Six retries are left to the process, whichever object uses them.
    setReachable(false);
    LocationManager::setDevicePosition(kSydney);
    Halcyon::startLocationManagerIfAllowed();
    testsupport::drainMain();  // retry 5
    tick(5);                   // retries 6 to 10
    setReachable(true);
    tick();
    ASSERT_EQ(uploads().size(), 2u) << "the tenth retry is made";

    setReachable(false);
    Halcyon::startLocationManagerIfAllowed();
    testsupport::drainMain();
    setReachable(true);
    tick(3);
    EXPECT_EQ(uploads().size(), 2u) << "no eleventh";
}

TEST_F(HCLocationTest, AFailedReportKeepsSharingOnAndIsTriedAgain)
{
    startOnline(HCDistanceUnitSharingOn);
    server.faults().injectFor("POST", "users/@me/set_location.xml", localserver::Fault::reply(500));
    LocationManager::setDevicePosition(kOslo);
    Halcyon::startLocationManagerIfAllowed();
    ASSERT_TRUE(waitForUploads(1));
    settle();
    EXPECT_EQ(Halcyon::userDistanceUnit(), HCDistanceUnitSharingOn);
    EXPECT_NE(Halcyon::getUserLocation(), nullptr);
    EXPECT_FALSE(stored());

    tick();
    ASSERT_EQ(uploads().size(), 2u);
    EXPECT_TRUE(stored());
}

TEST_F(HCLocationTest, NothingLeavesTheDeviceWhileSharingIsOffOrLocationIsNotAllowed)
{
    // The player turns sharing off while the report waits for the network.
    startOnline(HCDistanceUnitSharingOn);
    setReachable(false);
    LocationManager::setDevicePosition(kOslo);
    Halcyon::startLocationManagerIfAllowed();
    tick();
    ASSERT_NE(location()->userLocation(), nullptr);
    Halcyon::setUserDistanceUnit(HCDistanceUnitSharingOff);
    setReachable(true);
    tick(2);
    EXPECT_TRUE(uploads().empty());
    EXPECT_EQ(Halcyon::getUserLocation(), nullptr) << "scores would carry it";

    // Parental controls close location while a fix is awaited: the fix is dropped.
    Halcyon::setUserDistanceUnit(HCDistanceUnitSharingWithoutFix);
    Halcyon::session()->establishDeviceSession();
    ASSERT_TRUE(testsupport::runMainUntil([] { return Halcyon::session()->currentDevice() != nullptr; }));
    Halcyon::startLocationManagerIfAllowed();
    auto controls = std::make_shared<HCParentalControls>();
    controls->setEnabled(true);
    Halcyon::session()->currentDevice()->setParentalControls(controls);
    settle();
    EXPECT_EQ(location()->userLocation(), nullptr);
    EXPECT_EQ(Halcyon::userDistanceUnit(), HCDistanceUnitSharingWithoutFix);

    // A location object made while not allowed never asks the device.
    const int starts = LocationManager::startsSinceReset();
    auto closed = HCLocation::make();
    EXPECT_FALSE(closed->isLocationUpdating());
    EXPECT_EQ(LocationManager::startsSinceReset(), starts);
    tick();
    EXPECT_TRUE(uploads().empty());
}

}  // namespace
