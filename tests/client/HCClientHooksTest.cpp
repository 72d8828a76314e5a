// The one place that puts the client together: start-up installs every
// hook, shut-down removes them, and resetForTesting leaves nothing behind.
#include "accounts/HCAccountScreens.h"
#include "accounts/HCLinkSocialNetworksController.h"
#include "client/support/HalcyonTest.h"
#include "kernel/http/HCHttpService.h"
#include "kernel/http/HCHttpServiceObserver.h"
#include "kernel/settings/HCSettings.h"
#include "platform/foundation/Sandbox.h"
#include "platform/ui/Application.h"
#include "platform/ui/Driver.h"
#include "support/LoopbackServer.h"
#include "transport/handles/HCRequestHandle.h"
#include "transport/handles/HCRequestHandlesForModule.h"
#include "transport/provider/HCProvider.h"

namespace {

class HCClientHooksTest : public HalcyonTest {};

class NullObserver final : public HCHttpServiceObserver {
public:
    void onFinishedDownloading(const std::shared_ptr<HCHttpRequest>&) override { ++ended; }
    void onFailedDownloading(const std::shared_ptr<HCHttpRequest>&) override { ++ended; }
    int ended = 0;
};

// Downloads one file and answers whether its handle was still registered afterwards.
bool handleOutlivesDownload()
{
    testnet::LoopbackServer server;
    server.route("/blob", [](const testnet::ServerRequest&) { return testnet::ServerReply::text(200, "x"); });
    auto service = std::make_shared<HCHttpService>("", false);
    auto observer = std::make_shared<NullObserver>();
    auto request = service->startRequest(server.url("/blob"), "GET", nullptr, observer);
    HCRequestHandlesForModule::addHandle(HCRequestHandle::requestHandle(request), "HCClientHooksTest");
    EXPECT_TRUE(testsupport::runMainUntil([&] { return observer->ended == 1; }));
    const auto registry = HCRequestHandlesForModule::snapshot();
    bool registered = false;
    if (registry) {
        for (const auto& [module, handles] : *registry) {
            registered = registered || (module == "HCClientHooksTest" && !handles.empty());
        }
    }
    HCRequestHandlesForModule::cancelAllRequestsForModule("HCClientHooksTest");
    return registered;
}

TEST_F(HCClientHooksTest, StartUpInstallsEveryHookAndShutDownRemovesThem)
{
    EXPECT_FALSE(HCProvider::hooks().willSilentlyDiscardAction);
    EXPECT_TRUE(handleOutlivesDownload()) << "nothing completes handles before start-up";

    start(settingsWith({{"HalcyonSettingPromptUserForLogin", no()}}));
    ASSERT_TRUE(HCProvider::hooks().willSilentlyDiscardAction);
    EXPECT_TRUE(HCProvider::willSilentlyDiscardAction()) << "the player has not approved the service";
    Halcyon::setUserApprovedHalcyon();
    EXPECT_FALSE(HCProvider::willSilentlyDiscardAction());
    Halcyon::setDisabled(true);
    EXPECT_TRUE(HCProvider::willSilentlyDiscardAction());
    EXPECT_FALSE(handleOutlivesDownload()) << "a finished download's handle stayed registered";

    Halcyon::shutdown();
    EXPECT_FALSE(HCProvider::hooks().willSilentlyDiscardAction);
    EXPECT_TRUE(handleOutlivesDownload());
}

// The linking step is shown once per process, and a shut-down does not end
// that: a test after one that met the step would otherwise never see it.
TEST_F(HCClientHooksTest, ResetForgetsThatTheLinkingStepWasShown)
{
    HCAccountScreens screens;
    screens.presentLinkSocialNetworks();
    testsupport::drainMain();
    ASSERT_NE(platform::ui::Driver::findByText(HCLinkSocialNetworksController::kContinueTitle), nullptr);
    ASSERT_TRUE(screens.hasSessionSeenLinkSocialNetworksScreen());
    Halcyon::shutdown();
    EXPECT_TRUE(screens.hasSessionSeenLinkSocialNetworksScreen()) << "the process still runs";

    HCClientHooks::resetForTesting();
    EXPECT_FALSE(screens.hasSessionSeenLinkSocialNetworksScreen());
}

}  // namespace
