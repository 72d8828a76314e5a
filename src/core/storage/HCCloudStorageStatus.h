#pragma once
// What the failure callbacks of the cloud key-value store receive: one
// object per outcome, with the HTTP-like code the game sees.
//
//   HCCloudStorageStatus_Ok                   200
//   HCCloudStorageStatus_NotAcceptable        406  no data, a bad key, or
//                                                  bytes that do not decode
//   HCCloudStorageStatus_NotFound             404  any other failed reply
//   HCCloudStorageStatus_GatewayTimeout       504  no reply at all
//   HCCloudStorageStatus_InsufficientStorage  507  the stored form is too large
//
// Thread: immutable; any thread.
#include "platform/runtime/Object.h"

class HCCloudStorageStatus_Object : public platform::Object {
public:
    virtual int getStatusCode() const { return 0; }
    bool isAnyError() const { return getStatusCode() != 200; }
    bool isNetworkError() const { return getStatusCode() == 504; }
};

class HCCloudStorageStatus_Ok final : public HCCloudStorageStatus_Object {
public:
    int getStatusCode() const override { return 200; }
};

class HCCloudStorageStatus_NotAcceptable final : public HCCloudStorageStatus_Object {
public:
    int getStatusCode() const override { return 406; }
};

class HCCloudStorageStatus_NotFound final : public HCCloudStorageStatus_Object {
public:
    int getStatusCode() const override { return 404; }
};

class HCCloudStorageStatus_GatewayTimeout final : public HCCloudStorageStatus_Object {
public:
    int getStatusCode() const override { return 504; }
};

class HCCloudStorageStatus_InsufficientStorage final : public HCCloudStorageStatus_Object {
public:
    int getStatusCode() const override { return 507; }
};
