#pragma once
// The file operations the library needs, with failures as answers rather than
// exceptions.
//
// writeFileAtomically never leaves a half-written file behind: it writes a
// temporary file in the same folder, flushes it to disk and renames it over
// the target, so a reader sees the old content or the new, nothing between.
//
// Thread: any thread; two writers of the same path race only over which
// complete content wins.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

class FileFacts {
public:
    static bool exists(const std::string& path);
    static bool isDirectory(const std::string& path);
    // Seconds since 1970; nullopt when the file does not exist.
    static std::optional<double> modificationTime(const std::string& path);
    static std::optional<uint64_t> size(const std::string& path);
    // nullopt when the file cannot be read.
    static std::optional<std::vector<uint8_t>> readFile(const std::string& path);
    // Creates the parent folder when needed; `mode` is the new file's permission bits.
    static bool writeFileAtomically(const std::string& path, const void* bytes, size_t length, unsigned mode = 0644);
    static bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, unsigned mode = 0644);
    static bool writeFileAtomically(const std::string& path, const std::string& bytes, unsigned mode = 0644);
    // True when the file is gone afterwards (also when it never existed).
    static bool removeFile(const std::string& path);
    // True when the folder exists afterwards.
    static bool createDirectories(const std::string& path);
};

}  // namespace platform
