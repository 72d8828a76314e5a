#pragma once
// Helpers shared by every test program.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/Clock.h"
#include "platform/runtime/Thread.h"

namespace testsupport {

// Installs a ManualClock for the lifetime of the object and restores the
// system clock afterwards.
class ScopedManualClock {
public:
    explicit ScopedManualClock(double start = platform::ManualClock::kDefaultStart);
    ~ScopedManualClock();
    platform::ManualClock& clock() { return *clock_; }
    void advance(double seconds) { clock_->advance(seconds); }
    double now() const { return clock_->now(); }

private:
    std::shared_ptr<platform::ManualClock> clock_;
};

// A fresh directory under the system's temporary folder, removed on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

// Pumps the main run loop until `done` answers true; false after the wall-time
// bound (only a guard against hangs while real I/O completes).
bool runMainUntil(const std::function<bool()>& done, double wallTimeoutSeconds = 10.0);
// Runs turns of the main run loop until one finds nothing due (bounded, so
// work that keeps re-posting itself cannot hang a test).
int drainMain();

// Runs `work` on a thread of its own while the main thread waits, and
// answers the programming errors reported meanwhile (failed thread checks
// among them) in order; the logging handler is installed afterwards.
std::vector<std::string> programmingErrorsOnAnotherThread(const std::function<void()>& work);

// Bytes that do not compress, the same for the same seed.
std::vector<uint8_t> incompressibleBytes(size_t length, unsigned seed);

}  // namespace testsupport
