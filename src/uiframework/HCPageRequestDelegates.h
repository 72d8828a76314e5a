#pragma once
// The success and failure delegates of a request a page makes itself,
// answered at most once. A request the provider lets go unanswered
// (dropped) ends in `onDropped`, else in the failure handler with nil, on a
// later turn of the main run loop, so the page never waits for an answer
// that will not come; like a reply, that end reaches only a page that can
// receive callbacks then.
//
// Thread: main thread.
#include <functional>
#include <memory>
#include <utility>

#include "kernel/callbacks/HCCallbackable.h"
#include "kernel/callbacks/HCDelegate.h"
#include "uiframework/HCRequestTicket.h"

template <class Page>
std::pair<HCDelegate, HCDelegate> pageRequestDelegates(
    const std::shared_ptr<Page>& page, std::function<void(Page&, const platform::ObjectPtr&)> onSuccess,
    std::function<void(Page&, const platform::ObjectPtr&)> onFailure, std::function<void(Page&)> onDropped = {})
{
    std::weak_ptr<Page> weakPage = page;
    auto ticket = std::make_shared<HCRequestTicket>(0, [weakPage, onFailure, onDropped](unsigned) {
        auto target = weakPage.lock();
        if (!target) return;
        // A reply the page may not hear now (it left its navigation stack) is
        // let go unheard as well: its end is no more the page's business.
        auto callbackable = dynamic_cast<const HCCallbackable*>(target.get());
        if (callbackable && !callbackable->canReceiveCallbacksNow()) return;
        if (onDropped) {
            onDropped(*target);
        } else {
            onFailure(*target, nullptr);
        }
    });
    auto answer = [weakPage, ticket](const std::function<void(Page&, const platform::ObjectPtr&)>& handle) {
        return [weakPage, ticket, handle](const platform::ObjectPtr& reply) {
            if (!ticket->answer()) return;
            if (auto target = weakPage.lock()) handle(*target, reply);
        };
    };
    return {HCDelegate::withFunction(answer(onSuccess), page), HCDelegate::withFunction(answer(onFailure), page)};
}
