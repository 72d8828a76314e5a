// The property-list reader on arbitrary bytes: user defaults and bundle
// files go through it. Round trip: what it reads is written, read again and
// must come out the same.
// Fuzz links: hc_platform
#include "FuzzValues.h"
#include "platform/foundation/PropertyListReader.h"
#include "platform/foundation/PropertyListWriter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto value = platform::PropertyListReader::parse(data, size);
    if (!value) return 0;
    const auto written = platform::PropertyListWriter::write(value);
    fuzz::check(written.has_value(), "a property list that was read cannot be written");
    const auto again = platform::PropertyListReader::parse(*written);
    fuzz::check(fuzz::sameValue(value, again), "property list read, written and read again differs");
    return 0;
}
