#include "core/users/HCUser.h"

#include <algorithm>
#include <limits>

#include "core/clientstate/HCClientState.h"
#include "core/resources/HCResourceText.h"
#include "kernel/resources/HCResourceDataMap.h"
#include "kernel/sql/HCSqlQuery.h"
#include "platform/foundation/Format.h"
#include "platform/foundation/KeyedArchiver.h"
#include "platform/foundation/KeyedUnarchiver.h"
#include "platform/foundation/TextConversions.h"
#include "platform/runtime/ClassRegistry.h"

namespace {

// The archive names the class; the unarchiver creates it by that name.
[[maybe_unused]] const bool userRegistered = [] {
    platform::registerCodingClass<HCUser>("HCUser");
    return true;
}();

std::optional<std::string> nonEmpty(const std::optional<std::string>& text)
{
    if (!text || text->empty()) return std::nullopt;
    return text;
}

uint32_t clampedScore(long long value)
{
    return static_cast<uint32_t>(std::clamp<long long>(value, 0, std::numeric_limits<uint32_t>::max()));
}

}  // namespace

using HCResourceText::boxed;

std::shared_ptr<HCUser> HCUser::invalidUser()
{
    auto user = std::make_shared<HCUser>();
    user->setResourceId("0");
    user->name_ = "Not Logged In";
    user->lastPlayedGameName_ = "Halcyon Game";
    return user;
}

std::shared_ptr<HCUser> HCUser::initWithLocalSQL(const HCSqlQuery& row)
{
    auto user = std::make_shared<HCUser>();
    user->setResourceId(row.getTextValue("id"));
    user->name_ = row.getTextValue("name");
    user->profilePictureUrl_ = row.getTextValue("profile_picture_url");
    return user;
}

const HCResourceDataMap& HCUser::getDataMap() const
{
    static const auto map = [] {
        auto m = std::make_shared<HCResourceDataMap>();
        m->addField("name", &HCUser::setName, &HCUser::name);
        m->addField("profile_picture_url", &HCUser::setProfilePictureUrl, &HCUser::profilePictureUrl);
        m->addField("profile_picture_source", &HCUser::setProfilePictureSource, &HCUser::profilePictureSource);
        m->addField("uses_facebook_profile_picture", &HCUser::setUsesFacebookProfilePicture,
                    &HCUser::getUsesFacebookProfilePictureAsString);
        m->addField("last_played_game_id", &HCUser::setLastPlayedGameId, &HCUser::lastPlayedGameId);
        m->addField("last_played_game_name", &HCUser::setLastPlayedGameName, &HCUser::lastPlayedGameName);
        m->addField("gamer_score", &HCUser::setGamerScore, &HCUser::getGamerScoreAsString);
        m->addField("following_local_user", &HCUser::setFollowsLocalUserAsString, &HCUser::getFollowsLocalUserAsString);
        m->addField("followed_by_local_user", &HCUser::setFollowedByLocalUserAsString,
                    &HCUser::getFollowedByLocalUserAsString);
        m->addField("online", &HCUser::setOnlineAsString, &HCUser::getOnlineAsString);
        m->addField("lat", &HCUser::setLatitude, &HCUser::getLatitudeAsString);
        m->addField("lng", &HCUser::setLongitude, &HCUser::getLongitudeAsString);
        return m;
    }();
    return *map;
}

void HCUser::encodeWithCoder(platform::KeyedArchiver& coder) const
{
    coder.encodeObject("resourceId", boxed(resourceId()));
    coder.encodeObject("name", boxed(name_));
    coder.encodeObject("profilePictureUrl", boxed(profilePictureUrl_));
    coder.encodeObject("profilePictureSource", boxed(profilePictureSource_));
    coder.encodeBool("usesFacebookProfilePicture", usesFacebookProfilePicture_);
    coder.encodeObject("lastPlayedGameId", boxed(lastPlayedGameId_));
    coder.encodeObject("lastPlayedGameName", boxed(lastPlayedGameName_));
    coder.encodeBool("followsLocalUser", followsLocalUser_);
    coder.encodeBool("followedByLocalUser", followedByLocalUser_);
    coder.encodeInteger("gamerScore", gamerScore_);
    coder.encodeBool("online", online_);
    coder.encodeDouble("latitude", latitude_);
    coder.encodeDouble("longitude", longitude_);
}

