#pragma once
// What the game implements to hear the outcomes of HCCloudStorage. Every
// method is optional: HCCloudStorage calls one only when the delegate
// implements it.
//
// Status codes: 406 (bad key, no data, or stored bytes that do not decode),
// 507 (stored form over 262,144 bytes), 404 (any other failed reply), 504
// (no reply at all).
//
// Thread: called on the main thread.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/foundation/Values.h"
#include "platform/runtime/OptionalMethods.h"

class HCCloudStorageDelegate : public platform::OptionalMethods {
public:
    virtual ~HCCloudStorageDelegate() = default;

    virtual void didUpload() { notImplemented(); }
    virtual void didFailUpload(int32_t statusCode)
    {
        (void)statusCode;
        notImplemented();
    }
    // The blob's own bytes, decoded from their stored form.
    virtual void didDownloadData(const std::shared_ptr<platform::Data>& data)
    {
        (void)data;
        notImplemented();
    }
    virtual void didFailDownloadData(int32_t statusCode)
    {
        (void)statusCode;
        notImplemented();
    }
    // The current player's keys in the order the service listed them; never
    // empty (an empty store is reported as a failure).
    virtual void didDownloadKeysForCurrentUser(const std::vector<std::string>& keys)
    {
        (void)keys;
        notImplemented();
    }
    virtual void didFailDownloadKeysForCurrentUser() { notImplemented(); }
};
