// The player and the game's profile kept as archives in the user options,
// when what is stored does not read back (a write cut short, another
// version's class): the player counts as logged out and the game as the
// default one, never as nothing that every page would then ask questions of.
#include <memory>
#include <string>
#include <vector>

#include "client/support/HalcyonTest.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "core/users/HCUser.h"
#include "platform/foundation/KeyedArchiver.h"
#include "platform/foundation/UserDefaults.h"

namespace {

constexpr const char* kStoredPlayer = "HalcyonUserOptionLocalUser";
constexpr const char* kStoredGame = "HalcyonUserOptionLocalGameInfo";

std::shared_ptr<platform::Data> cutShort(const platform::ObjectPtr& object)
{
    auto bytes = platform::KeyedArchiver::archivedDataWithRootObject(object)->bytes();
    bytes.resize(bytes.size() / 2);
    return platform::Data::make(std::move(bytes));
}

class HalcyonStoredArchivesTest : public HalcyonTest {};

TEST_F(HalcyonStoredArchivesTest, ArchivesThatDoNotReadBackAnswerTheLoggedOutPlayerAndTheDefaultGame)
{
    auto ann = HCResource::initWithId<HCUser>(std::string("1001"));
    ann->setName(std::string("Ann"));
    auto game = HCResource::initWithId<HCGameProfilePageInfo>(std::string("77"));
    game->setHasLeaderboards(std::string("true"));
    struct Stored {
        const char* what;
        std::shared_ptr<platform::Data> player;
        std::shared_ptr<platform::Data> game;
    };
    const std::vector<Stored> cases = {
        {"cut short", cutShort(ann), cutShort(game)},
        {"the other's class", platform::KeyedArchiver::archivedDataWithRootObject(game),
         platform::KeyedArchiver::archivedDataWithRootObject(ann)},
    };
    for (const auto& stored : cases) {
        SCOPED_TRACE(stored.what);
        auto options = platform::UserDefaults::standardUserDefaults();
        options->setObject(kStoredPlayer, stored.player);
        options->setObject(kStoredGame, stored.game);
        start(settingsWith({{"HalcyonSettingPromptUserForLogin", no()}}));
        ASSERT_NE(Halcyon::localUser(), nullptr);
        EXPECT_EQ(Halcyon::lastLoggedInUserId(), "0");
        EXPECT_EQ(Halcyon::lastLoggedInUserName(), std::optional<std::string>("Not Logged In"));
        ASSERT_NE(Halcyon::localGameProfileInfo(), nullptr);
        EXPECT_EQ(Halcyon::localGameProfileInfo()->name(), std::optional<std::string>("Tolvarine Ruvuru"));
        EXPECT_FALSE(Halcyon::appHasLeaderboards());
        restartProcess();
    }
}

}  // namespace