void HCUser::initWithCoder(const platform::KeyedUnarchiver& coder)
{
    setResourceId(platform::textOf(coder.decodeObjectForKey("resourceId")));
    name_ = platform::textOf(coder.decodeObjectForKey("name"));
    profilePictureUrl_ = platform::textOf(coder.decodeObjectForKey("profilePictureUrl"));
    profilePictureSource_ = platform::textOf(coder.decodeObjectForKey("profilePictureSource"));
    usesFacebookProfilePicture_ = coder.decodeBoolForKey("usesFacebookProfilePicture");
    lastPlayedGameId_ = platform::textOf(coder.decodeObjectForKey("lastPlayedGameId"));
    lastPlayedGameName_ = platform::textOf(coder.decodeObjectForKey("lastPlayedGameName"));
    followsLocalUser_ = coder.decodeBoolForKey("followsLocalUser");
    followedByLocalUser_ = coder.decodeBoolForKey("followedByLocalUser");
    gamerScore_ = clampedScore(coder.decodeIntegerForKey("gamerScore"));
    online_ = coder.decodeBoolForKey("online");
    latitude_ = coder.decodeDoubleForKey("latitude");
    longitude_ = coder.decodeDoubleForKey("longitude");
}

bool HCUser::isLocalUser() const
{
    const auto& id = resourceId();
    if (!id) return false;
    return *id == "0" || id == HCClientState::lastLoggedInUserId();
}

bool HCUser::online() const
{
    return isLocalUser() ? HCClientState::isOnline() : online_;
}

std::string HCUser::description() const
{
    std::string text = "player " + userId().value_or("(no id)");
    if (!name_) return text;
    std::string name = *name_;
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return text + " \"" + name + "\"";
}

void HCUser::adjustGamerscore(int32_t amount)
{
    gamerScore_ = clampedScore(static_cast<long long>(gamerScore_) + amount);
}

void HCUser::setFollowedByLocalUser(bool followed)
{
    followedByLocalUser_ = followed;
}

void HCUser::changeProfilePictureUrl(const Text& url, bool facebook, bool twitter, bool uploaded)
{
    setProfilePictureUrl(url);
    usesFacebookProfilePicture_ = facebook;
    if (facebook)
        profilePictureSource_ = "FbconnectCredential";
    else if (twitter)
        profilePictureSource_ = "TwitterCredential";
    else if (uploaded)
        profilePictureSource_ = "Upload";
    else
        profilePictureSource_ = std::nullopt;
}

void HCUser::setProfilePictureUrl(const Text& text)
{
    profilePictureUrl_ = nonEmpty(text);
}

void HCUser::setProfilePictureSource(const Text& text)
{
    profilePictureSource_ = nonEmpty(text);
}

void HCUser::setUsesFacebookProfilePicture(const Text& text)
{
    usesFacebookProfilePicture_ = HCResourceText::readBool(text);
}

void HCUser::setGamerScore(const Text& text)
{
    gamerScore_ = text ? clampedScore(platform::longLongValue(*text)) : 0;
}

void HCUser::setFollowsLocalUserAsString(const Text& text)
{
    followsLocalUser_ = HCResourceText::readBool(text);
}

void HCUser::setFollowedByLocalUserAsString(const Text& text)
{
    followedByLocalUser_ = HCResourceText::readBool(text);
}

void HCUser::setOnlineAsString(const Text& text)
{
    online_ = HCResourceText::readBool(text);
}

void HCUser::setLatitude(const Text& text)
{
    latitude_ = text ? platform::doubleValue(*text) : 0;
}

void HCUser::setLongitude(const Text& text)
{
    longitude_ = text ? platform::doubleValue(*text) : 0;
}

std::string HCUser::getUsesFacebookProfilePictureAsString() const
{
    return HCResourceText::flagText(usesFacebookProfilePicture_);
}

std::string HCUser::getGamerScoreAsString() const
{
    return platform::format("%u", gamerScore_);
}

std::string HCUser::getFollowsLocalUserAsString() const
{
    return HCResourceText::flagText(followsLocalUser_);
}

std::string HCUser::getFollowedByLocalUserAsString() const
{
    return HCResourceText::flagText(followedByLocalUser_);
}

std::string HCUser::getOnlineAsString() const
{
    return HCResourceText::flagText(online_);
}

std::string HCUser::getLatitudeAsString() const
{
    return platform::format("%f", latitude_);
}

std::string HCUser::getLongitudeAsString() const
{
    return platform::format("%f", longitude_);
}
