#pragma once
// The discussions the announcement pages read: each announcement's
// discussion is a forum discussion of the same id, in a topic of the game
// that the forum list does not show, read through the forum routes.
//
// Fixture records added: "forum_topic" 96 and "forum_discussion" /
// "forum_post" records for announcements 800 and 802.
//
// Thread: called while the fixtures are built, before the server starts.
namespace localserver {

struct Fixtures;

void addDefaultAnnouncementDiscussionFixtures(Fixtures& fixtures);

}  // namespace localserver
