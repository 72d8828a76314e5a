#include "scores/highscores/HCScoreEnumerator.h"

#include <algorithm>

#include "core/replies/HCPaginatedSeries.h"
#include "core/replies/HCPaginatedSeriesHeader.h"
#include "core/replies/HCTableSectionDescription.h"
#include "core/users/HCUser.h"
#include "platform/runtime/ThreadChecker.h"
#include "scores/highscores/HCHighScore.h"
#include "scores/highscores/HCHighScoreReplies.h"
#include "scores/highscores/HCHighScoreService.h"
#include "scores/leaderboards/HCLeaderboard.h"

namespace {

HCScoreEnumeratorDelegate* sScoreEnumeratorDelegate = nullptr;
HCDistributedScoreEnumeratorDelegate* sDistributedDelegate = nullptr;

// Swaps the running request for `next`, cancelling the one it replaces.
void replaceRequest(HCRequestHandlePtr& held, HCRequestHandlePtr next)
{
    HC_CHECK_MAIN_THREAD();
    if (next == held) return;
    auto previous = std::move(held);
    held = std::move(next);
    if (previous) previous->cancel();
}

template <class Delegate, class Call>
void tell(Delegate* delegate, Call call)
{
    if (delegate != nullptr) platform::callOptional([&] { call(*delegate); });
}

// A pagination header out of range makes the whole reply bad: its page
// numbers cannot be counted with.
bool headerWithinRange(const std::shared_ptr<HCPaginatedSeries>& page)
{
    return !page || !page->header() || page->header()->isWithinRange();
}

// One page on and one page back without passing the ends, whatever page the
// game jumped to.
int pageAfter(int page, int last)
{
    return page < last ? page + 1 : last;
}

int pageBefore(int page)
{
    return page > 1 ? page - 1 : 1;
}

// Callbacks that reach the enumerator only while the game still holds it.
template <class E, class OnSuccess, class OnFailure>
std::pair<HCDelegate, HCDelegate> callbacksFor(const std::shared_ptr<E>& enumerator, OnSuccess onSuccess,
                                               OnFailure onFailure)
{
    std::weak_ptr<E> weak = enumerator;
    return {HCDelegate::withFunction([weak, onSuccess](const platform::ObjectPtr& reply) {
                if (auto alive = weak.lock()) onSuccess(*alive, platform::as<HCPaginatedSeries>(reply));
            }),
            HCDelegate::withFunction([weak, onFailure](const platform::ObjectPtr&) {
                if (auto alive = weak.lock()) onFailure(*alive);
            })};
}

}  // namespace

// ===== HCScoreEnumerator =======================================================

HCScoreEnumerator::HCScoreEnumerator(std::string leaderboardId, int pageSize, int filter)
    : pageSize_(pageSize), filter_(filter), leaderboardId_(std::move(leaderboardId))
{
}

HCScoreEnumerator::~HCScoreEnumerator()
{
    if (activeRequest_) activeRequest_->cancel();
}

std::shared_ptr<HCScoreEnumerator> HCScoreEnumerator::scoreEnumeratorForLeaderboard(
    const std::shared_ptr<HCLeaderboard>& board, int pageSize, int filter)
{
    return initWithLeaderboardId(board && board->leaderboardId() ? *board->leaderboardId() : std::string(), pageSize,
                                 filter);
}

std::shared_ptr<HCScoreEnumerator> HCScoreEnumerator::initWithLeaderboardId(const std::string& leaderboardId,
                                                                            int pageSize, int filter)
{
    HC_CHECK_MAIN_THREAD();
    std::shared_ptr<HCScoreEnumerator> enumerator(new HCScoreEnumerator(leaderboardId, pageSize, filter));
    enumerator->setCurrentPage(1);
    return enumerator;
}

void HCScoreEnumerator::setDelegate(HCScoreEnumeratorDelegate* delegate)
{
    HC_CHECK_MAIN_THREAD();
    sScoreEnumeratorDelegate = delegate;
}

void HCScoreEnumerator::setActiveRequest(HCRequestHandlePtr handle)
{
    replaceRequest(activeRequest_, std::move(handle));
}

void HCScoreEnumerator::setCurrentPage(int page)
{
    HC_CHECK_MAIN_THREAD();
    const bool failedBefore = !scores_ && !activeRequest_;
    if (page == currentPage_ && !failedBefore) return;
    load(page);
}

