#pragma once
// The error object of the JSON API: what the service sends as
// {"exception": {"class": ..., "message": ...}} and what the client makes
// for its own failures (no connection, no session, a failed TLS handshake).
//
// Thread: a value once made; built and read on the main thread as a rule,
// decoded on the transport's thread.
#include <memory>
#include <string>

#include "kernel/json/HCJsonCoder.h"
#include "platform/foundation/Values.h"
#include "platform/runtime/Object.h"

class HCServerException final : public platform::Object, public HCJsonCoding {
public:
    static constexpr const char* kServerException = "ServerException";
    static constexpr const char* kSSLFailure = "SSLFailure";
    static constexpr const char* kSessionFailure = "SessionFailure";
    static constexpr const char* kStaleObjectError = "StaleObjectError";
    static constexpr const char* kSSLFailureMessage =
        "Unable to authenticate SSL certificate. Please check your date and time settings!";

    // An empty class becomes "ServerException".
    static std::shared_ptr<HCServerException> serverExceptionWithClass(const std::string& className,
                                                                       const std::string& message);
    // The exception the session reports when the secure connection failed.
    static std::shared_ptr<HCServerException> sslFailureException();

    bool isSslFailureException() const { return className_ == kSSLFailure; }
    bool isStaleObjectException() const { return className_ == kStaleObjectError; }

    const std::string& className() const { return className_; }
    void setClassName(const std::shared_ptr<platform::String>& value);
    const std::string& message() const { return message_; }
    void setMessage(const std::shared_ptr<platform::String>& value);

    static std::string classNameForJsonCoding() { return "exception"; }
    static void registerJsonValueTypesForDecoding(HCJsonValueMap& map);
    void encodeWithJsonCoder(HCJsonCoder& coder) const override;
    std::string jsonCodingName() const override { return classNameForJsonCoding(); }
    std::string description() const override;

private:
    std::string className_;
    std::string message_;
};
