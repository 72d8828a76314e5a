#include "platform/foundation/DateFormatter.h"

#include <cmath>
#include <ctime>

#include "platform/foundation/ProgrammingError.h"

namespace platform {
namespace {

const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool supported(char letter, int count)
{
    switch (letter) {
    case 'y': return count == 3 || count == 4;
    case 'M':
    case 'L': return count >= 1 && count <= 3;
    case 'd':
    case 'H':
    case 'h':
    case 'm':
    case 's': return count == 1 || count == 2;
    case 'a': return count == 1;
    case 'E':
    case 'z':
    case 'Z': return count >= 1 && count <= 3;
    case 'c': return count == 3;
    default: return false;
    }
}

// A field whose written width varies (one or two digits).
bool variableWidthNumber(char letter, int count)
{
    return count == 1 && (letter == 'M' || letter == 'L' || letter == 'd' || letter == 'H' || letter == 'h' ||
                          letter == 'm' || letter == 's');
}

// A field or literal whose text begins with a digit.
bool startsWithDigit(char letter, int count, const std::string& literal)
{
    if (letter == 0) return !literal.empty() && isDigit(literal[0]);
    return letter == 'y' || ((letter == 'M' || letter == 'L') && count < 3) || letter == 'd' || letter == 'H' ||
           letter == 'h' || letter == 'm' || letter == 's';
}

// A field or literal whose text may begin with a sign: an offset zone
// writes "+0000".
bool startsWithSign(char letter, const std::string& literal)
{
    if (letter == 0) return !literal.empty() && (literal[0] == '+' || literal[0] == '-');
    return letter == 'Z';
}

std::string padded(long long value, int width)
{
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<size_t>(width) - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

int daysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

// Reads a cursor through the text being parsed; every read fails cleanly at the end.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}
    bool atEnd() const { return pos_ >= text_.size(); }

    // Between `minDigits` and `maxDigits` decimal digits.
    bool number(int minDigits, int maxDigits, int& out)
    {
        int value = 0;
        int n = 0;
        while (n < maxDigits && pos_ < text_.size() && isDigit(text_[pos_])) {
            value = value * 10 + (text_[pos_++] - '0');
            ++n;
        }
        out = value;
        return n >= minDigits;
    }

    bool literal(std::string_view expected)
    {
        if (text_.substr(pos_, expected.size()) != expected) return false;
        pos_ += expected.size();
        return true;
    }

    // Case-insensitive match of one of the names; answers its index or -1.
    int oneOf(const char* const* names, int count)
    {
        for (int i = 0; i < count; ++i) {
            std::string_view name(names[i]);
            if (text_.size() - pos_ < name.size()) continue;
            bool same = true;
            for (size_t k = 0; k < name.size() && same; ++k) same = lower(text_[pos_ + k]) == lower(name[k]);
            if (same) {
                pos_ += name.size();
                return i;
            }
        }
        return -1;
    }

    // "Z", "GMT" or "UTC" with an optional offset, or a bare offset
    // ("+0100", "-05:30"). Answers seconds east of GMT.
    bool zone(int& offsetSeconds)
    {
        offsetSeconds = 0;
        static const char* const names[] = {"GMT", "UTC"};
        if (oneOf(names, 2) >= 0) {
            if (atEnd() || (text_[pos_] != '+' && text_[pos_] != '-')) return true;
            return offset(offsetSeconds, true);
        }
        if (literal("Z")) return true;
        return offset(offsetSeconds, false);
    }

private:
    bool offset(int& offsetSeconds, bool hoursAlone)
    {
        if (atEnd() || (text_[pos_] != '+' && text_[pos_] != '-')) return false;
        int sign = text_[pos_++] == '-' ? -1 : 1;
        size_t start = pos_;
        int hours = 0, minutes = 0;
        if (!number(1, 2, hours)) return false;
        bool twoDigitHours = pos_ - start == 2;
        if (literal(":")) {
            if (!number(2, 2, minutes)) return false;
        } else if (twoDigitHours && !atEnd() && isDigit(text_[pos_])) {
            if (!number(2, 2, minutes)) return false;
        } else if (!hoursAlone) {
            return false;
        }
        if (hours > 23 || minutes > 59) return false;
        offsetSeconds = sign * (hours * 3600 + minutes * 60);
        return true;
    }

    std::string_view text_;
    size_t pos_ = 0;
};

}  // namespace

DateFormatter::DateFormatter(std::string pattern) : pattern_(std::move(pattern))
{
    const std::string& p = pattern_;
    size_t i = 0;
    while (i < p.size()) {
        char c = p[i];
        if (isLetter(c)) {
            size_t start = i;
            while (i < p.size() && p[i] == c) ++i;
            int count = static_cast<int>(i - start);
            if (!supported(c, count) && valid_) {
                valid_ = false;
                reportProgrammingError("DateFormatter: unsupported field '" + p.substr(start, i - start) +
                                       "' in pattern \"" + p + "\"");
            }
            fields_.push_back({c, count, {}});
        } else if (c == '\'') {
            std::string text;
            ++i;
            while (i < p.size()) {
                if (p[i] == '\'') {
                    if (i + 1 < p.size() && p[i + 1] == '\'') {
                        text += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += p[i++];
            }
            if (text.empty() && i >= 2 && p[i - 2] == '\'') text = "'";  // '' outside quotes is one quote
            fields_.push_back({0, 0, text});
        } else {
            fields_.push_back({0, 0, std::string(1, c)});
            ++i;
        }
    }
    // "m0" writes minute 3 as "30", which reads back as minute 30: a field of
    // one or two digits needs a non-digit after it to be read back.
    // "zZ" writes "GMT+0000", and the zone name reads the offset after it
    // as its own, leaving nothing for the next field: a zone name needs
    // something other than a sign after it.
    for (size_t k = 0; valid_ && k + 1 < fields_.size(); ++k) {
        const Field& next = fields_[k + 1];
        if (variableWidthNumber(fields_[k].letter, fields_[k].count) &&
            startsWithDigit(next.letter, next.count, next.literal)) {
            valid_ = false;
            reportProgrammingError("DateFormatter: a one-or-two-digit field followed by digits cannot be read back, "
                                   "in pattern \"" + p + "\"");
        } else if (fields_[k].letter == 'z' && startsWithSign(next.letter, next.literal)) {
            valid_ = false;
            reportProgrammingError("DateFormatter: a zone name followed by a sign cannot be read back, in pattern \"" +
                                   p + "\"");
        }
    }
}

const DateFormatter& DateFormatter::railsFormatter()
{
    static const DateFormatter f("yyyy-MM-dd'T'HH:mm:ss'Z'");
    return f;
}

const DateFormatter& DateFormatter::httpFormatter()
{
    static const DateFormatter f("ccc',' dd LLL yyyy HH:mm:ss ZZ");
    return f;
}

const DateFormatter& DateFormatter::normalFormatter()
{
    static const DateFormatter f("MMM d, yyyy h:mm a");
    return f;
}

std::string DateFormatter::stringFromDate(const Date& date) const
{
    double seconds = date.timeIntervalSince1970();
    // Beyond this gmtime's year no longer fits in an int.
    if (!valid_ || !std::isfinite(seconds) || std::fabs(seconds) > 1e15) return {};
    time_t t = static_cast<time_t>(std::floor(seconds));
    struct tm tm {};
    if (!gmtime_r(&t, &tm)) return {};

    std::string out;
    for (const Field& f : fields_) {
        switch (f.letter) {
        case 0: out += f.literal; break;
        // Four digits whatever the count, since reading asks for four.
        case 'y': out += padded(tm.tm_year + 1900LL, 4); break;
        case 'M':
        case 'L': out += f.count == 3 ? kMonths[tm.tm_mon] : padded(tm.tm_mon + 1, f.count); break;
        case 'd': out += padded(tm.tm_mday, f.count); break;
        case 'H': out += padded(tm.tm_hour, f.count); break;
        case 'h': out += padded(tm.tm_hour % 12 == 0 ? 12 : tm.tm_hour % 12, f.count); break;
        case 'm': out += padded(tm.tm_min, f.count); break;
        case 's': out += padded(tm.tm_sec, f.count); break;
        case 'a': out += tm.tm_hour < 12 ? "AM" : "PM"; break;
        case 'E':
        case 'c': out += kWeekdays[tm.tm_wday]; break;
        case 'z': out += "GMT"; break;
        case 'Z': out += "+0000"; break;
        }
    }
    return out;
}

std::shared_ptr<Date> DateFormatter::dateFromString(std::string_view text) const
{
    if (!valid_) return nullptr;
    Reader r(text);
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0, zoneOffset = 0;
    int hour12 = -1, pm = -1;
    for (const Field& f : fields_) {
        bool ok = true;
        switch (f.letter) {
        case 0: ok = r.literal(f.literal); break;
        case 'y': ok = r.number(4, 4, year); break;
        case 'M':
        case 'L':
            if (f.count == 3) {
                int index = r.oneOf(kMonths, 12);
                ok = index >= 0;
                month = index + 1;
            } else {
                ok = r.number(f.count, 2, month);
            }
            break;
        case 'd': ok = r.number(f.count, 2, day); break;
        case 'H': ok = r.number(f.count, 2, hour); break;
        case 'h': ok = r.number(f.count, 2, hour12); break;
        case 'm': ok = r.number(f.count, 2, minute); break;
        case 's': ok = r.number(f.count, 2, second); break;
        case 'a': {
            static const char* const marks[] = {"AM", "PM"};
            pm = r.oneOf(marks, 2);
            ok = pm >= 0;
            break;
        }
        case 'E':
        case 'c': ok = r.oneOf(kWeekdays, 7) >= 0; break;
        case 'z':
        case 'Z': ok = r.zone(zoneOffset); break;
        }
        if (!ok) return nullptr;
    }
    if (!r.atEnd()) return nullptr;
    if (hour12 >= 0) {
        if (hour12 < 1 || hour12 > 12) return nullptr;
        hour = hour12 % 12 + (pm == 1 ? 12 : 0);
    }
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 || minute > 59 ||
        second > 59)
        return nullptr;

    struct tm tm {};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    time_t t = timegm(&tm);
    return std::make_shared<Date>(static_cast<double>(t) - zoneOffset);
}

}  // namespace platform
