#pragma once
// Invitations to the game: the player's received invitations (listing marks
// them viewed), ignoring one, sending one to players, phone numbers and
// e-mail addresses, and the invitation definitions the game set up on the
// service.
//
// Every call needs a logged-in session and is silent. An id that names
// nothing fails the call at once without a request; so does sending without
// a definition. While the service is not running a call answers nil and
// calls nothing back.
//
// Thread: calls on the main thread; replies are read on the provider's
// request thread and delivered on the callbacks' thread.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/services/HCService.h"
#include "core/users/HCUser.h"

class HCInviteDefinition;

class HCInviteService final : public HCService {
public:
    using Text = std::optional<std::string>;
    // Opens the invitation pages for a definition identifier; the social
    // pages install it.
    using InviteFlow = std::function<void(const std::string& inviteIdentifier)>;

    static void initializeService();
    static void shutdownService();
    static std::shared_ptr<HCInviteService> sharedInstance();

    // The logged-in player's invitations, whoever `user` is: the service
    // knows no other player's.
    static HCRequestHandlePtr getInvitesForUser(const HCUserPtr& user, int32_t page, const HCDelegate& onSuccess,
                                                const HCDelegate& onFailure);
    static HCRequestHandlePtr ignoreInvite(const Text& inviteId, const HCDelegate& onSuccess,
                                           const HCDelegate& onFailure);
    // Receivers in order: an HCUser by id, an HCDeviceContact by its number
    // (SMS) or else its e-mail address; anything else is skipped.
    static HCRequestHandlePtr sendInvite(const std::shared_ptr<HCInviteDefinition>& definition, const Text& message,
                                         const std::vector<platform::ObjectPtr>& receivers,
                                         const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static HCRequestHandlePtr getInviteDefinition(const Text& definitionId, const HCDelegate& onSuccess,
                                                  const HCDelegate& onFailure);
    // The game's primary definition.
    static HCRequestHandlePtr getDefaultInviteDefinitionForApplication(const HCDelegate& onSuccess,
                                                                       const HCDelegate& onFailure);
    // Opens the invitation pages modally; nothing without the social pages.
    static void displaySendInviteModal(const std::string& inviteIdentifier);
    static void setInviteFlow(InviteFlow flow);

    void populateKnownResources(HCResourceNameMap& map) override;
};
