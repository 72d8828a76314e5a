#pragma once
// Element text that any XML reader reads back as it was written: & < > " '
// become entities, a carriage return becomes "&#13;" (a raw one would read
// back as a line feed), and bytes that are not well-formed UTF-8 or code
// points that XML cannot carry become U+FFFD. Without the replacement, a
// reader stops at such bytes and everything after them is lost.
//
// Thread: pure function; any thread.
#include <string>
#include <string_view>

namespace platform {

std::string escapeXmlText(std::string_view text);

}  // namespace platform
