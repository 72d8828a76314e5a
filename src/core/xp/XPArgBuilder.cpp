#include "core/xp/XPArgBuilder.h"

#include "platform/net/PercentEncoding.h"
#include "transport/http/NetFormDataRequest.h"

void ArgBuilder::addArguments(const std::shared_ptr<platform::Dictionary>& args)
{
    if (args) addDictionary(*args, std::string());
}

void ArgBuilder::addValue(const platform::ObjectPtr& value, const std::string& name)
{
    if (auto dictionary = platform::as<platform::Dictionary>(value)) {
        addDictionary(*dictionary, name);
    } else if (auto list = platform::as<platform::Array>(value)) {
        addList(*list, name);
    } else {
        addArgument(value, name);
    }
}

void ArgBuilder::addDictionary(const platform::Dictionary& dictionary, const std::string& prefix)
{
    for (const auto& [key, value] : dictionary.entries()) {
        addValue(value, prefix.empty() ? key : prefix + "[" + key + "]");
    }
}

void ArgBuilder::addList(const platform::Array& list, const std::string& prefix)
{
    const std::string name = prefix + "[]";
    for (const auto& item : list.items()) addValue(item, name);
}

void QueryBuilder::addArgument(const platform::ObjectPtr& value, const std::string& key)
{
    if (!accum_.empty()) accum_ += '&';
    accum_ += platform::percentEncode(key) + "=" + platform::percentEncode(platform::textOf(value).value_or(""));
}

std::string QueryBuilder::queryFor(const std::shared_ptr<platform::Dictionary>& args)
{
    QueryBuilder builder;
    builder.addArguments(args);
    return builder.accum();
}

std::unique_ptr<FormBuilder> FormBuilder::builderForRequest(const std::shared_ptr<NetFormDataRequest>& request)
{
    return std::unique_ptr<FormBuilder>(new FormBuilder(request));
}

void FormBuilder::addArgument(const platform::ObjectPtr& value, const std::string& key)
{
    request_->addPostValue(value, key);
}
