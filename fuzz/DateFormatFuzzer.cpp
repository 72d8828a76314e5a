// Date formats on arbitrary patterns, texts and instants: the service's dates
// arrive as text in replies. Round trips: a date read from text is written
// and read back to the same instant (to the same text, for a pattern that
// leaves fields out); with the shared formats, an instant
// written, read and written again gives the same text.
// Fuzz links: hc_platform
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/foundation/ProgrammingError.h"

namespace {

constexpr double kYearOne = -62135596800.0;
constexpr double kYear10000 = 253402300800.0;

// `complete`: the pattern names every field down to the minute, so the text
// written for any instant reads back (a pattern of its own may leave out
// the day and still write a weekday, which reading cannot keep).
void checkRoundTrips(const platform::DateFormatter& formatter, const std::string& text, double instant, bool complete)
{
    if (const auto date = formatter.dateFromString(text)) {
        const std::string written = formatter.stringFromDate(*date);
        const auto again = formatter.dateFromString(written);
        fuzz::check(again != nullptr, "a date read and written does not read back");
        // A pattern that leaves fields out cannot keep a zone's shift across
        // them ("HH Z" reads "05 +0130" as 03:30 and writes "03 +0000"), so
        // there only the text is stable.
        if (complete)
            fuzz::check(again->isEqualToDate(*date), "date read, written and read again differs");
        else
            fuzz::check(formatter.stringFromDate(*again) == written, "date text read and written again differs");
    }
    // Four-digit years only: the formatter writes other years, which no
    // "yyyy" reads (the property-list writer checks for that).
    const bool fourDigitYear = instant >= kYearOne && instant < kYear10000;
    const std::string written = formatter.stringFromDate(platform::Date(instant));
    if (written.empty() || !complete || !fourDigitYear) return;
    const auto read = formatter.dateFromString(written);
    fuzz::check(read != nullptr, "a date the formatter wrote does not read back");
    fuzz::check(formatter.stringFromDate(*read) == written, "date written, read and written again differs");
}

}  // namespace

// Input: a byte choosing the formatter (three shared ones or a pattern of
// its own), the text to read, a line feed, the pattern, and at the end the
// eight bytes of an instant to write.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Most patterns the fuzzer makes up are refused, each with a report: a
    // run would write gigabytes of them to the log.
    platform::setProgrammingErrorHandler([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const int which = data[0] % 4;
    std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    double instant = 0;
    if (rest.size() >= sizeof instant) {
        std::memcpy(&instant, rest.data() + rest.size() - sizeof instant, sizeof instant);
        rest.remove_suffix(sizeof instant);
    }
    const size_t newline = rest.find('\n');
    const std::string text(rest.substr(0, newline));
    const std::string pattern(newline == std::string_view::npos ? std::string_view() : rest.substr(newline + 1));
    switch (which) {
    case 0: checkRoundTrips(platform::DateFormatter::railsFormatter(), text, instant, true); break;
    case 1: checkRoundTrips(platform::DateFormatter::httpFormatter(), text, instant, true); break;
    case 2: checkRoundTrips(platform::DateFormatter::normalFormatter(), text, instant, true); break;
    default: checkRoundTrips(platform::DateFormatter(pattern), text, instant, false);
    }
    return 0;
}
