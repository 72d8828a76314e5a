#pragma once
// zlib's own stream of some bytes: the reference the stored blob forms are
// checked against, byte for byte.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <vector>

namespace blobtest {

inline std::vector<uint8_t> zlibReference(const std::vector<uint8_t>& input)
{
    uLongf length = compressBound(input.size());
    std::vector<uint8_t> out(length);
    EXPECT_EQ(compress2(out.data(), &length, input.data(), input.size(), Z_DEFAULT_COMPRESSION), Z_OK);
    out.resize(length);
    return out;
}

}  // namespace blobtest
