// Both sides: compress and uncompress one blob (stored blob form | zlib compress2 and uncompress).
//
// What the stored blob form costs over zlib at its heart, for a 64 KB and a
// 256 KB saved-game-like blob (words and numbers, compressing about 4:1).
//
// Compress: HCCompressableData::serializedDataFromData (zlib stream at the
// default level, size rule, header, new buffer) against zlib's compress2 at
// the default level into a compressBound buffer of the same bytes.
// Uncompress: HCCompressableData::uncompressedDataFromSerializedData (magic
// and length checks, bounded inflate to exactly the header's length, new
// buffer) against zlib's uncompress of the same stream into a buffer of the
// known length. Both sides allocate their output on every iteration.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <random>
#include <string>
#include <vector>

#include "BenchCommandLine.h"
#include "RatioReporter.h"
#include "core/storage/HCCompressableData.h"

namespace {

std::vector<uint8_t> savedGame(size_t length)
{
    static const char* const kWords[] = {"level", "stars", "score", "bonus", "insect", "swirl", "stone", "paddle",
                                         "ball",  "hard",  "static", "death", "chance", "colour", "speed", "music"};
    std::mt19937 generator(2026);
    std::string text;
    while (text.size() < length) {
        text += kWords[generator() % 16];
        text += '=';
        text += std::to_string(generator() % 100000);
        text += (generator() % 8 == 0) ? '\n' : ';';
    }
    return std::vector<uint8_t>(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
}

const std::shared_ptr<platform::Data>& blob(size_t length)
{
    static std::shared_ptr<platform::Data> small = platform::Data::make(savedGame(64 * 1024));
    static std::shared_ptr<platform::Data> large = platform::Data::make(savedGame(256 * 1024));
    return length == small->length() ? small : large;
}

void BM_StoredFormCompress(benchmark::State& state, size_t length)
{
    const auto& input = blob(length);
    for (auto _ : state) {
        auto stored = HCCompressableData::serializedDataFromData(input);
        benchmark::DoNotOptimize(stored->data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * length));
}

void BM_RawZlibCompress2(benchmark::State& state, size_t length)
{
    const auto& input = blob(length);
    for (auto _ : state) {
        uLongf compressedLength = compressBound(input->length());
        std::vector<uint8_t> out(compressedLength);
        compress2(out.data(), &compressedLength, input->data(), input->length(), Z_DEFAULT_COMPRESSION);
        out.resize(compressedLength);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * length));
}

void BM_StoredFormUncompress(benchmark::State& state, size_t length)
{
    const auto stored = HCCompressableData::serializedDataFromData(blob(length));
    for (auto _ : state) {
        auto plain = HCCompressableData::uncompressedDataFromSerializedData(stored);
        benchmark::DoNotOptimize(plain->data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * length));
}

void BM_RawZlibUncompress(benchmark::State& state, size_t length)
{
    const auto stored = HCCompressableData::serializedDataFromData(blob(length));
    const uint8_t* stream = stored->data() + HCCompressableData::kHeaderLength;
    const uLong streamLength = stored->length() - HCCompressableData::kHeaderLength;
    for (auto _ : state) {
        uLongf plainLength = length;
        std::vector<uint8_t> out(plainLength);
        uncompress(out.data(), &plainLength, stream, streamLength);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * length));
}

BENCHMARK_CAPTURE(BM_StoredFormCompress, 64KB, 64 * 1024)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RawZlibCompress2, 64KB, 64 * 1024)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StoredFormCompress, 256KB, 256 * 1024)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RawZlibCompress2, 256KB, 256 * 1024)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StoredFormUncompress, 64KB, 64 * 1024)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RawZlibUncompress, 64KB, 64 * 1024)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StoredFormUncompress, 256KB, 256 * 1024)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RawZlibUncompress, 256KB, 256 * 1024)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (auto status = checkBenchCommandLine(argc, argv)) return *status;
    RatioReporter reporter({
        {"BM_StoredFormCompress/64KB", "BM_RawZlibCompress2/64KB", "64 KB blob: stored form / compress2"},
        {"BM_StoredFormCompress/256KB", "BM_RawZlibCompress2/256KB", "256 KB blob: stored form / compress2"},
        {"BM_StoredFormUncompress/64KB", "BM_RawZlibUncompress/64KB", "64 KB blob: stored form / uncompress"},
        {"BM_StoredFormUncompress/256KB", "BM_RawZlibUncompress/256KB", "256 KB blob: stored form / uncompress"},
    });
    return runBenchmarksWithRatio(argc, argv, reporter);
}
