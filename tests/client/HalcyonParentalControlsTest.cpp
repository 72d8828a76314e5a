// The device's parental controls, as the service reports them for the
// session's device, close user-generated content and location.
#include "client/support/HalcyonTest.h"
#include "core/xp/HCSession.h"
#include "kernel/settings/HCSettings.h"
#include "localserver/Fixtures.h"
#include "localserver/Server.h"
#include "platform/foundation/DeviceFacts.h"

namespace {

class HalcyonParentalControlsTest : public HalcyonTest {
protected:
    void SetUp() override
    {
        HalcyonTest::SetUp();
        localserver::registerServiceRoutes(server);
        ASSERT_TRUE(server.start()) << server.error();
        HCSettings::setDefaultOverride("server-url", server.serviceRootUrl());
    }
    void TearDown() override
    {
        HalcyonTest::TearDown();
        server.stop();
    }
    void startAndRegisterDevice()
    {
        Halcyon::_initialize(localserver::defaults::kProductKey, localserver::defaults::kProductSecret, "Game",
                             settingsWith({{"HalcyonSettingPromptUserForLogin", no()}}), nullptr, assembly());
        Halcyon::session()->establishDeviceSession();
        ASSERT_TRUE(testsupport::runMainUntil([] { return Halcyon::session()->currentDevice() != nullptr; }));
    }
    localserver::Server server;
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
