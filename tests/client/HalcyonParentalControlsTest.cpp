// The device's parental controls, as the service reports them for the
// session's device, close user-generated content and location.
#include "client/support/HalcyonTest.h"
#include "core/xp/HCSession.h"
#include "localserver/Fixtures.h"
#include "platform/foundation/DeviceFacts.h"

namespace {

class HalcyonParentalControlsTest : public HalcyonServerTest {
protected:
    void startAndRegisterDevice()
    {
        Halcyon::_initialize(localserver::defaults::kProductKey, localserver::defaults::kProductSecret, "Game",
                             settingsWith({{"HalcyonSettingPromptUserForLogin", no()}}), nullptr, assembly());
        Halcyon::session()->establishDeviceSession();
        ASSERT_TRUE(testsupport::runMainUntil([] { return Halcyon::session()->currentDevice() != nullptr; }));
    }
};

TEST_F(HalcyonParentalControlsTest, ADeviceUnderParentalControlsGetsNoUserContentAndNoLocation)
{
    server.login().setParentalControls(platform::DeviceFacts::uniqueIdentifier(), true);
    startAndRegisterDevice();
    EXPECT_FALSE(Halcyon::allowUserGeneratedContent());
    EXPECT_FALSE(Halcyon::allowLocationServices());
    Halcyon::setUserDistanceUnit(2);
    EXPECT_EQ(Halcyon::userDistanceUnit(), 1);

    // Switched off on the device: the record loses its controls.
    Halcyon::session()->currentDevice()->setParentalControls(nullptr);
    EXPECT_TRUE(Halcyon::allowUserGeneratedContent());
    EXPECT_TRUE(Halcyon::allowLocationServices());
}

}  // namespace
