#pragma once
// Turns an image download into one of two callbacks: a reply with status
// 200 to 299 invokes `success` with the reply bytes; any other status, or no
// reply, invokes `failure` with nil. Whether the bytes are an image is the
// receiver's question.
//
// Thread: told on the thread that started the download; the callbacks are
// delivered by their HCDelegates.
#include "kernel/callbacks/HCDelegate.h"
#include "kernel/http/HCHttpServiceObserver.h"

class HCImageViewHttpServiceObserver final : public HCHttpServiceObserver {
public:
    HCImageViewHttpServiceObserver(HCDelegate success, HCDelegate failure);

    void onFinishedDownloading(const std::shared_ptr<HCHttpRequest>& request) override;
    void onFailedDownloading(const std::shared_ptr<HCHttpRequest>& request) override;

private:
    HCDelegate success_;
    HCDelegate failure_;
};

using HCImageViewHttpServiceObserverPtr = std::shared_ptr<HCImageViewHttpServiceObserver>;
