#pragma once
// The catalogue of games as named discovery pages.
//
// Routes (below the service root; a consumer signature, no token needed):
//   GET game_discovery_categories            the root page
//   GET game_discovery_categories/{name}.xml a named page (unknown: 404)
// Both take "page" (kPageSize entries a page), "orientation" ("ipad",
// "landscape" or "portrait"; anything else 422; banner images are drawn for
// it, "images/banner_<id>_<orientation>.png") and "client_application_id".
//
// Fixture kind "discovery_entry": page (empty for the root), element
// ("category", "banner" or "news"), id, and the element's fields: name,
// subtext, secondary_text, icon_url, target (a page name), title (that
// page's title), seconds, purchase, placement, subtitle.
//
// Thread: the entries are fixed at registration; handlers run on
// connection threads.
#include <cstdint>

#include "localserver/Fixtures.h"

namespace localserver {
class Server;

inline constexpr std::uint32_t kDiscoveryPageSize = 10;

// A root with three categories (one of them a name that is not a plain
// path segment), a "Now Playing" page of two banners and a news page.
void addDefaultDiscoveryFixtures(Fixtures& fixtures);

void registerDiscoveryRoutes(Server& server);

}  // namespace localserver
