#pragma once
// Page-by-page readers of a leaderboard's server scores for the game.
//
// HCScoreEnumerator walks the ranked pages (everyone, or friends only with
// filter 1), knows the total from the last reply's header, can jump to the
// page that holds the player and says whether the page shows the player.
// HCDistributedScoreEnumerator walks a score distribution (from a start
// score in steps, sampled by the service), keeps every page it loaded so
// going back costs no request, and learns the last page from the first
// empty one.
//
// Each keeps its one running request: starting another, or letting go of
// the enumerator, cancels it. Only the running request's reply is taken: a
// late reply of a request it replaced (already on its way when cancelled)
// changes nothing shown and leaves the running request tracked (the
// distributed one keeps its scores under the page it was asked for). A
// reply whose pagination header is out of range counts as failed. A page
// whose load failed can be asked for again. Both start loading page 1 when
// made.
// Each class has one delegate (not retained); creating a distributed
// enumerator makes its delegate the class delegate.
//
// Thread: main; callbacks arrive on the main thread.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "kernel/callbacks/HCCallbackable.h"
#include "kernel/callbacks/HCDelegate.h"
#include "platform/runtime/OptionalMethods.h"
#include "transport/handles/HCRequestHandle.h"

class HCHighScore;
class HCLeaderboard;
class HCPaginatedSeries;
class HCScoreEnumerator;
class HCDistributedScoreEnumerator;

class HCScoreEnumeratorDelegate : public platform::OptionalMethods {
public:
    virtual ~HCScoreEnumeratorDelegate() = default;
    virtual void didReceiveScoresHCScoreEnumerator(HCScoreEnumerator& enumerator)
    {
        (void)enumerator;
        notImplemented();
    }
    virtual void didFailReceiveScoresHCScoreEnumerator(HCScoreEnumerator& enumerator)
    {
        (void)enumerator;
        notImplemented();
    }
};

class HCDistributedScoreEnumeratorDelegate : public platform::OptionalMethods {
public:
    virtual ~HCDistributedScoreEnumeratorDelegate() = default;
    // The current page is here (loaded now or before) and holds scores.
    virtual void didReceiveScoresHCDistributedScoreEnumerator(HCDistributedScoreEnumerator& enumerator)
    {
        (void)enumerator;
        notImplemented();
    }
    // The current page is here and empty: the distribution ends before it.
    virtual void didReachLastPageHCDistributedScoreEnumerator(HCDistributedScoreEnumerator& enumerator)
    {
        (void)enumerator;
        notImplemented();
    }
    virtual void didFailReceiveScoresHCDistributedScoreEnumerator(HCDistributedScoreEnumerator& enumerator)
    {
        (void)enumerator;
        notImplemented();
    }
};

using HCHighScoreList = std::vector<std::shared_ptr<HCHighScore>>;

class HCScoreEnumerator final : public platform::Object, public HCCallbackable {
public:
    static std::shared_ptr<HCScoreEnumerator> scoreEnumeratorForLeaderboard(const std::shared_ptr<HCLeaderboard>& board,
                                                                           int pageSize, int filter);
    static std::shared_ptr<HCScoreEnumerator> initWithLeaderboardId(const std::string& leaderboardId, int pageSize,
                                                                    int filter);
    ~HCScoreEnumerator() override;
    static void setDelegate(HCScoreEnumeratorDelegate* delegate);
    bool canReceiveCallbacksNow() const override { return true; }

    // Loads the page unless it is the one shown (a page that failed to load
    // may be asked again).
    void setCurrentPage(int page);
    // Nothing until a reply gave the page count; then the page, unchecked.
    void jumpToPage(int page);
    bool nextPage();
    bool previousPage();
    // Loads the page that holds the player; the page number follows the reply.
    void pageWithCurrentUser();
    // A new size reloads page 1.
    void setPageSize(int pageSize);

