#include "localserver/routes/AnnouncementDiscussionFixtures.h"

#include "localserver/Fixtures.h"

namespace localserver {

void addDefaultAnnouncementDiscussionFixtures(Fixtures& fixtures)
{
    using namespace defaults;
    auto add = [&](const char* kind, Params fields) {
        fixtures.records.push_back(FixtureRecord{kind, std::move(fields), "built-in announcement discussions"});
    };
    // A parent that is no topic keeps it out of the forum list.
    add("forum_topic", {{"id", "96"}, {"game", kGameId}, {"name", "Announcements"}, {"parent", "announcements"}});
    add("forum_discussion", {{"id", "800"}, {"topic", "96"}, {"subject", "Welcome to Tolvarine"}, {"user", kUserId},
                             {"updated_at", "1735689600"}});
    add("forum_post", {{"id", "880"}, {"discussion", "800"}, {"user", kUserId}, {"body", "Read the rules & have fun"},
                       {"created_at", "1735689600"}});
    add("forum_post", {{"id", "881"}, {"discussion", "800"}, {"user", kOtherUserId}, {"body", "Thanks, see you in level 3"},
                       {"created_at", "1735690000"}});
    add("forum_discussion", {{"id", "802"}, {"topic", "96"}, {"subject", "Our next game"}, {"user", kUserId},
                             {"updated_at", "1767200000"}});
    add("forum_post", {{"id", "882"}, {"discussion", "802"}, {"user", kUserId}, {"body", "Coming soon"},
                       {"created_at", "1767052800"}});
}

}  // namespace localserver
