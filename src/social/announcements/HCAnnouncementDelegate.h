#pragma once
// What the game implements to hear the outcomes of HCAnnouncement. Every
// method is optional: HCAnnouncement calls one only when the delegate
// implements it.
//
// Thread: called on the main thread.
#include <memory>
#include <vector>

#include "platform/runtime/OptionalMethods.h"

class HCAnnouncement;
class HCForumPost;

class HCAnnouncementDelegate : public platform::OptionalMethods {
public:
    virtual ~HCAnnouncementDelegate() = default;
    // The game's announcements and the developer's, each sorted as asked; a
    // reply without one of the two sections gives an empty list for it.
    virtual void didDownloadAnnouncementsAppAnnouncements(const std::vector<std::shared_ptr<HCAnnouncement>>& app,
                                                          const std::vector<std::shared_ptr<HCAnnouncement>>& dev)
    {
        (void)app;
        (void)dev;
        notImplemented();
    }
    virtual void didFailDownloadAnnouncements() { notImplemented(); }
    // The replies to the announcement, without its own opening post.
    virtual void didGetPosts(const std::vector<std::shared_ptr<HCForumPost>>& posts,
                             const std::shared_ptr<HCAnnouncement>& announcement)
    {
        (void)posts;
        (void)announcement;
        notImplemented();
    }
    virtual void didFailGetPostsHCAnnouncement(const std::shared_ptr<HCAnnouncement>& announcement)
    {
        (void)announcement;
        notImplemented();
    }
};
