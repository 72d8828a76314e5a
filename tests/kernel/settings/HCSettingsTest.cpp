#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kernel/settings/HCSettings.h"
#include "kernel/xml/HCXmlReader.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/FileFacts.h"
#include "platform/foundation/Sandbox.h"
#include "support/TestSupport.h"

namespace {

// Records the calls an add-on layer receives and plays a typical add-on.
class RecordingHook final : public HCSettingsAddOnHook {
public:
    void setDefaultAddOnSettings(HCSettings& settings) override
    {
        calls.push_back("defaults, server-url=" + settings.objectForKey("server-url").value_or("<nil>"));
        settings.setObject("addon-default", "addon-key");
    }
    void loadAddOnSettings(HCSettings& settings, HCXmlReader& reader) override
    {
        calls.push_back("load, server-url=" + settings.objectForKey("server-url").value_or("<nil>"));
        std::string value;
        if (reader.io("addon-key", value)) {
            settings.setObject(value, "addon-key");
        }
        std::string builtIn;
        builtInStillUnread = reader.io("server-url", builtIn);
    }
    std::vector<std::string> calls;
    bool builtInStillUnread = false;
};

class HCSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::Sandbox::configure(dir_.str());
        platform::DeviceFacts::setSystemVersion("4.3.1");
        writeBundleFile("Info.plist",
                        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
                        "<key>CFBundleVersion</key><string>1.2.3</string></dict></plist>");
    }
    void TearDown() override
    {
        HCSettings::Shutdown();
        HCSettings::setAddOnHook(nullptr);
        HCSettings::setDefaultOverride("server-url", std::nullopt);
        platform::DeviceFacts::reset();
        platform::Sandbox::reset();
    }
    void writeBundleFile(const std::string& name, const std::string& text)
    {
        platform::FileFacts::createDirectories(platform::Sandbox::bundlePath());
        ASSERT_TRUE(platform::FileFacts::writeFileAtomically(platform::Sandbox::bundlePath() + "/" + name, text));
    }
    void writeSettingsFile(const std::string& text) { writeBundleFile("HalcyonInternalSettings.xml", text); }

    testsupport::TempDir dir_;
};

TEST_F(HCSettingsTest, EachInitializeMakesAFreshStoreWithTheDeviceFacts)
{
    EXPECT_EQ(HCSettings::Instance(), nullptr);
    HCSettings::Initialize();
    auto first = HCSettings::Instance();
    EXPECT_EQ(first->objectForKey("system-version"), "4.3.1");
    EXPECT_EQ(first->objectForKey("CFBundleVersion"), "1.2.3");
    EXPECT_EQ(first->objectForKey("debug-override-key"), std::nullopt);
    first->setObject("changed", "presence-host");
    HCSettings::Initialize();
    EXPECT_NE(HCSettings::Instance()->objectForKey("presence-host"), "changed");
    HCSettings::Shutdown();
    EXPECT_EQ(HCSettings::Instance(), nullptr);
    EXPECT_EQ(first->objectForKey("presence-host"), "changed") << "a holder keeps its store";
}

TEST_F(HCSettingsTest, SettingsFileOverridesBuiltInKeysThenTheAddOnsRead)
{
    writeSettingsFile(
        "<?xml version=\"1.0\"?>\n<config>\n"
        "  <server-url>http://127.0.0.1:8080/</server-url>\n"
        "  <debug-override-key>dev-key</debug-override-key>\n"
        "  <debug-override-secret>dev-secret</debug-override-secret>\n"
        "  <presence-host></presence-host>\n"
        "  <unrelated>x</unrelated>\n"
        "  <addon-key>from-file</addon-key>\n"
        "</config>\n");
    auto hook = std::make_shared<RecordingHook>();
    HCSettings::setAddOnHook(hook);
    HCSettings::Initialize();
    auto settings = HCSettings::Instance();
    const auto presenceDefault = settings->objectForKey("presence-host");
    EXPECT_EQ(settings->objectForKey("addon-key"), "addon-default");

    settings->loadSettingsFile();
    EXPECT_EQ(settings->objectForKey("server-url"), "http://127.0.0.1:8080/");
    EXPECT_EQ(settings->objectForKey("debug-override-key"), "dev-key");
    EXPECT_EQ(settings->objectForKey("debug-override-secret"), "dev-secret");
    EXPECT_EQ(settings->objectForKey("presence-host"), presenceDefault) << "an empty element is ignored";
    EXPECT_EQ(settings->objectForKey("unrelated"), std::nullopt) << "only built-in keys are taken by the store";
    EXPECT_EQ(settings->objectForKey("addon-key"), "from-file");
    ASSERT_EQ(hook->calls.size(), 2u);
    EXPECT_EQ(hook->calls[0], "defaults, server-url=https://api.halcyon.example/");
    EXPECT_EQ(hook->calls[1], "load, server-url=http://127.0.0.1:8080/");
    EXPECT_FALSE(hook->builtInStillUnread) << "the reader sits in \"config\" after the built-in keys";
}

TEST_F(HCSettingsTest, MissingOrBrokenFileKeepsDefaultsAndStillAsksTheAddOns)
{
    auto hook = std::make_shared<RecordingHook>();
    HCSettings::setAddOnHook(hook);
    HCSettings::Initialize();
    auto settings = HCSettings::Instance();
    const auto url = settings->objectForKey("server-url");
    settings->loadSettingsFile();
    EXPECT_EQ(settings->objectForKey("server-url"), url);
    EXPECT_EQ(settings->objectForKey("addon-key"), "addon-default");
    EXPECT_EQ(hook->calls.size(), 2u);

    // Keys before the damage are taken; nothing after it.
    writeSettingsFile("<config><server-url>https://staging.example/</server-url><presence-host>p&bad;</presence-host>"
                      "<debug-override-key>k</debug-override-key></config>");
    settings->loadSettingsFile();
    EXPECT_EQ(settings->objectForKey("server-url"), "https://staging.example/");
    EXPECT_EQ(settings->objectForKey("debug-override-key"), std::nullopt);

    writeSettingsFile("<other><server-url>https://wrong.example/</server-url></other>");
    settings->loadSettingsFile();
    EXPECT_EQ(settings->objectForKey("server-url"), "https://staging.example/") << "keys live inside \"config\"";
}

}  // namespace
