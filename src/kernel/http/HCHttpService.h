#pragma once
// A plain HTTP client on a base URL (empty for absolute URLs): it starts
// requests, keeps the running ones, and reports each end first to the
// completion hook, then to the request's observer, and then forgets the
// request.
//
// The completion hook stands for the request-handle registry of a higher
// layer, which installs it at start-up; it is given the finished request.
//
// Requests follow redirects, verify TLS, time out after 60 seconds without
// traffic (on platform::Clock) and, when the service uses cookies, share the
// process's cookie store.
//
// Thread: startRequest() on a thread whose run loop is pumped (the main
// thread in this program); that thread receives the ends of the request.
// cancelAllRequests() and the hooks from any thread. Destroying the service
// cancels its running requests.
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "kernel/http/HCHttpRequest.h"
#include "kernel/http/HCHttpServiceObserver.h"
#include "platform/foundation/Values.h"
#include "platform/runtime/Object.h"

class HCHttpService final : public platform::Object {
public:
    using CompleteRequestHook = std::function<void(const platform::ObjectPtr& request)>;
    static constexpr double kTimeOutSeconds = 60;

    HCHttpService(std::string baseUrl, bool useCookies);
    ~HCHttpService() override;

    std::shared_ptr<HCHttpRequest> startRequest(const std::string& path, const std::string& method,
                                                const std::shared_ptr<platform::Data>& body,
                                                const std::shared_ptr<HCHttpServiceObserver>& observer);
    // An empty email sends no credentials; a non-empty boundary makes the
    // content type "multipart/form-data;boundary=" followed by the boundary.
    std::shared_ptr<HCHttpRequest> startRequest(const std::string& path, const std::string& method,
                                                const std::shared_ptr<platform::Data>& body, const std::string& email,
                                                const std::string& password, const platform::ObjectPtr& userData,
                                                const std::string& multiPartBoundary,
                                                const std::shared_ptr<HCHttpServiceObserver>& observer);
    void cancelAllRequests();

    // The wrapper's own entry points for a request's end.
    void onFinishedDownloading(const std::shared_ptr<HCHttpRequest>& request);
    void onFailedDownloading(const std::shared_ptr<HCHttpRequest>& request);

    // The requests started and not yet ended or cancelled, in start order.
    std::vector<std::shared_ptr<HCHttpRequest>> requests() const;
    const std::string& baseUrl() const { return baseUrl_; }
    bool usesCookies() const { return useCookies_; }

    // nullptr uninstalls.
    static void setCompleteRequestHook(CompleteRequestHook hook);

    // The request's URL: the base and the path with exactly one "/" between
    // them when the base ends or the path begins with one; the path alone
    // when the base is empty.
    static std::string urlForPath(const std::string& baseUrl, const std::string& path);

private:
    friend class HCHttpRequest;
    void forget(const HCHttpRequest* request);
    void ended(const std::shared_ptr<HCHttpRequest>& request, bool finished);

    const std::string baseUrl_;
    const bool useCookies_;
    mutable std::mutex mutex_;
    std::vector<std::shared_ptr<HCHttpRequest>> requests_;
};

using HCHttpServicePtr = std::shared_ptr<HCHttpService>;
