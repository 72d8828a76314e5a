#include "platform/foundation/TextConversions.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>

namespace platform {
namespace {

bool isBlankInTextConversions(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigitInTextConversions(char c)
{
    return c >= '0' && c <= '9';
}

size_t skipBlanks(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && isBlankInTextConversions(text[i])) ++i;
    return i;
}

// The leading integer as a saturated long long.
long long leadingInteger(std::string_view text)
{
    size_t i = skipBlanks(text);
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Accumulate towards the negative side, whose range is the larger one.
    const long long minimum = std::numeric_limits<long long>::min();
    long long value = 0;
    bool saturated = false;
    for (; i < text.size() && isDigitInTextConversions(text[i]); ++i) {
        int digit = text[i] - '0';
        if (value < (minimum + digit) / 10) {
            saturated = true;
            break;
        }
        value = value * 10 - digit;
    }
    if (saturated) return negative ? minimum : std::numeric_limits<long long>::max();
    if (negative) return value;
    return value == minimum ? std::numeric_limits<long long>::max() : -value;
}

locale_t cLocaleInTextConversions()
{
    static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

}  // namespace

bool boolValue(std::string_view text)
{
    size_t i = skipBlanks(text);
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    while (i < text.size() && text[i] == '0') ++i;
    if (i >= text.size()) return false;
    char c = text[i];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

long long longLongValue(std::string_view text)
{
    return leadingInteger(text);
}

long integerValue(std::string_view text)
{
    return static_cast<long>(std::clamp<long long>(leadingInteger(text), std::numeric_limits<long>::min(),
                                                   std::numeric_limits<long>::max()));
}

int intValue(std::string_view text)
{
    return static_cast<int>(std::clamp<long long>(leadingInteger(text), std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

double doubleValue(std::string_view text)
{
    size_t start = skipBlanks(text);
    size_t i = start;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    // Only plain decimal numbers: no "inf", "nan" or hexadecimal forms.
    bool digitFollows = i < text.size() && (isDigitInTextConversions(text[i]) ||
                                            (text[i] == '.' && i + 1 < text.size() && isDigitInTextConversions(text[i + 1])));
    if (!digitFollows) return 0.0;
    size_t end = i;
    while (end < text.size() && (isDigitInTextConversions(text[end]) || text[end] == '.' || text[end] == 'e' || text[end] == 'E' ||
                                 ((text[end] == '+' || text[end] == '-') && (text[end - 1] == 'e' || text[end - 1] == 'E'))))
        ++end;
    std::string number(text.substr(start, end - start));
    return strtod_l(number.c_str(), nullptr, cLocaleInTextConversions());
}

}  // namespace platform
