#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <random>

#include "platform/foundation/ProgrammingError.h"

namespace testsupport {

ScopedManualClock::ScopedManualClock(double start) : clock_(std::make_shared<platform::ManualClock>(start))
{
    platform::Clock::install(clock_);
}

ScopedManualClock::~ScopedManualClock()
{
    platform::Clock::install(nullptr);
}

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("hc-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

bool runMainUntil(const std::function<bool()>& done, double wallTimeoutSeconds)
{
    return platform::Thread::mainThread()->runLoop()->runUntil(done, wallTimeoutSeconds);
}

int drainMain()
{
    return platform::Thread::mainThread()->runLoop()->runUntilIdle();
}

std::vector<std::string> programmingErrorsOnAnotherThread(const std::function<void()>& work)
{
    std::mutex mutex;
    std::vector<std::string> reports;
    platform::setProgrammingErrorHandler([&](const std::string& text) {
        std::lock_guard lock(mutex);
        reports.push_back(text);
    });
    std::atomic<bool> done{false};
    auto worker = platform::Thread::start("worker");
    worker->runLoop()->post([&] {
        work();
        done = true;
    });
    // Waits for the work however long it takes: it holds references to this frame.
    while (!runMainUntil([&] { return done.load(); })) ADD_FAILURE() << "the work on the other thread is still running";
    worker->cancel();
    platform::setProgrammingErrorHandler(nullptr);
    std::lock_guard lock(mutex);
    return reports;
}

std::vector<uint8_t> incompressibleBytes(size_t length, unsigned seed)
{
    std::mt19937 generator(seed);
    std::vector<uint8_t> bytes(length);
    for (auto& b : bytes) b = static_cast<uint8_t>(generator());
    return bytes;
}

}  // namespace testsupport
