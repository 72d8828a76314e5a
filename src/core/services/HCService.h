#pragma once
// The base of every service singleton: a service turns a typed call into a
// provider action and the action's reply into an HCPaginatedSeries of
// resources for the caller.
//
// A subclass follows one pattern: a file-static instance made by
// initializeService (create<S>(), once), released by shutdownService and
// answered by its own static sharedInstance(); populateKnownResources
// registers the resource classes its replies may hold
// (HCAddKnownResource<T>); typed operations end in one of the action
// builders, usually on the subclass's sharedInstance().
//
// The reply handlers run on the provider's request thread: the reply is
// parsed there into resources, then the caller's HCDelegate carries the
// series (or the provider's failure object, unchanged) to the caller's
// thread, the main thread unless it was made with another.
//
// Thread: the action builders on the caller's thread (the main thread as a
// rule); the reply handlers on the provider's request thread; the singletons
// and the provider are set and cleared on the main thread.
#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "kernel/callbacks/HCCallbackable.h"
#include "kernel/callbacks/HCDelegate.h"
#include "kernel/memory/HCSmartObject.h"
#include "kernel/resources/HCResourceNameMap.h"
#include "transport/handles/HCRequestHandle.h"

class HCHttpNestedQueryStringWriter;
class HCPoller;
class HCProvider;
class OAuthAPIRequestLoader;

class HCService : public platform::Object, public HCCallbackable {
public:
    // A new service of class S with its name map filled now, on this thread.
    template <class S>
    static std::shared_ptr<S> create()
    {
        auto service = std::make_shared<S>();
        service->getKnownResources();
        return service;
    }

    // The provider every action goes through; nil until the client's start-up
    // sets it (an action then starts nothing and answers nil).
    static std::shared_ptr<HCProvider> provider();
    static void setProvider(std::shared_ptr<HCProvider> provider);

    // Callbacks addressed to a service are never held back.
    bool canReceiveCallbacksNow() const override { return true; }

    // The name map: populateKnownResources runs once, on a fresh empty map,
    // at the first ask (create() asks at once), so a service made any other
    // way still reads its replies with its classes.
    const HCPointer<HCResourceNameMap>& getKnownResources();

    // --- Overridables -----------------------------------------------------
    // Registers the service's polled resource classes; by default none.
    virtual void registerPolledResources(const std::shared_ptr<HCPoller>& poller);
    // Subclasses answer their own instance; this one reports that a subclass
    // forgot to and answers nil.
    static std::shared_ptr<HCService> sharedInstance();
    virtual void populateKnownResources(HCResourceNameMap& map);
    // The largest reply body this service's actions take; a service whose
    // replies may be larger (blobs) raises it.
    virtual std::size_t maxReplyBytes() const;
    // The service's standard list, and one object of it. A service whose
    // class-level call has the same name is reached as sharedInstance()->...
    virtual std::shared_ptr<HCRequestHandle> getIndexOnSuccess(const HCDelegate& onSuccess,
                                                               const HCDelegate& onFailure);
    virtual std::shared_ptr<HCRequestHandle> getShowWithId(const std::optional<std::string>& resourceId,
                                                           const HCDelegate& onSuccess, const HCDelegate& onFailure);

    // --- Action builders ----------------------------------------------------
    // `action` is a path below the service root; `parameters` may be null;
    // `notice` is the banner text of banner request types (may be nil).
    // Each answers the provider's handle, nil when nothing was started.
    std::shared_ptr<HCRequestHandle> getAction(const std::string& action,
                                               const HCHttpNestedQueryStringWriter* parameters,
                                               const HCDelegate& success, const HCDelegate& failure, int requestType,
                                               const platform::ObjectPtr& notice);
    std::shared_ptr<HCRequestHandle> getAction(const std::string& action,
                                               const HCHttpNestedQueryStringWriter* parameters,
                                               const HCDelegate& success, const HCDelegate& failure, int requestType,
                                               const platform::ObjectPtr& notice, bool requiringAuthentication);
    std::shared_ptr<HCRequestHandle> postAction(const std::string& action,
                                                const HCHttpNestedQueryStringWriter* parameters,
                                                const HCDelegate& success, const HCDelegate& failure, int requestType,
                                                const platform::ObjectPtr& notice);
    // PUT and DELETE always send a parameter list: an empty one for null.
    std::shared_ptr<HCRequestHandle> putAction(const std::string& action,
                                               const HCHttpNestedQueryStringWriter* parameters,
                                               const HCDelegate& success, const HCDelegate& failure, int requestType,
                                               const platform::ObjectPtr& notice);
    std::shared_ptr<HCRequestHandle> deleteAction(const std::string& action,
                                                  const HCHttpNestedQueryStringWriter* parameters,
                                                  const HCDelegate& success, const HCDelegate& failure,
                                                  int requestType, const platform::ObjectPtr& notice);
    std::shared_ptr<HCRequestHandle> _performAction(const std::string& action,
                                                    const HCHttpNestedQueryStringWriter* parameters,
                                                    const std::string& httpMethod, const HCDelegate& success,
                                                    const HCDelegate& failure, int requestType,
                                                    const platform::ObjectPtr& notice);
    // The one that reaches the provider; all the others end here.
    virtual std::shared_ptr<HCRequestHandle> _performAction(const std::string& action,
                                                            const HCHttpNestedQueryStringWriter* parameters,
                                                            const std::string& httpMethod, const HCDelegate& success,
                                                            const HCDelegate& failure, int requestType,
                                                            const platform::ObjectPtr& notice,
                                                            bool requiringAuthentication);

    // --- Reply handlers (provider's request thread) -------------------------
    // Parses the body into a series with this service's name map, stores the
    // HTTP status, lets the banner layer show its default notice, then hands
    // the series on. A body that does not parse to its end (damaged, cut
    // off, past the parser's limits) hands the loader to the failure call
    // instead, as a failed request would; an empty body is an empty series.
    void _onActionSucceeded(std::shared_ptr<OAuthAPIRequestLoader> loader, std::shared_ptr<HCDelegateChained> nextCall,
                            std::shared_ptr<HCDelegateChained> failureCall);
    // Hands the provider's failure object on unchanged.
    void _onActionFailed(platform::ObjectPtr failure, std::shared_ptr<HCDelegateChained> nextCall);

protected:
    HCService() = default;

private:
    std::once_flag knownResourcesOnce_;
    HCPointer<HCResourceNameMap> knownResources_;
};
