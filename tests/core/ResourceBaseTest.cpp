// What every resource class inherits: its id, its JSON form, the reports of
// overridables a class forgot, and the server-notification resource.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/notifications/HCServerNotification.h"
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

TEST(ResourceJsonTest, TheIdTravelsAsTextWhateverTheNumberForm)
{
    EXPECT_EQ(HCJsonCoder::encodeObject(*HCResource::initWithId("42")), "{\"resource\":{\"id\":\"42\"}}");
    EXPECT_EQ(HCJsonCoder::encodeObject(HCResource()), "{\"resource\":{\"id\":null}}");
    auto numeric = platform::as<HCResource>(HCJsonCoder::decodeJson("{\"resource\":{\"id\":8,\"other\":1}}"));
    ASSERT_TRUE(numeric);
    EXPECT_EQ(numeric->resourceId(), "8");
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
}

}  // namespace
