// What every resource class inherits: its id, its JSON form, the reports of
// overridables a class forgot, and the server-notification resource.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/notifications/HCServerNotification.h"
#include "core/notifications/HCServerNotificationService.h"
#include "kernel/json/HCJsonCoder.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "kernel/xml/HCXmlDocument.h"
#include "platform/foundation/ProgrammingError.h"

// Outside the anonymous namespace so that reports name it plainly.
class ForgetfulResource final : public HCResource {};

namespace {

class RecordingErrors : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::setProgrammingErrorHandler([this](const std::string& text) { reports.push_back(text); });
    }
    void TearDown() override { platform::setProgrammingErrorHandler(nullptr); }

    std::vector<std::string> reports;
};

using ResourceOverridablesTest = RecordingErrors;

TEST_F(ResourceOverridablesTest, DefaultsReportTheClassAndMethodAndAnswerNeutralValues)
{
    ForgetfulResource resource;
    EXPECT_EQ(resource.getService(), nullptr);
    EXPECT_EQ(resource.getResourceName(), "");
    EXPECT_EQ(resource.getResourceDiscoveredNotification(), "");
    const HCResourceDataMap& first = resource.getDataMap();
    const HCResourceDataMap& second = HCResource().getDataMap();
    EXPECT_EQ(&first, &second);
    EXPECT_TRUE(first.fields().empty());

    const std::string prefix = "HCResource+Overridables: ";
    EXPECT_EQ(reports, (std::vector<std::string>{
                           prefix + "Controller 'ForgetfulResource' forgot to override 'getService'",
                           prefix + "Controller 'ForgetfulResource' forgot to override 'getResourceName'",
                           prefix + "Controller 'ForgetfulResource' forgot to override "
                                    "'getResourceDiscoveredNotification'",
                           prefix + "Controller 'ForgetfulResource' forgot to override 'getDataMap'",
                           prefix + "Controller 'HCResource' forgot to override 'getDataMap'",
                       }));
}

TEST(ResourceJsonTest, EncodesAndDecodesTheId)
{
    EXPECT_EQ(HCJsonCoder::encodeObject(*HCResource::initWithId("42")), "{\"resource\":{\"id\":\"42\"}}");
    EXPECT_EQ(HCJsonCoder::encodeObject(HCResource()), "{\"resource\":{\"id\":null}}");

    auto decoded = platform::as<HCResource>(HCJsonCoder::decodeJson("{\"resource\":{\"id\":\"7\",\"other\":1}}"));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->resourceId(), "7");
    auto numeric = platform::as<HCResource>(HCJsonCoder::decodeJson("{\"resource\":{\"id\":8}}"));
    ASSERT_TRUE(numeric);
    EXPECT_EQ(numeric->resourceId(), "8");
    auto empty = platform::as<HCResource>(HCJsonCoder::decodeJson("{\"resource\":{}}"));
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->resourceId(), std::nullopt);
}

TEST(ServerNotificationTest, EveryFieldOfTheDataMapReachesItsProperty)
{
    auto document = HCXmlDocument::xmlDocumentWithData(std::string(
        "<server_notification><id>1</id><showDefaultNotification>a</showDefaultNotification><text>b</text>"
        "<detail>c</detail><backDefaultImage>d</backDefaultImage><backImage>e</backImage>"
        "<iconDefaultImage>f</iconDefaultImage><iconImage>g</iconImage><statusDefaultImage>h</statusDefaultImage>"
        "<statusImage>i</statusImage><score>j</score><inputTab>k</inputTab>"
        "<inputControllerName>l</inputControllerName></server_notification>"));
    auto element = document->readNextElement();
    ASSERT_TRUE(element);
    HCServerNotification n;
    n.populateFromXml(*element, nullptr);
    EXPECT_EQ(n.resourceId(), "1");
    std::vector<std::optional<std::string>> values{
        n.showDefaultNotification(), n.text(),      n.detail(),     n.backgroundDefaultImage(),
        n.backgroundImage(),         n.iconDefaultImage(), n.iconImage(), n.statusDefaultImage(),
        n.statusImage(),             n.score(),     n.inputTab(),   n.inputControllerName()};
    std::string letters;
    for (const auto& value : values) letters += value.value_or("?");
    EXPECT_EQ(letters, "abcdefghijkl");
    EXPECT_EQ(n.getResourceName(), "server_notification");
    EXPECT_EQ(n.getResourceDiscoveredNotification(), "halcyon_server_notification_received");
}

TEST(ServerNotificationTest, ServiceSingletonAndItsNameMap)
{
    EXPECT_EQ(HCServerNotificationService::sharedInstance(), nullptr);
    EXPECT_EQ(HCServerNotification().getService(), nullptr);
    HCServerNotificationService::initializeService();
    auto service = HCServerNotificationService::sharedInstance();
    ASSERT_TRUE(service);
    HCServerNotificationService::initializeService();
    EXPECT_EQ(HCServerNotificationService::sharedInstance(), service);
    EXPECT_EQ(HCServerNotification().getService(), service);
    EXPECT_EQ(service->getKnownResources()->getTypeNamed("server_notification"), "HCServerNotification");
    EXPECT_TRUE(service->canReceiveCallbacksNow());
    HCServerNotificationService::shutdownService();
    EXPECT_EQ(HCServerNotificationService::sharedInstance(), nullptr);
}

}  // namespace
