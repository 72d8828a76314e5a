#pragma once
// Collects a request's parameters with nested, bracketed names.
//
// The name of a value is built from the open scopes: the first scope's name,
// then for each further scope "[]" when it sits inside a series or "[name]"
// otherwise, then "[]" when the current scope is a series or "[key]" otherwise
// (just the key outside any scope). So a field "score" of each element of the
// series "high_scores" is written as high_scores[][score]. Element counts are
// not written. Names are used as given: "discussion[subject]" passes through.
//
// Values: int "%d", unsigned as unsigned decimal, long long "%lld", bool "1" or
// "0", double "%f", strings unchanged. Numbers never depend on the process
// locale: a decimal point is always ".".
//
// Thread: the thread that fills it; read the parameters on any thread after
// the writer is complete.
#include <cstdint>
#include <string>
#include <vector>

#include "kernel/io/HCISerializer.h"
#include "kernel/io/URLRequestParameter.h"

class HCHttpNestedQueryStringWriter final : public HCISerializer {
public:
    HCHttpNestedQueryStringWriter() = default;

    using HCISerializer::io;
    void io(const char* name, const std::string& value) override;
    void io(const char* name, long long value) override;
    void io(const char* name, bool value) override;
    void io(const char* name, unsigned value) override;
    void io(const char* name, int value) override;
    void io(const char* name, double value) override;
    // A binary parameter (sent as a file part of a multipart form);
    // `dataType` is the file extension of that part.
    void ioBlob(const char* name, std::vector<uint8_t> blob, const std::string& dataType);

    // The parameters in the order they were written.
    std::vector<URLRequestParameter> getQueryParametersAsURLRequestParameters() const { return parameters_; }

protected:
    void serializeNumElementsInScopeSeries(unsigned /*count*/) override {}

private:
    std::string keyFor(const char* name) const;

    std::vector<URLRequestParameter> parameters_;
};
