// The device record and the exception as the JSON coder reads and writes
// them, and the registration body the session sends.
#include <gtest/gtest.h>

#include "core/device/HCDevice.h"
#include "core/xp/HCServerException.h"
#include "core/xp/HCSession.h"
#include "kernel/json/HCJsonCoder.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/Sandbox.h"
#include "support/TestSupport.h"

TEST(DeviceRecordTest, DecodesParentalControlsAndWritesThemBack)
{
    auto device = platform::as<HCDevice>(HCJsonCoder::decodeJson(
        "{\"device\":{\"users\":[{\"id\":\"1\"}],\"parental_control\":{\"enabled\":true}}}"));
    ASSERT_TRUE(device);
    ASSERT_TRUE(device->parentalControls());
    EXPECT_TRUE(HCDevice::parentalControlsEnabled(device));
    EXPECT_EQ(platform::as<platform::Array>(device->users())->count(), 1u);
    EXPECT_EQ(HCJsonCoder::encodeObject(*device),
              "{\"device\":{\"parental_control\":{\"enabled\":true},\"users\":[{\"id\":\"1\"}]}}");

    auto without = platform::as<HCDevice>(HCJsonCoder::decodeJson("{\"device\":{\"users\":[]}}"));
    ASSERT_TRUE(without);
    EXPECT_EQ(without->parentalControls(), nullptr);
    EXPECT_FALSE(HCDevice::parentalControlsEnabled(without));
    EXPECT_FALSE(HCDevice::parentalControlsEnabled(nullptr));
    auto off = platform::as<HCDevice>(HCJsonCoder::decodeJson("{\"device\":{\"parental_control\":{\"enabled\":false}}}"));
    EXPECT_FALSE(HCDevice::parentalControlsEnabled(off));

    auto stale = platform::as<HCServerException>(
        HCJsonCoder::decodeJson("{\"exception\":{\"class\":\"StaleObjectError\",\"message\":\"changed\"}}"));
    ASSERT_TRUE(stale);
    EXPECT_TRUE(stale->isStaleObjectException());
    EXPECT_EQ(stale->message(), "changed");
    EXPECT_TRUE(HCServerException::sslFailureException()->isSslFailureException());
}

TEST(DeviceRecordTest, RegistrationBodyDescribesTheDeviceInPoints)
{
    testsupport::TempDir dir;
    platform::Sandbox::configure(dir.str());
    platform::DeviceFacts::setUniqueIdentifier("abc");
    platform::DeviceFacts::setName("Ann's phone");
    platform::DeviceFacts::setLargeScreen(true);
    auto body = HCSession::deviceRegistrationBody();
    platform::DeviceFacts::reset();
    platform::Sandbox::reset();
    EXPECT_EQ(body->allKeys(), (std::vector<std::string>{"platform", "device", "protocol_version"}));
    EXPECT_EQ(body->stringForKey("platform"), "iOS");
    EXPECT_EQ(body->stringForKey("protocol_version"), "1.0");
    auto device = body->get<platform::Dictionary>("device");
    ASSERT_TRUE(device);
    EXPECT_EQ(device->allKeys(),
              (std::vector<std::string>{"identifier", "name", "hardware", "os", "screen_resolution", "processor"}));
    EXPECT_EQ(device->stringForKey("identifier"), "abc");
    EXPECT_EQ(device->stringForKey("name"), "Ann's phone");
    EXPECT_EQ(device->stringForKey("screen_resolution"), "768x1024");
    EXPECT_EQ(device->stringForKey("processor"), "dunno");
}
