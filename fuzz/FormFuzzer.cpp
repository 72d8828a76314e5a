// The local server's form decoding on arbitrary queries and bodies (the
// server takes requests from any client). Round trip: the pairs read, encoded
// again, read to the same pairs.
// Fuzz sources: localserver/src/FormCodec.cpp
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "localserver/FormCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)localserver::percentDecode(text, false);
    const auto pairs = localserver::parseForm(text);
    if (!pairs) return 0;
    std::string encoded;
    for (const auto& [name, value] : *pairs) {
        if (!encoded.empty()) encoded += '&';
        encoded += localserver::percentEncode(name) + "=" + localserver::percentEncode(value);
    }
    const auto again = localserver::parseForm(encoded);
    fuzz::check(again.has_value(), "an encoded form does not read back");
    fuzz::check(*again == *pairs, "form read, encoded and read again differs");
    return 0;
}
