#pragma once
// The forums of the service: a game's topic tree, a topic's discussions, a
// discussion's posts; opening a discussion, replying, and following a
// discussion.
//
// Every call is silent (request type 0) and needs a logged-in session,
// except reading a discussion's posts. An id that names nothing (nil, empty)
// fails the call at once: the failure callback runs, no request is made,
// and the answer is nil. While the service is not running a call answers
// nil and calls nothing back. Success callbacks receive the reply's
// HCPaginatedSeries of HCForumTopic, HCForumThread or HCForumPost; failure
// callbacks what the provider reports.
//
// Thread: initializeService and shutdownService on the main thread; calls on
// the caller's thread (the main thread as a rule); replies are read on the
// provider's request thread and delivered on the callbacks' thread.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/services/HCService.h"

class HCForumService final : public HCService {
public:
    using Text = std::optional<std::string>;

    static void initializeService();
    static void shutdownService();
    // Nil before initializeService and after shutdownService.
    static std::shared_ptr<HCForumService> sharedInstance();

    // The game's topic tree: of the given application, or of the running
    // game when the id is nil or empty.
    static HCRequestHandlePtr getTopicsForApplication(const Text& applicationId, const HCDelegate& onSuccess,
                                                      const HCDelegate& onFailure);
    static HCRequestHandlePtr getThreadsForTopic(const Text& topicId, int32_t page, const HCDelegate& onSuccess,
                                                 const HCDelegate& onFailure);
    // Needs no logged-in session.
    static HCRequestHandlePtr getPostsForThread(const Text& threadId, int32_t page, const HCDelegate& onSuccess,
                                                const HCDelegate& onFailure);
    static HCRequestHandlePtr postNewThreadInTopic(const Text& topicId, const Text& subject, const Text& body,
                                                   const HCDelegate& onSuccess, const HCDelegate& onFailure);
    static HCRequestHandlePtr replyToThread(const Text& threadId, const Text& body, const HCDelegate& onSuccess,
                                            const HCDelegate& onFailure);
    static HCRequestHandlePtr subscribeToThread(const Text& threadId, const Text& topicId, const HCDelegate& onSuccess,
                                                const HCDelegate& onFailure);
    static HCRequestHandlePtr unsubscribeFromThread(const Text& threadId, const Text& topicId,
                                                    const HCDelegate& onSuccess, const HCDelegate& onFailure);

    void populateKnownResources(HCResourceNameMap& map) override;
};
