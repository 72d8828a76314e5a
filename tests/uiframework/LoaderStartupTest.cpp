// The game's overrides for the loader arrive with the start-up settings and
// hold before the first screen can show.
#include <gtest/gtest.h>

#include "client/HCClientHooks.h"
#include "core/halcyon/Halcyon.h"
#include "core/halcyon/HalcyonSettingKeys.h"
#include "kernel/settings/HCSettings.h"
#include "platform/foundation/Sandbox.h"
#include "support/TestSupport.h"
#include "uiframework/HCControllerLoader.h"

namespace {

class LoaderStartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HCClientHooks::resetForTesting();
        platform::Sandbox::configure(sandbox.str());
        clock = std::make_unique<testsupport::ScopedManualClock>();
        HCSettings::setDefaultOverride("server-url", "http://127.0.0.1:1/");
    }
    void TearDown() override
    {
        HCClientHooks::resetForTesting();
        testsupport::drainMain();
        clock.reset();
    }
    testsupport::TempDir sandbox;
    std::unique_ptr<testsupport::ScopedManualClock> clock;
};

TEST_F(LoaderStartupTest, TheGamesOverridesComeFromTheSettingsAndGoAtReset)
{
    auto settings = std::make_shared<platform::Dictionary>();
    settings->setObject(HalcyonSettingOverrideSuffixString, platform::String::make("Game"));
    settings->setObject(HalcyonSettingOverrideClassNamePrefixString, platform::String::make("GM"));
    settings->setObject(HalcyonSettingPromptUserForLogin, platform::Number::makeBool(false));
    Halcyon::initializeWithProductKey("product-key", "product-secret", "Tolvarine Ruvuru", settings, nullptr);
    EXPECT_EQ(HCControllerLoader::nibNameCandidates("Root"), (std::vector<std::string>{"RootGame", "RootHc"}));
    EXPECT_EQ(HCControllerLoader::controllerClassNames("Root"),
              (std::vector<std::string>{"GMRootController", "HCRootController"}));

    // A second start-up changes nothing, the rules included.
    settings->setObject(HalcyonSettingOverrideSuffixString, platform::String::make("Other"));
    Halcyon::initializeWithProductKey("product-key", "product-secret", "Tolvarine Ruvuru", settings, nullptr);
    EXPECT_EQ(HCControllerLoader::nibNameCandidates("Root").front(), "RootGame");

    HCClientHooks::resetForTesting();
    EXPECT_EQ(HCControllerLoader::nibNameCandidates("Root"), std::vector<std::string>{"RootHc"});
}

}  // namespace
