#pragma once
// How a JSON request's nested arguments become flat fields, for the query
// text and for the form body alike: a dictionary under "device" holding
// "os" gives the field device[os]; a list under "a" gives a[] for each plain
// element, a[][b] for a dictionary element's key b, a[][] for a nested list.
// Keys follow the dictionary's own (insertion) order.
//
// Thread: the thread that builds the request (the main thread).
#include <memory>
#include <string>

#include "platform/foundation/Values.h"

class NetFormDataRequest;

class ArgBuilder {
public:
    virtual ~ArgBuilder() = default;
    virtual void addArgument(const platform::ObjectPtr& value, const std::string& key) = 0;

    // Every field of `args` (nil adds nothing), flattened as described above.
    void addArguments(const std::shared_ptr<platform::Dictionary>& args);

private:
    void addValue(const platform::ObjectPtr& value, const std::string& name);
    void addDictionary(const platform::Dictionary& dictionary, const std::string& prefix);
    void addList(const platform::Array& list, const std::string& prefix);
};

// "k1=v1&k2=v2", each key and value percent-escaped as UTF-8 with every
// reserved character of RFC 3986 escaped too.
class QueryBuilder final : public ArgBuilder {
public:
    void addArgument(const platform::ObjectPtr& value, const std::string& key) override;
    const std::string& accum() const { return accum_; }

    static std::string queryFor(const std::shared_ptr<platform::Dictionary>& args);

private:
    std::string accum_;
};

// Adds each field to a form request, which escapes them when it writes its body.
class FormBuilder final : public ArgBuilder {
public:
    static std::unique_ptr<FormBuilder> builderForRequest(const std::shared_ptr<NetFormDataRequest>& request);
    void addArgument(const platform::ObjectPtr& value, const std::string& key) override;

private:
    explicit FormBuilder(std::shared_ptr<NetFormDataRequest> request) : request_(std::move(request)) {}
    std::shared_ptr<NetFormDataRequest> request_;
};
