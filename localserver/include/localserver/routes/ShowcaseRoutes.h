#pragma once
// What the dashboard's game lists show beyond the catalogue's plain pages:
// the shuffled discovery page with its banner section, and the web pages
// of the games (description, news item, the developer's featured games).
//
// Routes (below the service root):
//   GET game_discovery_categories/halcyon_five.xml  (consumer signature)
//       a sectioned reply: the section "banner_frame_content" with one
//       banner link (none while `emptyBanner` is set), then the section
//       "Halcyon Five" with the server's games, starting one further on at
//       each request (the shuffle).
//   GET featured_apps_by_dev.iphone?client_application_id=<id>   (open)
//   GET game_discovery_news_items/{id}.iphone                      (open)
//   GET client_applications/{id}/application_descriptions.iphone   (open)
//       HTML; an unknown game or news item answers 404, a missing id 422.
//
// Registered before the catalogue's routes, so the shuffled page is not
// taken for a plain one.
//
// Thread: handlers run on connection threads; the options are atomic.
#include <atomic>
#include <memory>

namespace localserver {
class Server;

struct ShowcaseOptions {
    std::atomic<bool> emptyBanner{false};
    std::atomic<unsigned> shuffles{0};
};

std::shared_ptr<ShowcaseOptions> registerShowcaseRoutes(Server& server);

}  // namespace localserver
