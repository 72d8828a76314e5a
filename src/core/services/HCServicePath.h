#pragma once
// The paths of service calls that name an object by its id
// ("topics/%@/discussions.xml").
//
// Every id goes in as exactly one path segment, percent-encoded, so an id
// can never reach another path ("1/../../users") or add a query. An id that
// is nil, empty, "." or ".." names nothing: the call fails at once, without
// a request.
//
//     auto path = HCServicePath::format("discussions/%@/posts.xml", {threadId});
//     auto service = HCServicePath::serviceFor<HCForumService>(path, onFailure);
//     if (!service) return nullptr;
//     return service->getAction(*path, ...);
//
// A plain page of such a list is getPage<S>(pattern, id, page, ...).
//
// Thread: any thread.
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "kernel/callbacks/HCDelegate.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "transport/handles/HCRequestHandle.h"
#include "transport/provider/HCActionRequest.h"

namespace HCServicePath {

// The pattern with each "%@" replaced, in order, by the next id as one
// escaped segment; nil when an id names nothing or the counts differ.
std::optional<std::string> format(std::string_view pattern, std::initializer_list<std::optional<std::string>> ids);

// The failure of a call whose path named nothing: invokes `onFailure` with
// nil (delivered later, as every callback) and answers no handle.
HCRequestHandlePtr refuse(const HCDelegate& onFailure);

// The running service S for a call on `path`; nil when the call must not be
// sent: S is not running (then nothing is called back, as for any call to a
// stopped service) or the path named nothing (then the failure is refused).
template <class S>
std::shared_ptr<S> serviceFor(const std::optional<std::string>& path, const HCDelegate& onFailure)
{
    auto service = S::sharedInstance();
    if (!service) return nullptr;
    if (!path) {
        refuse(onFailure);
        return nullptr;
    }
    return service;
}

// Page `page` of the list at `pattern` naming `id`, asked of S silently.
// Page stays the caller's integer type: the writer spells int and unsigned
// apart.
template <class S, class Page>
HCRequestHandlePtr getPage(std::string_view pattern, const std::optional<std::string>& id, Page page,
                           const HCDelegate& onSuccess, const HCDelegate& onFailure,
                           bool requiringAuthentication = true)
{
    auto path = format(pattern, {id});
    auto service = serviceFor<S>(path, onFailure);
    if (!service) return nullptr;
    HCHttpNestedQueryStringWriter parameters;
    parameters.io("page", page);
    return service->getAction(*path, &parameters, onSuccess, onFailure, HCActionRequest::kSilent, nullptr,
                              requiringAuthentication);
}

}  // namespace HCServicePath
