#include "core/services/HCService.h"

#include <mutex>
#include <string_view>

#include "core/banners/HCNotification.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResource.h"
#include "kernel/io/HCHttpNestedQueryStringWriter.h"
#include "kernel/xml/HCXmlDocument.h"
#include "transport/oauth/OAuthAPIRequestLoader.h"
#include "transport/provider/HCProvider.h"
#include "platform/runtime/ThreadChecker.h"

namespace {

std::mutex& providerMutex()
{
    static std::mutex mutex;
    return mutex;
}

std::shared_ptr<HCProvider>& installedProvider()
{
    static std::shared_ptr<HCProvider> provider;
    return provider;
}

// Whether the body's first character past blanks is "<". A UTF-8 byte-order
// mark counts as a blank: the parser reads past it, so a cut document
// behind one is still a document that began.
bool beginsAsMarkup(std::string_view body)
{
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    for (std::size_t at = 0;; at += kByteOrderMark.size()) {
        at = body.find_first_not_of(" \t\r\n", at);
        if (at == std::string_view::npos) {
            return false;
        }
        if (!body.substr(at).starts_with(kByteOrderMark)) {
            return body[at] == '<';
        }
    }
}

}  // namespace

std::shared_ptr<HCProvider> HCService::provider()
{
    std::lock_guard lock(providerMutex());
    return installedProvider();
}

void HCService::setProvider(std::shared_ptr<HCProvider> provider)
{
    HC_CHECK_MAIN_THREAD();
    std::lock_guard lock(providerMutex());
    installedProvider() = std::move(provider);
}

const HCPointer<HCResourceNameMap>& HCService::getKnownResources()
{
    std::call_once(knownResourcesOnce_, [this] {
        auto map = std::make_shared<HCResourceNameMap>();
        populateKnownResources(*map);
        knownResources_ = std::move(map);
    });
    return knownResources_;
}

std::shared_ptr<HCRequestHandle> HCService::getAction(const std::string& action,
                                                      const HCHttpNestedQueryStringWriter* parameters,
                                                      const HCDelegate& success, const HCDelegate& failure,
                                                      int requestType, const platform::ObjectPtr& notice)
{
    return _performAction(action, parameters, "GET", success, failure, requestType, notice, true);
}

std::shared_ptr<HCRequestHandle> HCService::getAction(const std::string& action,
                                                      const HCHttpNestedQueryStringWriter* parameters,
                                                      const HCDelegate& success, const HCDelegate& failure,
                                                      int requestType, const platform::ObjectPtr& notice,
                                                      bool requiringAuthentication)
{
    return _performAction(action, parameters, "GET", success, failure, requestType, notice, requiringAuthentication);
}

std::shared_ptr<HCRequestHandle> HCService::postAction(const std::string& action,
                                                       const HCHttpNestedQueryStringWriter* parameters,
                                                       const HCDelegate& success, const HCDelegate& failure,
                                                       int requestType, const platform::ObjectPtr& notice)
{
    return _performAction(action, parameters, "POST", success, failure, requestType, notice, true);
}

std::shared_ptr<HCRequestHandle> HCService::putAction(const std::string& action,
                                                      const HCHttpNestedQueryStringWriter* parameters,
                                                      const HCDelegate& success, const HCDelegate& failure,
                                                      int requestType, const platform::ObjectPtr& notice)
{
    if (parameters == nullptr) {
        const HCHttpNestedQueryStringWriter empty;
        return _performAction(action, &empty, "PUT", success, failure, requestType, notice, true);
    }
    return _performAction(action, parameters, "PUT", success, failure, requestType, notice, true);
}

std::shared_ptr<HCRequestHandle> HCService::deleteAction(const std::string& action,
                                                         const HCHttpNestedQueryStringWriter* parameters,
                                                         const HCDelegate& success, const HCDelegate& failure,
                                                         int requestType, const platform::ObjectPtr& notice)
{
    if (parameters == nullptr) {
        const HCHttpNestedQueryStringWriter empty;
        return _performAction(action, &empty, "DELETE", success, failure, requestType, notice, true);
    }
    return _performAction(action, parameters, "DELETE", success, failure, requestType, notice, true);
}

std::shared_ptr<HCRequestHandle> HCService::_performAction(const std::string& action,
                                                           const HCHttpNestedQueryStringWriter* parameters,
                                                           const std::string& httpMethod, const HCDelegate& success,
                                                           const HCDelegate& failure, int requestType,
                                                           const platform::ObjectPtr& notice)
{
    return _performAction(action, parameters, httpMethod, success, failure, requestType, notice, true);
}

std::shared_ptr<HCRequestHandle> HCService::_performAction(const std::string& action,
                                                           const HCHttpNestedQueryStringWriter* parameters,
                                                           const std::string& httpMethod, const HCDelegate& success,
                                                           const HCDelegate& failure, int requestType,
                                                           const platform::ObjectPtr& notice,
                                                           bool requiringAuthentication)
{
    auto provider = HCService::provider();
    if (!provider) {
        return nullptr;
    }
    // Paths are relative to the service root, which ends in "/": one
    // leading "/" would double it.
    const std::string path = !action.empty() && action.front() == '/' ? action.substr(1) : action;
    std::optional<std::vector<URLRequestParameter>> list;
    if (parameters != nullptr) {
        list = parameters->getQueryParametersAsURLRequestParameters();
    }
    auto self = platform::self(this);
    auto onSuccess = HCDelegate::withFunction(
        [self, next = HCDelegateChained::make(success), refused = HCDelegateChained::make(failure)](
            const platform::ObjectPtr& loader) {
            self->_onActionSucceeded(platform::as<OAuthAPIRequestLoader>(loader), next, refused);
        },
        self, provider->requestThread());
    HCDelegate onFailure(self, &HCService::_onActionFailed, failure, provider->requestThread());
    return provider->performAction(path, list, httpMethod, onSuccess, onFailure, requestType, notice,
                                   requiringAuthentication, maxReplyBytes());
}

void HCService::_onActionSucceeded(std::shared_ptr<OAuthAPIRequestLoader> loader,
                                   std::shared_ptr<HCDelegateChained> nextCall,
                                   std::shared_ptr<HCDelegateChained> failureCall)
{
    const auto body = loader ? std::string_view(reinterpret_cast<const char*>(loader->data()->bytes().data()),
                                                loader->data()->bytes().size())
                             : std::string_view();
    HCPointer<HCXmlDocument> document = HCXmlDocument::xmlDocumentWithData(body);
    // A reply that began as XML and stops before its end (damaged, cut off,
    // or past the parser's limits) is not a shorter list: read for its
    // leading part it would confirm a part of a batch or show a part of a
    // list as the whole. It fails like a failed request. A body that holds
    // no markup at all (nothing, or a bare "OK") is an empty reply of a
    // request the service took, not a broken one.
    if (!document->isWhole() && beginsAsMarkup(body)) {
        if (failureCall) {
            failureCall->invokeWith(loader);
        }
        return;
    }
    auto series = HCResource::resourcesFromXml(*document, getKnownResources().get());
    if (loader) {
        auto oauthResponse = loader->oauthResponse();
        if (const auto& response = oauthResponse->urlResponse()) {
            series->setHttpResponseStatusCode(response->statusCode());
        }
    }
    HCNotification::sharedInstance()->showDefaultNotice();
    if (nextCall) {
        nextCall->invokeWith(series);
    }
}

void HCService::_onActionFailed(platform::ObjectPtr failure, std::shared_ptr<HCDelegateChained> nextCall)
{
    if (nextCall) {
        nextCall->invokeWith(failure);
    }
}
