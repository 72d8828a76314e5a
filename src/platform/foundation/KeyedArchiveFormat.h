#pragma once
// The byte layout shared by KeyedArchiver and KeyedUnarchiver (version 1).
//
//   archive := "HCKA" version:u8 value            (nothing may follow)
//   value   := 'n'                                 nil
//            | 'T' | 'F'                           boolean number
//            | 'i' i64                             integer number
//            | 'r' f64                             real number
//            | 's' text                            string
//            | 'b' u32 bytes                       data
//            | 't' f64                             date, seconds since 1970
//            | 'a' u32 value*                      array of u32 values
//            | 'd' u32 (text value)*               dictionary, in insertion order
//            | 'o' text u32 (text value)*          coded object: class name, keys
//   text    := u32 length, UTF-8 bytes
//
// Integers are big-endian; i64 is two's complement; f64 carries the IEEE 754
// bits of a double as a big-endian u64. A change of layout takes a new version.
//
// Thread: constants only.
#include <cstddef>
#include <cstdint>

namespace platform::keyedarchive {

inline constexpr char kMagic[4] = {'H', 'C', 'K', 'A'};
inline constexpr uint8_t kVersion = 1;
// Deeper nesting is refused on both sides, so hostile data cannot exhaust the stack.
inline constexpr int kMaxDepth = 256;

enum Tag : uint8_t {
    kNil = 'n',
    kTrue = 'T',
    kFalse = 'F',
    kInteger = 'i',
    kReal = 'r',
    kString = 's',
    kData = 'b',
    kDate = 't',
    kArray = 'a',
    kDictionary = 'd',
    kObject = 'o',
};

}  // namespace platform::keyedarchive
