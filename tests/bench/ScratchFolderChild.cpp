// A benchmark program as ScratchFolderTest interrupts it: its scratch
// folder made first, with files two folders deep, then threads that
// allocate without end, as the library's and the cases' threads do. It
// prints the folder's path once they all run, then allocates too, until a
// signal ends it.
#include <atomic>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "ScratchFolder.h"

namespace {

constexpr int kThreads = 4;
std::atomic<int> running{0};
std::atomic<std::size_t> allocated{0};

// Strings of changing sizes made and freed, so that each thread is in
// malloc or free most of the time.
[[noreturn]] void allocateForever()
{
    running.fetch_add(1);
    for (std::size_t round = 0;; ++round) {
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < 64; ++i) texts.emplace_back(16 + (round * 7 + i * 13) % 4000, 'x');
        allocated.fetch_add(texts.back().size(), std::memory_order_relaxed);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1) {
        const bool help = std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h";
        if (!help) std::fprintf(stderr, "scratch_folder_child: unknown option: %s\n", argv[1]);
        std::fprintf(help ? stdout : stderr, "usage: scratch_folder_child (no options: ScratchFolderTest runs it)\n");
        return help ? 0 : 2;
    }
    const std::filesystem::path folder = bench::scratchFolder();
    std::filesystem::create_directories(folder / "sandbox" / "pending");
    std::ofstream(folder / "sandbox" / "pending" / "scores.db") << "a database the run was writing";
    std::ofstream(folder / "settings.plist") << "settings";
    for (int i = 0; i < kThreads; ++i) std::thread(allocateForever).detach();
    while (running.load() < kThreads) std::this_thread::yield();
    std::printf("%s\n", folder.c_str());
    std::fflush(stdout);
    allocateForever();
}
