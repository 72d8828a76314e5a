#include "core/bootstrap/HCBootstrap.h"

#include "core/resources/HCResourceClass.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "core/users/HCUser.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "platform/foundation/TextConversions.h"

namespace {

using Setter = HCResourceFieldDescription::Setter;

// An element's text converted the way its property's setter converts it.
Setter unsignedField(uint32_t HCBootstrap::*field)
{
    return [field](platform::Object& target, const platform::ObjectPtr& value) {
        if (auto* bootstrap = dynamic_cast<HCBootstrap*>(&target))
            bootstrap->*field = static_cast<uint32_t>(platform::integerValue(platform::textOf(value).value_or("")));
    };
}

Setter boolField(bool HCBootstrap::*field)
{
    return [field](platform::Object& target, const platform::ObjectPtr& value) {
        if (auto* bootstrap = dynamic_cast<HCBootstrap*>(&target))
            bootstrap->*field = platform::boolValue(platform::textOf(value).value_or(""));
    };
}

Setter textField(HCBootstrap::Text HCBootstrap::*field)
{
    return [field](platform::Object& target, const platform::ObjectPtr& value) {
        if (auto* bootstrap = dynamic_cast<HCBootstrap*>(&target)) bootstrap->*field = platform::textOf(value);
    };
}

template <class R>
Setter objectField(std::shared_ptr<R> HCBootstrap::*field)
{
    return [field](platform::Object& target, const platform::ObjectPtr& value) {
        if (auto* bootstrap = dynamic_cast<HCBootstrap*>(&target)) bootstrap->*field = platform::as<R>(value);
    };
}

}  // namespace

// The fields are private to the class; the setters above reach them through
// member pointers handed out here.
const HCResourceDataMap& HCBootstrap::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("minimum_halcyon_version_supported", unsignedField(&HCBootstrap::minimumHalcyonVersionSupported_));
        m->addField("polling_frequency_in_chat", unsignedField(&HCBootstrap::pollingFrequencyInChat_));
        m->addField("polling_frequency_default", unsignedField(&HCBootstrap::pollingFrequencyDefault_));
        m->addNestedResourceField("game_profile_page_info", objectField(&HCBootstrap::gameProfilePageInfo_), {},
                                  HCRegisterResourceClass<HCGameProfilePageInfo>());
        m->addNestedResourceField("user", objectField(&HCBootstrap::user_), {}, HCRegisterResourceClass<HCUser>());
        m->addField("logged_in_user_has_set_name", boolField(&HCBootstrap::loggedInUserHasSetName_));
        m->addField("logged_in_user_has_friends", boolField(&HCBootstrap::loggedInUserHadFriendsOnBootup_));
        m->addField("logged_in_user_is_new_user", boolField(&HCBootstrap::loggedInUserIsNewUser_));
        m->addField("access_token", textField(&HCBootstrap::accessToken_));
        m->addField("access_token_secret", textField(&HCBootstrap::accessTokenSecret_));
        m->addField("logged_in_user_has_http_basic_credential",
                    boolField(&HCBootstrap::loggedInUserHasHttpBasicCredential_));
        m->addField("logged_in_user_has_fbconnect_credential",
                    boolField(&HCBootstrap::loggedInUserHasFbconnectCredential_));
        m->addField("logged_in_user_has_twitter_credential", boolField(&HCBootstrap::loggedInUserHasTwitterCredential_));
        m->addField("client_application_id", textField(&HCBootstrap::clientApplicationId_));
        m->addField("client_application_icon_url", textField(&HCBootstrap::clientApplicationIconUrl_));
        m->addField("unviewed_challenges_count", unsignedField(&HCBootstrap::unviewedChallengesCount_));
        m->addField("pending_friends_count", unsignedField(&HCBootstrap::pendingFriendsCount_));
        m->addField("ims_unread_count", unsignedField(&HCBootstrap::imsUnreadCount_));
        m->addField("subscribed_threads_unread_count", unsignedField(&HCBootstrap::subscribedThreadsUnreadCount_));
        m->addField("invites_unread_count", unsignedField(&HCBootstrap::invitesUnreadCount_));
        m->addField("unfulfilled_invites_count", unsignedField(&HCBootstrap::unfulfilledInvitesCount_));
        m->addField("topic_app_suggestions_id", textField(&HCBootstrap::suggestionsForumId_));
        m->addField("initial_dashboard_screen", textField(&HCBootstrap::initialDashboardScreen_));
        m->addField("initial_dashboard_modal_content_url", textField(&HCBootstrap::initialDashboardModalContentURL_));
        m->addField("initialize_presence_service", boolField(&HCBootstrap::initializePresenceService_));
        m->addField("pipe_http_over_presence_service", boolField(&HCBootstrap::pipeHttpOverPresenceService_));
        m->addField("presence_queue", textField(&HCBootstrap::presenceQueue_));
        m->addField("logged_in_user_has_share_location_enabled",
                    boolField(&HCBootstrap::loggedInUserHasShareLocationEnabled_));
        return m;
    }();
    return *map;
}
