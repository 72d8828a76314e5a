#include "gamepages/discovery/HCFeaturedGamesController.h"

#include "core/halcyon/Halcyon.h"

std::vector<std::pair<std::string, std::string>> HCFeaturedGamesController::getParameters()
{
    return {{"client_application_id", Halcyon::clientApplicationId().value_or("")}};
}
