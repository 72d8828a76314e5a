#pragma once
// An HCHttpService observer that turns a blob download into one of two
// callbacks. A reply with status 200 to 299 invokes `success`, anything else
// (another status or no reply) invokes `failure`.
//
// Plain mode (s3Response false): success receives the body after the
// uncompress hook (the cloud-storage blob format; identity until that layer
// installs it), failure receives nil. A body that the hook cannot decode
// (it answers nil) goes to failure.
// S3 mode (s3Response true): both receive the object that the S3 response
// hook builds from (data, the request's user data, status): the body and the
// status on success; nil data and the status, or 0 without a reply, on
// failure. Until the cloud-storage layer installs that hook there is no such
// object and the callbacks receive nil.
//
// Thread: told on the thread that started the request; the callbacks are
// delivered by their HCDelegates. The hooks may be set from any thread.
#include <functional>
#include <memory>

#include "kernel/callbacks/HCDelegate.h"
#include "kernel/http/HCHttpServiceObserver.h"
#include "platform/foundation/Values.h"

class HCBlobDownloadObserver final : public HCHttpServiceObserver {
public:
    using UncompressHook = std::function<std::shared_ptr<platform::Data>(const std::shared_ptr<platform::Data>& serialized)>;
    using S3ResponseHook = std::function<platform::ObjectPtr(const std::shared_ptr<platform::Data>& data,
                                                             const platform::ObjectPtr& userData, int statusCode)>;

    HCBlobDownloadObserver(HCDelegate success, HCDelegate failure, bool s3Response);

    void onFinishedDownloading(const std::shared_ptr<HCHttpRequest>& request) override;
    void onFailedDownloading(const std::shared_ptr<HCHttpRequest>& request) override;

    // nullptr restores the default (identity; no S3 response object).
    static void setUncompressHook(UncompressHook hook);
    static void setS3ResponseHook(S3ResponseHook hook);

private:
    void fail(const std::shared_ptr<HCHttpRequest>& request, int statusCode);

    HCDelegate success_;
    HCDelegate failure_;
    bool s3Response_;
};
