#include "platform/net/PercentEncoding.h"

#include <array>

namespace platform {
namespace {

constexpr std::array<bool, 256> unreservedTable()
{
    std::array<bool, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                   c == '.' || c == '_' || c == '~';
    return table;
}

constexpr std::array<bool, 256> kUnreserved = unreservedTable();

}  // namespace

void appendPercentEncoded(std::string& out, std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    // Sized for the worst case and written through a pointer: a per-byte
    // append with its capacity check costs more than the encoding itself.
    const size_t start = out.size();
    out.resize(start + text.size() * 3);
    char* write = out.data() + start;
    for (unsigned char c : text) {
        if (kUnreserved[c]) {
            *write++ = static_cast<char>(c);
        } else {
            write[0] = '%';
            write[1] = kHex[c >> 4];
            write[2] = kHex[c & 0x0F];
            write += 3;
        }
    }
    out.resize(static_cast<size_t>(write - out.data()));
}

std::string percentEncode(std::string_view text)
{
    std::string out;
    appendPercentEncoded(out, text);
    return out;
}

}  // namespace platform
