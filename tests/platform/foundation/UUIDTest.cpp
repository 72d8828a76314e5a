#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/foundation/UUID.h"

namespace {
// "8-4-4-4-12" upper-case hexadecimal, version 4, RFC 4122 variant.
bool isVersionFourText(const std::string& id)
{
    if (id.size() != 36) return false;
    for (size_t i = 0; i < id.size(); ++i) {
        char c = id[i];
        bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash != (c == '-')) return false;
        if (!dash && !((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'))) return false;
    }
    return id[14] == '4' && std::string("89AB").find(id[19]) != std::string::npos;
}
}  // namespace

TEST(UUID, RandomVersionFourInUpperCase)
{
    std::set<std::string> seen;
    for (int i = 0; i < 64; ++i) {
        std::string id = platform::createUUIDString();
        EXPECT_TRUE(isVersionFourText(id)) << id;
        seen.insert(id);
    }
    EXPECT_EQ(seen.size(), 64u);
}