void HCScoreEnumerator::load(int page)
{
    currentPage_ = page;
    isCurrentUserPage_ = false;
    scores_.reset();
    auto [success, failure] = replyCallbacks();
    // Clear first: the old request's cancellation must not end the new one.
    setActiveRequest(nullptr);
    setActiveRequest(HCHighScoreService::getPage(page, pageSize_, leaderboardId_, std::nullopt, filter_ == 1, true, 0,
                                                 success, failure));
}

std::pair<HCDelegate, HCDelegate> HCScoreEnumerator::replyCallbacks()
{
    const unsigned ticket = ++requestTicket_;
    return callbacksFor(
        std::static_pointer_cast<HCScoreEnumerator>(shared_from_this()),
        [ticket](HCScoreEnumerator& e, const std::shared_ptr<HCPaginatedSeries>& series) {
            e._downloadFinished(ticket, series);
        },
        [ticket](HCScoreEnumerator& e) { e._downloadFailed(ticket); });
}

void HCScoreEnumerator::jumpToPage(int page)
{
    if (totalPages_ == 0) return;
    setCurrentPage(page);
}

bool HCScoreEnumerator::nextPage()
{
    const bool moves = currentPage_ < totalPages_;
    jumpToPage(pageAfter(currentPage_, totalPages_));
    return moves;
}

bool HCScoreEnumerator::previousPage()
{
    const bool moves = currentPage_ > 1;
    jumpToPage(pageBefore(currentPage_));
    return moves;
}

void HCScoreEnumerator::pageWithCurrentUser()
{
    HC_CHECK_MAIN_THREAD();
    isCurrentUserPage_ = false;
    scores_.reset();
    auto [success, failure] = replyCallbacks();
    setActiveRequest(nullptr);
    setActiveRequest(
        HCHighScoreService::getPageWithLoggedInUserWithPageSize(pageSize_, leaderboardId_, true, success, failure));
}

void HCScoreEnumerator::setPageSize(int pageSize)
{
    HC_CHECK_MAIN_THREAD();
    if (pageSize == pageSize_) return;
    pageSize_ = pageSize;
    totalPages_ = 0;
    load(1);
}

void HCScoreEnumerator::_downloadFinished(unsigned ticket, const std::shared_ptr<HCPaginatedSeries>& series)
{
    if (ticket != requestTicket_) return;
    auto page = HCHighScorePageOf(series);
    if (!headerWithinRange(page)) {
        _downloadFailed(ticket);
        return;
    }
    HCHighScoreList scores = HCHighScoresIn(page);
    isCurrentUserPage_ = std::any_of(scores.begin(), scores.end(), [](const auto& score) {
        return score->user() && score->user()->isLocalUser();
    });
    const auto& header = page ? page->header() : nullptr;
    currentPage_ = header ? static_cast<int>(header->currentPage()) : 0;
    totalPages_ = header ? static_cast<int>(header->totalPages()) : 0;
    scores_ = std::move(scores);
    activeRequest_ = nullptr;
    tell(sScoreEnumeratorDelegate, [this](HCScoreEnumeratorDelegate& d) { d.didReceiveScoresHCScoreEnumerator(*this); });
}

void HCScoreEnumerator::_downloadFailed(unsigned ticket)
{
    if (ticket != requestTicket_) return;
    activeRequest_ = nullptr;
    tell(sScoreEnumeratorDelegate, [this](HCScoreEnumeratorDelegate& d) { d.didFailReceiveScoresHCScoreEnumerator(*this); });
}

// ===== HCDistributedScoreEnumerator ============================================

HCDistributedScoreEnumerator::HCDistributedScoreEnumerator(std::string leaderboardId, int pageSize,
                                                           std::int64_t scoreDelta, std::int64_t startScore)
    : pageSize_(pageSize), scoreDelta_(scoreDelta), startScore_(startScore), leaderboardId_(std::move(leaderboardId))
{
}

HCDistributedScoreEnumerator::~HCDistributedScoreEnumerator()
{
    if (activeRequest_) activeRequest_->cancel();
}

std::shared_ptr<HCDistributedScoreEnumerator> HCDistributedScoreEnumerator::scoreEnumeratorForLeaderboard(
    const std::shared_ptr<HCLeaderboard>& board, int pageSize, std::int64_t scoreDelta, std::int64_t startScore,
    HCDistributedScoreEnumeratorDelegate* delegate)
{
    return initWithLeaderboardId(board && board->leaderboardId() ? *board->leaderboardId() : std::string(), pageSize,
                                 scoreDelta, startScore, delegate);
}

