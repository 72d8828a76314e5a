// Both sides: the same stream of look-ups, storing on a miss, within 2,000,000 bytes (HCImageCache | a bare std::list and std::unordered_map LRU).
//
// A dashboard page scrolling through players' pictures: 20,000 look-ups of
// 300 distinct 64 x 64 pictures (16,384 bytes each decoded, with their URL
// and the entry's bookkeeping about 16,900 weighed, so about 118 fit), picked with a skewed distribution (a few players appear often).
// Each look-up that misses stores the picture, as a finished download does;
// decoding is not timed (the pictures are made once beforehand).
//
// Ours: HCImageCache::fetch and store (its mutex, its byte weights, the
// least recently used evicted first). Baseline: the same policy written
// directly on the standard containers, single-threaded, no lock, weighing
// each entry with HCImageCache::weightOf. Both report
// hits, misses and the peak bytes held; the two must agree exactly, or the
// program refuses to run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <list>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "BenchCommandLine.h"
#include "RatioReporter.h"
#include "core/images/HCImageCache.h"

namespace {

constexpr int kDistinct = 300;
constexpr int kLookups = 20'000;
constexpr int kSide = 64;

struct Workload {
    std::vector<std::string> urls;
    std::vector<platform::ui::ImagePtr> images;
    std::vector<int> picks;
};

const Workload& workload()
{
    static const Workload w = [] {
        Workload made;
        for (int i = 0; i < kDistinct; ++i) {
            made.urls.push_back("https://pictures.example/users/" + std::to_string(1000 + i) + "/profile.png");
            made.images.push_back(platform::ui::Image::withPixels(
                kSide, kSide, std::vector<uint8_t>(size_t(kSide) * kSide * 4, static_cast<uint8_t>(i))));
        }
        std::mt19937 generator(2026);
        // Skewed: the square of a uniform draw favours the low indices.
        std::uniform_real_distribution<double> uniform(0.0, 1.0);
        for (int i = 0; i < kLookups; ++i) {
            const double u = uniform(generator);
            made.picks.push_back(static_cast<int>(u * u * kDistinct) % kDistinct);
        }
        return made;
    }();
    return w;
}

struct Tally {
    long hits = 0;
    long misses = 0;
    size_t peakBytes = 0;
    bool operator==(const Tally&) const = default;
};

// The same policy on the bare containers.
class BareLru {
public:
    platform::ui::ImagePtr fetch(const std::string& key)
    {
        auto found = index_.find(key);
        if (found == index_.end()) return nullptr;
        order_.splice(order_.end(), order_, found->second);
        return found->second->image;
    }
    void store(const platform::ui::ImagePtr& image, const std::string& key)
    {
        const size_t bytes = HCImageCache::weightOf(*image, key);
        order_.push_back({key, image, bytes});
        index_[key] = std::prev(order_.end());
        total_ += bytes;
        while (total_ > HCImageCache::kMaxBytes) {
            total_ -= order_.front().bytes;
            index_.erase(order_.front().key);
            order_.pop_front();
        }
    }
    size_t totalBytes() const { return total_; }

private:
    struct Entry {
        std::string key;
        platform::ui::ImagePtr image;
        size_t bytes;
    };
    std::list<Entry> order_;
    std::unordered_map<std::string, std::list<Entry>::iterator> index_;
    size_t total_ = 0;
};

// The look-ups through either cache (both answer fetch, store and their weight).
template <class Cache>
Tally run(Cache& cache)
{
    const auto& w = workload();
    Tally tally;
    for (int pick : w.picks) {
        if (cache.fetch(w.urls[pick])) {
            ++tally.hits;
        } else {
            ++tally.misses;
            cache.store(w.images[pick], w.urls[pick]);
            tally.peakBytes = std::max(tally.peakBytes, cache.totalBytes());
        }
    }
    return tally;
}

Tally runOurs()
{
    HCImageCache cache;
    return run(cache);
}

Tally runBaseline()
{
    BareLru cache;
    return run(cache);
}

void report(benchmark::State& state, const Tally& tally)
{
    state.counters["hits"] = static_cast<double>(tally.hits);
    state.counters["misses"] = static_cast<double>(tally.misses);
    state.counters["peak_bytes"] = static_cast<double>(tally.peakBytes);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kLookups);
}

void BM_HCImageCache(benchmark::State& state)
{
    Tally tally;
    for (auto _ : state) tally = runOurs();
    report(state, tally);
}

void BM_BareLru(benchmark::State& state)
{
    Tally tally;
    for (auto _ : state) tally = runBaseline();
    report(state, tally);
}

BENCHMARK(BM_HCImageCache)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareLru)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (auto status = checkBenchCommandLine(argc, argv)) return *status;
    const Tally ours = runOurs();
    const Tally baseline = runBaseline();
    if (!(ours == baseline) || ours.peakBytes > HCImageCache::kMaxBytes) {
        std::fprintf(stderr, "ImageCacheBench: the two sides disagree (hits %ld/%ld, misses %ld/%ld, peak %zu/%zu)\n",
                     ours.hits, baseline.hits, ours.misses, baseline.misses, ours.peakBytes, baseline.peakBytes);
        return 1;
    }
    std::printf("hits %ld, misses %ld, peak bytes %zu of %zu\n", ours.hits, ours.misses, ours.peakBytes,
                HCImageCache::kMaxBytes);
    RatioReporter reporter("BM_HCImageCache", "BM_BareLru", "image cache / bare LRU");
    return runBenchmarksWithRatio(argc, argv, reporter);
}
