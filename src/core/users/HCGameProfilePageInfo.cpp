#include "core/users/HCGameProfilePageInfo.h"

#include "core/clientstate/HCClientState.h"
#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "platform/foundation/KeyedArchiver.h"
#include "platform/foundation/KeyedUnarchiver.h"
#include "platform/runtime/ClassRegistry.h"

namespace {

// The archive names the class; the unarchiver creates it by that name.
[[maybe_unused]] const bool sRegistered = [] {
    platform::registerCodingClass<HCGameProfilePageInfo>("HCGameProfilePageInfo");
    return true;
}();

}  // namespace

using HCResourceText::boxed;

std::shared_ptr<HCGameProfilePageInfo> HCGameProfilePageInfo::defaultInfo()
{
    auto info = std::make_shared<HCGameProfilePageInfo>();
    info->name_ = HCClientState::applicationDisplayName();
    info->shortName_ = HCClientState::applicationShortDisplayName();
    info->ownedByLocalPlayer_ = true;
    info->suggestionsForumId_ = "0";
    return info;
}

const HCResourceDataMap& HCGameProfilePageInfo::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("name", &HCGameProfilePageInfo::setName);
        m->addField("short_name", &HCGameProfilePageInfo::setShortName);
        m->addField("icon_url", &HCGameProfilePageInfo::setIconUrl);
        m->addField("has_chat_rooms", &HCGameProfilePageInfo::setHasChatRooms);
        m->addField("has_leaderboards", &HCGameProfilePageInfo::setHasLeaderboards);
        m->addField("has_challenges", &HCGameProfilePageInfo::setHasChallenges);
        m->addField("has_achievements", &HCGameProfilePageInfo::setHasAchievements);
        m->addField("has_ipurchase", &HCGameProfilePageInfo::setHasiPurchase);
        m->addField("is_owned_by_local_player", &HCGameProfilePageInfo::setOwnedByLocalPlayer);
        m->addField("suggestions_topic_id", &HCGameProfilePageInfo::setSuggestionsForumId);
        m->addField("has_featured_application", &HCGameProfilePageInfo::setHasFeaturedApplication);
        return m;
    }();
    return *map;
}

void HCGameProfilePageInfo::encodeWithCoder(platform::KeyedArchiver& coder) const
{
    coder.encodeObject("resourceId", boxed(resourceId()));
    coder.encodeObject("name", boxed(name_));
    coder.encodeObject("shortName", boxed(shortName_));
    coder.encodeObject("iconUrl", boxed(iconUrl_));
    coder.encodeBool("hasChatRooms", hasChatRooms_);
    coder.encodeBool("hasLeaderboards", hasLeaderboards_);
    coder.encodeBool("hasAchievements", hasAchievements_);
    coder.encodeBool("hasChallenges", hasChallenges_);
    coder.encodeBool("hasiPurchase", hasiPurchase_);
    coder.encodeBool("ownedByLocalPlayer", ownedByLocalPlayer_);
    coder.encodeObject("suggestionsForumId", boxed(suggestionsForumId_));
    coder.encodeBool("hasFeaturedApplication", hasFeaturedApplication_);
}

void HCGameProfilePageInfo::initWithCoder(const platform::KeyedUnarchiver& coder)
{
    setResourceId(platform::textOf(coder.decodeObjectForKey("resourceId")));
    name_ = platform::textOf(coder.decodeObjectForKey("name"));
    shortName_ = platform::textOf(coder.decodeObjectForKey("shortName"));
    iconUrl_ = platform::textOf(coder.decodeObjectForKey("iconUrl"));
    hasChatRooms_ = coder.decodeBoolForKey("hasChatRooms");
    hasLeaderboards_ = coder.decodeBoolForKey("hasLeaderboards");
    hasAchievements_ = coder.decodeBoolForKey("hasAchievements");
    hasChallenges_ = coder.decodeBoolForKey("hasChallenges");
    hasiPurchase_ = coder.decodeBoolForKey("hasiPurchase");
    ownedByLocalPlayer_ = coder.decodeBoolForKey("ownedByLocalPlayer");
    suggestionsForumId_ = platform::textOf(coder.decodeObjectForKey("suggestionsForumId"));
    hasFeaturedApplication_ = coder.decodeBoolForKey("hasFeaturedApplication");
}

bool HCGameProfilePageInfo::isLocalGameInfo() const
{
    auto local = HCClientState::localGameProfileInfo();
    return local && resourceId() && local->resourceId() == resourceId();
}

void HCGameProfilePageInfo::setHasChatRooms(const Text& text)
{
    hasChatRooms_ = HCResourceText::readBool(text);
}

void HCGameProfilePageInfo::setHasLeaderboards(const Text& text)
{
    hasLeaderboards_ = HCResourceText::readBool(text);
}

void HCGameProfilePageInfo::setHasChallenges(const Text& text)
{
    hasChallenges_ = HCResourceText::readBool(text);
}

void HCGameProfilePageInfo::setHasAchievements(const Text& text)
{
    hasAchievements_ = HCResourceText::readBool(text);
}

void HCGameProfilePageInfo::setHasiPurchase(const Text& text)
{
    hasiPurchase_ = HCResourceText::readBool(text);
}

void HCGameProfilePageInfo::setOwnedByLocalPlayer(const Text& text)
{
    ownedByLocalPlayer_ = HCResourceText::readBool(text);
}

void HCGameProfilePageInfo::setHasFeaturedApplication(const Text& text)
{
    hasFeaturedApplication_ = HCResourceText::readBool(text);
}
