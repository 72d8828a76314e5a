#pragma once
// The page harness with challenges: Ann signed in on the server's game, the
// game's challenge delegate (testsupport::ChallengeGame) installed, and Ben
// able to send her challenges over the local server.
#include <memory>
#include <string>

#include "core/halcyon/Halcyon.h"
#include "gamepages/support/ChallengeGame.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/Fixtures.h"
#include "localserver/routes/ChallengeRoutes.h"
#include "scores/challenges/HCChallengeService.h"
#include "transport/provider/HCProvider.h"

namespace pagetest {

namespace defaults = localserver::defaults;

class ChallengePageHarness : public PageHarness {
protected:
    void SetUp() override
    {
        PageHarness::SetUp();
        store = localserver::registerChallengeRoutes(*server);
        addBundleImage("HCChallengeIconNew.png");
        addBundleImage("HCChallengeIconLost.png");
        startOnline();
        Halcyon::setClientApplicationId(std::string(defaults::kGameId));
        delegates->setChallengeDelegate(&game);
    }

    // Ben sends definition `definitionId` ("1" one-shot, "2" multi-attempt)
    // to Ann; answers her record's id.
    std::string benChallenges(const char* definitionId, const std::string& text, const std::string& data = {})
    {
        auto provider = Halcyon::provider();
        provider->setAccessToken(defaults::kOtherUserToken, defaults::kOtherUserTokenSecret);
        const size_t before = store->records().size();
        HCChallengeService::sendChallenge(std::string(definitionId), text,
                                          data.empty() ? nullptr : std::make_shared<platform::Data>(data),
                                          std::nullopt, std::nullopt, {defaults::kUserId}, std::nullopt, {}, {});
        EXPECT_TRUE(testsupport::runMainUntil([&] { return store->records().size() > before; }));
        waitForIdle();
        provider->setAccessToken(defaults::kUserToken, defaults::kUserTokenSecret);
        return store->records().back().id;
    }

    std::shared_ptr<localserver::ChallengeStore> store;
    testsupport::ChallengeGame game;
};

}  // namespace pagetest
