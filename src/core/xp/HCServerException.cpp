#include "core/xp/HCServerException.h"

#include "platform/foundation/Format.h"

namespace {

const HCJsonCodingRegistration<HCServerException> sServerExceptionCoding("HCServerException");

}  // namespace

std::shared_ptr<HCServerException> HCServerException::serverExceptionWithClass(const std::string& className,
                                                                               const std::string& message)
{
    auto exception = std::make_shared<HCServerException>();
    exception->className_ = className.empty() ? kServerException : className;
    exception->message_ = message;
    return exception;
}

std::shared_ptr<HCServerException> HCServerException::sslFailureException()
{
    return serverExceptionWithClass(kSSLFailure, kSSLFailureMessage);
}

void HCServerException::setClassName(const std::shared_ptr<platform::String>& value)
{
    className_ = value ? value->value() : std::string();
}

void HCServerException::setMessage(const std::shared_ptr<platform::String>& value)
{
    message_ = value ? value->value() : std::string();
}

void HCServerException::registerJsonValueTypesForDecoding(HCJsonValueMap& map)
{
    map["class"] = HCJsonObjectValue::valueWithSelector(&HCServerException::setClassName);
    map["message"] = HCJsonObjectValue::valueWithSelector(&HCServerException::setMessage);
}

void HCServerException::encodeWithJsonCoder(HCJsonCoder& coder) const
{
    coder.encodeObject(platform::String::make(className_), "class");
    coder.encodeObject(platform::String::make(message_), "message");
}

std::string HCServerException::description() const
{
    return platform::format("<HCServerException: %p, class: %@, message: %@>", static_cast<const void*>(this),
                            className_, message_);
}
