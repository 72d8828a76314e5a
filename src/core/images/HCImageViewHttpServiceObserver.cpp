#include "core/images/HCImageViewHttpServiceObserver.h"

#include "kernel/http/HCHttpRequest.h"

HCImageViewHttpServiceObserver::HCImageViewHttpServiceObserver(HCDelegate success, HCDelegate failure)
    : success_(std::move(success)), failure_(std::move(failure))
{
}

void HCImageViewHttpServiceObserver::onFinishedDownloading(const std::shared_ptr<HCHttpRequest>& request)
{
    // The owner of this observer may let go of it from a callback; stay
    // alive until this call is over.
    auto keepAlive = shared_from_this();
    const int status = request ? request->statusCode() : 0;
    if (status >= 200 && status <= 299)
        success_.invoke(request->responseData());
    else
        failure_.invoke();
}

void HCImageViewHttpServiceObserver::onFailedDownloading(const std::shared_ptr<HCHttpRequest>&)
{
    auto keepAlive = shared_from_this();
    failure_.invoke();
}
