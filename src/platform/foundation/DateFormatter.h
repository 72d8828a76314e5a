#pragma once
// Turns dates into text and back with a fixed pattern, in GMT with English
// month and weekday names, whatever the process locale and time zone are.
//
// Pattern letters understood (count in brackets): y year (3-4: four digits
// either way), M and L month (1-2 number, 3 "Jan"), d day (1-2), H hour
// 0-23 (1-2), h hour 1-12 (1-2), m minute (1-2), s second (1-2), a "AM"/"PM",
// E and c weekday (1-3, "Mon"), z zone (1-3, "GMT"), Z zone (1-3, "+0000");
// text in single quotes and every other character stand for themselves.
// A count of 1 reads one or two digits, a count of 2 exactly two; a count of
// 1 directly followed by digits could not be read back, nor could a zone
// name "z" directly followed by a sign ("zZ" writes "GMT+0000"), so such a
// pattern is refused like an unknown letter (a programming error, reported
// once per formatter; nil and empty answers).
//
// Parsing is strict: the whole text must match the pattern and every field
// must be in range, else dateFromString answers nil.
//
// Thread: any thread; a formatter is immutable, so the shared ones may be used
// from several threads at once.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/Date.h"

namespace platform {

class DateFormatter {
public:
    explicit DateFormatter(std::string pattern);

    // "yyyy-MM-dd'T'HH:mm:ss'Z'": the service's dates.
    static const DateFormatter& railsFormatter();
    // "ccc',' dd LLL yyyy HH:mm:ss ZZ": dates sent in HTTP parameters.
    static const DateFormatter& httpFormatter();
    // "MMM d, yyyy h:mm a": dates shown to the player in the dashboard.
    static const DateFormatter& normalFormatter();

    const std::string& dateFormat() const { return pattern_; }
    // nil when the text does not match the pattern exactly.
    std::shared_ptr<Date> dateFromString(std::string_view text) const;
    // Empty for an instant that cannot be shown (not finite or absurdly far away).
    std::string stringFromDate(const Date& date) const;

private:
    struct Field {
        char letter;  // 0 for literal text
        int count;
        std::string literal;
    };

    std::string pattern_;
    std::vector<Field> fields_;
    bool valid_ = true;
};

}  // namespace platform
