#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <ctime>
#include <string>
#include <thread>

#include "FakeStompBroker.h"
#include "transport/presence/HCPresenceSocket.h"

namespace {

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// A slow link delivers a TLS record in pieces. While the rest is on its way
// the reader must sleep on the socket: OpenSSL holding part of a record is
// nothing to read yet.
TEST(HCPresenceSocketTest, AHalfArrivedRecordIsWaitedForOnTheSocketAndCloseStillReturnsAtOnce)
{
    FakeStompBroker broker;
    HCPresenceSocket socket;
    ASSERT_EQ(socket.open({"127.0.0.1", broker.port(), broker.caFile(), 10}), "");
    std::atomic<int> chunks{0};
    socket.startReading(
        [&](std::string) {
            ++chunks;
            socket.readMore();
        },
        [](std::string) {});
    broker.prepareBurst("MESSAGE\ndestination:/queue/presence.1\n\n", 4096);
    // The record header and a few bytes of its body, and nothing more.
    broker.sendBurst(12);

    // The only wall-clock wait here: spinning shows only over real time.
    const double cpuBefore = processCpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    const double cpu = processCpuSeconds() - cpuBefore;
    EXPECT_LT(cpu, wall * 0.25) << "the process burnt " << cpu << " s of processor in " << wall << " s of waiting";
    EXPECT_EQ(chunks.load(), 0) << "half a record decrypts to nothing";

    const auto closeStart = std::chrono::steady_clock::now();
    socket.close();
    EXPECT_LT(std::chrono::steady_clock::now() - closeStart, std::chrono::seconds(1));
}

}  // namespace
