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

}  // namespace
