#pragma once
// A player of the service: the local player and every other player the
// dashboard shows (friends, authors of posts, senders, score holders).
//
// Three forms: the "user" element of a reply (read and written through the
// data map), the keyed archive the client keeps of the local player, and a
// row of the offline database's users table. Two objects for one player are
// two objects: compare resourceId() to know whether they are the same player.
//
// The game's operations (getUser, the picture, the friends lists) follow the
// public-class pattern with one HCUserDelegate for the class; they ask the
// social services, so they are defined with them
// (social/users/HCUser+Operations.cpp) and link with that layer.
//
// Thread: built on the thread that reads its reply (the provider's request
// thread for service replies) and then used by one thread at a time, the
// main thread once handed on; it has no lock. The operations run on the
// main thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/images/HCImageDownload.h"
#include "core/resources/HCResource.h"
#include "kernel/callbacks/HCCallbackable.h"
#include "platform/foundation/Coding.h"

class HCSqlQuery;
class HCUserDelegate;

class HCUser : public HCResource, public platform::Coding, public HCCallbackable {
public:
    using Text = std::optional<std::string>;

    HCUser() = default;

    // The user that stands for "no one is logged in": id "0", name
    // "Not Logged In", last played game "Halcyon Game".
    static std::shared_ptr<HCUser> invalidUser();
    // A user from a row of the offline users table: "id", "name" and
    // "profile_picture_url"; every other field stays empty. A NULL column
    // leaves its field nil.
    static std::shared_ptr<HCUser> initWithLocalSQL(const HCSqlQuery& row);

    // --- Operations for the game ---------------------------------------------
    // The module under which the class registers its request handles.
    static constexpr const char* kModule = "HCUser";
    static void setDelegate(HCUserDelegate* delegate);
    // didGetUser(first user of the reply) or didFailGetUser (also for an
    // empty reply). The local player, and offline a player stored on this
    // device, are answered before the call returns, with nil.
    static HCRequestHandlePtr getUser(const std::optional<std::string>& userId);
    // didGetProfilePicture(image, user) or didFailGetProfilePictureHCUser;
    // a cached picture is answered before the call returns, with nil.
    HCRequestHandlePtr getProfilePicture();
    // The players this user follows, in one list whatever the reply's shape.
    // A user without an id fails inside the call (it is not the local player).
    HCRequestHandlePtr getFriends();
    // The players this user follows who have this game.
    HCRequestHandlePtr getFriendsWithThisApplication();
    // The users of a friends reply: the objects of each section in order,
    // skipping a section titled exactly "Online Now", and users that stand
    // in the reply without a section (the flat form).
    static std::vector<std::shared_ptr<HCUser>> _extractUsersFromPaginatedSeries(const platform::ObjectPtr& series);

    std::string getResourceName() const override { return "user"; }
    std::string getResourceDiscoveredNotification() const override { return "user_discovered"; }
    const HCResourceDataMap& getDataMap() const override;
    bool canReceiveCallbacksNow() const override { return true; }

    std::string classNameForCoding() const override { return "HCUser"; }
    void encodeWithCoder(platform::KeyedArchiver& coder) const override;
    void initWithCoder(const platform::KeyedUnarchiver& coder) override;

    // "player 1002 \"Ben\"" for logs; the name comes from the service, so
    // a control character in it is shown as '?' and cannot forge a line.
    std::string description() const override;

    const Text& userId() const { return resourceId(); }
    // YES for the local player (the last logged-in id) and for the invalid user.
    bool isLocalUser() const;
    // The client's online state for the local player, the stored flag for
    // anyone else.
    bool online() const;

    const Text& name() const { return name_; }
    const Text& profilePictureUrl() const { return profilePictureUrl_; }
    // "FbconnectCredential", "TwitterCredential", "Upload" or nil.
    const Text& profilePictureSource() const { return profilePictureSource_; }
    bool usesFacebookProfilePicture() const { return usesFacebookProfilePicture_; }
    const Text& lastPlayedGameId() const { return lastPlayedGameId_; }
    const Text& lastPlayedGameName() const { return lastPlayedGameName_; }
    bool followsLocalUser() const { return followsLocalUser_; }
    bool followedByLocalUser() const { return followedByLocalUser_; }
    uint32_t gamerScore() const { return gamerScore_; }
    double latitude() const { return latitude_; }
    double longitude() const { return longitude_; }

    // Adds the amount, held between 0 and the largest score.
    void adjustGamerscore(int32_t amount);
    void setFollowedByLocalUser(bool followed);
    // Records where the new picture comes from: Facebook wins over Twitter,
    // Twitter over an upload; none of them leaves the source nil.
    void changeProfilePictureUrl(const Text& url, bool facebook, bool twitter, bool uploaded);

    // Data-map setters (element texts) and getters.
    void setName(const Text& text) { name_ = text; }
    // An empty text leaves the field nil.
    void setProfilePictureUrl(const Text& text);
    void setProfilePictureSource(const Text& text);
    void setUsesFacebookProfilePicture(const Text& text);
    void setLastPlayedGameId(const Text& text) { lastPlayedGameId_ = text; }
    void setLastPlayedGameName(const Text& text) { lastPlayedGameName_ = text; }
    // A negative text reads as 0, one past the top as the top.
    void setGamerScore(const Text& text);
    void setFollowsLocalUserAsString(const Text& text);
    void setFollowedByLocalUserAsString(const Text& text);
    void setOnlineAsString(const Text& text);
    void setLatitude(const Text& text);
    void setLongitude(const Text& text);
    std::string getUsesFacebookProfilePictureAsString() const;
    std::string getGamerScoreAsString() const;
    std::string getFollowsLocalUserAsString() const;
    std::string getFollowedByLocalUserAsString() const;
    std::string getOnlineAsString() const;
    std::string getLatitudeAsString() const;
    std::string getLongitudeAsString() const;

private:
    Text name_;
    Text profilePictureUrl_;
    Text profilePictureSource_;
    bool usesFacebookProfilePicture_ = false;
    Text lastPlayedGameId_;
    Text lastPlayedGameName_;
    bool followsLocalUser_ = false;
    bool followedByLocalUser_ = false;
    uint32_t gamerScore_ = 0;
    bool online_ = false;
    double latitude_ = 0;
    double longitude_ = 0;
    // The picture download of getProfilePicture, kept until the next one.
    HCImageDownloadSlots pictureDownload_;
};

using HCUserPtr = std::shared_ptr<HCUser>;