    bool isCurrentUserPage() const { return isCurrentUserPage_; }
    int pageSize() const { return pageSize_; }
    int currentPage() const { return currentPage_; }
    int totalPages() const { return totalPages_; }
    // Nil while loading and after a failure.
    const std::optional<HCHighScoreList>& scores() const { return scores_; }
    bool hasScores() const { return scores_.has_value(); }
    int filter() const { return filter_; }
    const std::string& leaderboardId() const { return leaderboardId_; }
    const HCRequestHandlePtr& activeRequest() const { return activeRequest_; }
    // A different handle cancels the running one.
    void setActiveRequest(HCRequestHandlePtr handle);

private:
    HCScoreEnumerator(std::string leaderboardId, int pageSize, int filter);
    void load(int page);
    // Callbacks for the request about to start; from now on only its reply counts.
    std::pair<HCDelegate, HCDelegate> replyCallbacks();
    void _downloadFinished(unsigned ticket, const std::shared_ptr<HCPaginatedSeries>& series);
    void _downloadFailed(unsigned ticket);

    bool isCurrentUserPage_ = false;
    int pageSize_;
    int currentPage_ = 0;
    int totalPages_ = 0;
    std::optional<HCHighScoreList> scores_;
    int filter_;
    std::string leaderboardId_;
    HCRequestHandlePtr activeRequest_;
    // Numbers the requests; a reply of any but the latest is a late one.
    unsigned requestTicket_ = 0;
};

class HCDistributedScoreEnumerator final : public platform::Object, public HCCallbackable {
public:
    static constexpr int kNoLastPage = 2147483647;

    static std::shared_ptr<HCDistributedScoreEnumerator> scoreEnumeratorForLeaderboard(
        const std::shared_ptr<HCLeaderboard>& board, int pageSize, std::int64_t scoreDelta, std::int64_t startScore,
        HCDistributedScoreEnumeratorDelegate* delegate);
    static std::shared_ptr<HCDistributedScoreEnumerator> initWithLeaderboardId(
        const std::string& leaderboardId, int pageSize, std::int64_t scoreDelta, std::int64_t startScore,
        HCDistributedScoreEnumeratorDelegate* delegate);
    ~HCDistributedScoreEnumerator() override;
    static void setDelegate(HCDistributedScoreEnumeratorDelegate* delegate);
    bool canReceiveCallbacksNow() const override { return true; }

    // Pages below 1 and the page shown are ignored (unless its load failed);
    // a page loaded before is reported at once without a request.
    void setCurrentPage(int page);
    void jumpToPage(int page) { setCurrentPage(page); }
    // NO, and no move, when the next page is known to be empty.
    bool nextPage();
    bool previousPage();

    int pageSize() const { return pageSize_; }
    int currentPage() const { return currentPage_; }
    std::int64_t scoreDelta() const { return scoreDelta_; }
    std::int64_t startScore() const { return startScore_; }
    // The current page's scores; nil when it is not loaded.
    const HCHighScoreList* scores() const;
    bool hasScores() const { return scores() != nullptr; }
    const std::string& leaderboardId() const { return leaderboardId_; }
    const HCRequestHandlePtr& activeRequest() const { return activeRequest_; }
    void setActiveRequest(HCRequestHandlePtr handle);

private:
    HCDistributedScoreEnumerator(std::string leaderboardId, int pageSize, std::int64_t scoreDelta,
                                 std::int64_t startScore);
    void _downloadFinished(unsigned ticket, int requestedPage, const std::shared_ptr<HCPaginatedSeries>& series);
    void _downloadFailed(unsigned ticket);
    void callSuccessDelegate();

    int pageSize_;
    int currentPage_ = 0;
    std::int64_t scoreDelta_;
    std::int64_t startScore_;
    int lastPage_ = kNoLastPage;
    std::map<int, HCHighScoreList> pages_;
    std::string leaderboardId_;
    HCRequestHandlePtr activeRequest_;
    // Numbers the requests; a reply of any but the latest is a late one.
    unsigned requestTicket_ = 0;
};
