#pragma once
// What an HCHttpService tells about one of its requests when it ends: a
// reply of any HTTP status arrived, or no reply came.
//
// Thread: called on the thread that started the request.
#include <memory>

#include "platform/runtime/Object.h"

class HCHttpRequest;

class HCHttpServiceObserver : public platform::Object {
public:
    virtual void onFinishedDownloading(const std::shared_ptr<HCHttpRequest>& request) = 0;
    virtual void onFailedDownloading(const std::shared_ptr<HCHttpRequest>& request) = 0;
};