std::shared_ptr<HCDistributedScoreEnumerator> HCDistributedScoreEnumerator::initWithLeaderboardId(
    const std::string& leaderboardId, int pageSize, std::int64_t scoreDelta, std::int64_t startScore,
    HCDistributedScoreEnumeratorDelegate* delegate)
{
    HC_CHECK_MAIN_THREAD();
    std::shared_ptr<HCDistributedScoreEnumerator> enumerator(
        new HCDistributedScoreEnumerator(leaderboardId, pageSize, scoreDelta, startScore));
    sDistributedDelegate = delegate;
    enumerator->setCurrentPage(1);
    return enumerator;
}

void HCDistributedScoreEnumerator::setDelegate(HCDistributedScoreEnumeratorDelegate* delegate)
{
    HC_CHECK_MAIN_THREAD();
    sDistributedDelegate = delegate;
}

void HCDistributedScoreEnumerator::setActiveRequest(HCRequestHandlePtr handle)
{
    replaceRequest(activeRequest_, std::move(handle));
}

const HCHighScoreList* HCDistributedScoreEnumerator::scores() const
{
    auto found = pages_.find(currentPage_);
    return found == pages_.end() ? nullptr : &found->second;
}

void HCDistributedScoreEnumerator::setCurrentPage(int page)
{
    HC_CHECK_MAIN_THREAD();
    const bool failedBefore = !hasScores() && !activeRequest_;
    if (page < 1 || (page == currentPage_ && !failedBefore)) return;
    currentPage_ = page;
    // The running request's reply is no longer the one to report.
    const unsigned ticket = ++requestTicket_;
    if (pages_.count(page) != 0) {
        setActiveRequest(nullptr);
        callSuccessDelegate();
        return;
    }
    auto [success, failure] = callbacksFor(
        std::static_pointer_cast<HCDistributedScoreEnumerator>(shared_from_this()),
        [ticket, page](HCDistributedScoreEnumerator& e, const std::shared_ptr<HCPaginatedSeries>& series) {
            e._downloadFinished(ticket, page, series);
        },
        [ticket](HCDistributedScoreEnumerator& e) { e._downloadFailed(ticket); });
    setActiveRequest(nullptr);
    setActiveRequest(HCHighScoreService::getDistributedHighScoresAtPage(page, pageSize_, scoreDelta_, startScore_,
                                                                        leaderboardId_, success, failure));
}

bool HCDistributedScoreEnumerator::nextPage()
{
    // lastPage_ is at least 1, so one below it is a number.
    if (currentPage_ >= lastPage_ - 1) return false;
    jumpToPage(currentPage_ + 1);
    return true;
}

bool HCDistributedScoreEnumerator::previousPage()
{
    const bool moves = currentPage_ > 1;
    jumpToPage(pageBefore(currentPage_));
    return moves;
}

void HCDistributedScoreEnumerator::_downloadFinished(unsigned ticket, int requestedPage,
                                                     const std::shared_ptr<HCPaginatedSeries>& series)
{
    if (!headerWithinRange(series)) {
        _downloadFailed(ticket);
        return;
    }
    // Kept under the page it was asked for, whatever is shown now.
    pages_[requestedPage] = HCHighScoresIn(series);
    if (ticket != requestTicket_) return;
    activeRequest_ = nullptr;
    callSuccessDelegate();
}

void HCDistributedScoreEnumerator::_downloadFailed(unsigned ticket)
{
    if (ticket != requestTicket_) return;
    activeRequest_ = nullptr;
    tell(sDistributedDelegate,
         [this](HCDistributedScoreEnumeratorDelegate& d) { d.didFailReceiveScoresHCDistributedScoreEnumerator(*this); });
}

void HCDistributedScoreEnumerator::callSuccessDelegate()
{
    if (sDistributedDelegate == nullptr) return;
    const auto* page = scores();
    if (page != nullptr && page->empty()) {
        lastPage_ = std::min(lastPage_, currentPage_);
        tell(sDistributedDelegate, [this](HCDistributedScoreEnumeratorDelegate& d) {
            d.didReachLastPageHCDistributedScoreEnumerator(*this);
        });
        return;
    }
    tell(sDistributedDelegate,
         [this](HCDistributedScoreEnumeratorDelegate& d) { d.didReceiveScoresHCDistributedScoreEnumerator(*this); });
}
