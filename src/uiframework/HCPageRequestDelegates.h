#pragma once
// How every request a page makes of the service ends: the success and
// failure delegates it hands the service, from pageRequestDelegates.
//
// - A request is answered once. One the provider lets go unanswered
//   (dropped) ends in the failure path with nil on a later turn of the main
//   run loop, so the page never waits for an answer that will not come.
// - Its end reaches the page only while the page can receive callbacks
//   (HCCallbackable); a page that has left its navigation stack hears
//   nothing of it.
// - `onFailure` puts the page back: it takes the loading screen down and
//   undoes what the page changed ahead of the answer, whether the page is
//   on screen or not (a page in a tab the player is not looking at is
//   found as it should be when the player comes back).
// - `tellFailure` is what the player is told, and runs (before onFailure)
//   only while the page is on screen (pageIsShown): a request that ends
//   after the player left its page tells nobody, whatever the page answers
//   about callbacks. Without it the failure is silent. A dropped request is
//   told like a failure (with nil) unless `dropped` says it goes untold.
//   A request that carries what the player wrote (a chat line) is told
//   wherever he is (`told`): once he left its page, nothing else would say
//   that his words were not taken (HCWritingFailure: over the game, a
//   banner). So is its drop, even one that goes untold while the page is
//   on screen.
//
// Thread: main thread.
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "kernel/callbacks/HCCallbackable.h"
#include "kernel/callbacks/HCDelegate.h"
#include "uiframework/HCRequestTicket.h"

template <class Page>
using HCPageRequestHandler = std::function<void(Page&, const platform::ObjectPtr&)>;

enum class HCDroppedRequest { Told, Untold };
enum class HCFailureTold { WhileShown, WhereverThePlayerIs };

// The page's view (or, for a cell, the cell) is in a window: the player sees it.
bool pageIsShown(const platform::Object& page);
void showRequestFailureAlert(const std::string& title, const std::string& message, const std::string& button);

// A tellFailure that shows one alert with fixed texts.
template <class Page>
HCPageRequestHandler<Page> tellWithAlert(std::string title, std::string message, std::string button)
{
    return [title = std::move(title), message = std::move(message), button = std::move(button)](
               Page&, const platform::ObjectPtr&) { showRequestFailureAlert(title, message, button); };
}

template <class Page>
std::pair<HCDelegate, HCDelegate> pageRequestDelegates(const std::shared_ptr<Page>& page,
                                                       HCPageRequestHandler<Page> onSuccess,
                                                       HCPageRequestHandler<Page> onFailure,
                                                       HCPageRequestHandler<Page> tellFailure = {},
                                                       HCDroppedRequest dropped = HCDroppedRequest::Told,
                                                       HCFailureTold told = HCFailureTold::WhileShown)
{
    std::weak_ptr<Page> weakPage = page;
    auto fail = [onFailure, tellFailure, told](Page& target, const platform::ObjectPtr& failure, bool tell) {
        // Told first: putting the page back may take it off the screen (a
        // form that leaves when it fails).
        const bool heard = told == HCFailureTold::WhereverThePlayerIs || pageIsShown(target);
        if (tell && tellFailure && heard) tellFailure(target, failure);
        if (onFailure) onFailure(target, failure);
    };
    // A line the player wrote is told even when its drop comes after he left
    // the page: the request's callbacks, which kept the page, are gone by
    // then, so the drop keeps it until it has been told.
    std::shared_ptr<Page> keptForTheDrop = told == HCFailureTold::WhereverThePlayerIs ? page : nullptr;
    auto ticket = std::make_shared<HCRequestTicket>(0, [weakPage, keptForTheDrop, fail, dropped, told](unsigned) {
        auto target = keptForTheDrop ? keptForTheDrop : weakPage.lock();
        if (!target) return;
        auto callbackable = dynamic_cast<const HCCallbackable*>(target.get());
        if (callbackable && !callbackable->canReceiveCallbacksNow()) return;
        // An untold drop leaves its telling to the page (the text back in
        // its field), which says nothing once the player left it.
        const bool tell = dropped == HCDroppedRequest::Told ||
                          (told == HCFailureTold::WhereverThePlayerIs && !pageIsShown(*target));
        fail(*target, nullptr, tell);
    });
    auto succeeded = [weakPage, ticket, onSuccess](const platform::ObjectPtr& reply) {
        if (!ticket->answer()) return;
        auto target = weakPage.lock();
        if (target && onSuccess) onSuccess(*target, reply);
    };
    auto failed = [weakPage, ticket, fail](const platform::ObjectPtr& failure) {
        if (!ticket->answer()) return;
        if (auto target = weakPage.lock()) fail(*target, failure, true);
    };
    return {HCDelegate::withFunction(succeeded, page), HCDelegate::withFunction(failed, page)};
}
