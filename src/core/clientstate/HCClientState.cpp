#include "core/clientstate/HCClientState.h"

#include "platform/runtime/Guarded.h"

namespace {

platform::Guarded<HCClientStateQueries>& slotInClientState()
{
    static auto* queries = new platform::Guarded<HCClientStateQueries>();  // outlives exit-time destructors
    return *queries;
}

template <class R, class F>
R ask(F HCClientStateQueries::*query, R fallback)
{
    auto fn = slotInClientState().get().*query;
    return fn ? fn() : fallback;
}

}  // namespace

void HCClientState::setQueries(HCClientStateQueries queries)
{
    slotInClientState().set(std::move(queries));
}

std::optional<std::string> HCClientState::lastLoggedInUserId()
{
    return ask(&HCClientStateQueries::lastLoggedInUserId, std::optional<std::string>());
}

std::shared_ptr<HCUser> HCClientState::localUser()
{
    return ask(&HCClientStateQueries::localUser, std::shared_ptr<HCUser>());
}

bool HCClientState::isOnline()
{
    return ask(&HCClientStateQueries::isOnline, false);
}

std::optional<std::string> HCClientState::clientApplicationId()
{
    return ask(&HCClientStateQueries::clientApplicationId, std::optional<std::string>());
}

std::optional<std::string> HCClientState::suggestionsForumId()
{
    return ask(&HCClientStateQueries::suggestionsForumId, std::optional<std::string>());
}

std::string HCClientState::applicationDisplayName()
{
    return ask(&HCClientStateQueries::applicationDisplayName, std::string());
}

std::string HCClientState::applicationShortDisplayName()
{
    return ask(&HCClientStateQueries::applicationShortDisplayName, std::string());
}

std::shared_ptr<HCGameProfilePageInfo> HCClientState::localGameProfileInfo()
{
    return ask(&HCClientStateQueries::localGameProfileInfo, std::shared_ptr<HCGameProfilePageInfo>());
}
