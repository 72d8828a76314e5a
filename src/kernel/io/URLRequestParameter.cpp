#include "kernel/io/URLRequestParameter.h"

#include <utility>

URLRequestParameter::URLRequestParameter(std::string name, std::string value)
    : name_(std::move(name)), value_(std::move(value))
{
}

URLRequestParameter::URLRequestParameter(std::string name, std::vector<uint8_t> blob, std::string dataType)
    : name_(std::move(name)), isBinary_(true), blob_(std::move(blob)), dataType_(std::move(dataType))
{
}
