#include "social/applications/HCGameProfilePageComparisonInfo.h"

#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"

const HCResourceDataMap& HCGameProfilePageComparisonInfo::getDataMap() const
{
    using C = HCGameProfilePageComparisonInfo;
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addNestedResourceField("game_profile_page_info", &C::setGameProfilePageInfo);
        // The first key says "local_user_", the other local ones "local_users_".
        const char* keys[] = {"local_user_achievements_score", "compared_users_achievements_score",
                              "local_users_challenges_score",  "compared_users_challenges_score",
                              "local_users_leaderboards_score", "compared_users_leaderboards_score"};
        for (int i = 0; i < 6; ++i) {
            m->addField(keys[i], [i](platform::Object& target, const platform::ObjectPtr& value) {
                if (auto* info = dynamic_cast<C*>(&target)) info->scores_[i] = HCResourceText::readInt(platform::textOf(value));
            });
        }
        return m;
    }();
    return *map;
}
