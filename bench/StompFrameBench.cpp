// Both sides: read one MESSAGE frame with a 1 MB body (in 16-byte pieces, as a trickling broker sends it | whole, in one piece).
//
// The frame reader keeps its place in a frame that is not whole yet, so the
// pieces should cost a small multiple of one whole read (the calls
// themselves), not a multiple that grows with the body: before it did, the
// 16-byte pieces of this frame cost about a second. A 256 KB body in 1-byte
// pieces is the harder case of the same and is compared too.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "BenchCommandLine.h"
#include "RatioReporter.h"
#include "transport/presence/HCStompFrame.h"

namespace {

std::string messageWire(std::size_t bodyBytes)
{
    // No content-length: the reader looks for the closing NUL, the case a
    // reader that starts over on every piece pays most for.
    std::string wire = "MESSAGE\nsubscription:0\nmessage-id:1\ndestination:/queue/presence.1\n\n";
    wire.append(bodyBytes, 'x');
    wire += '\0';
    return wire;
}

// Feeds `wire` in pieces of `piece` bytes, asking for a frame after each;
// the body's length of the frame read, 0 when none was.
std::size_t readInPieces(const std::string& wire, std::size_t piece)
{
    HCStompFrameReader reader(2 * wire.size());
    HCStompFrame frame;
    const std::string_view view(wire);
    for (std::size_t at = 0; at < view.size(); at += piece) {
        reader.append(view.substr(at, piece));
        if (reader.next(frame) == HCStompFrameReader::Status::Frame) return frame.body.size();
    }
    return 0;
}

void readEachTime(benchmark::State& state, const std::string& wire, std::size_t piece)
{
    for (auto _ : state) benchmark::DoNotOptimize(readInPieces(wire, piece));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * wire.size()));
}

const std::string& megabyteFrame()
{
    static const std::string wire = messageWire(1u << 20);
    return wire;
}

const std::string& quarterMegabyteFrame()
{
    static const std::string wire = messageWire(256u << 10);
    return wire;
}

void BM_PiecesOf16Bytes(benchmark::State& state) { readEachTime(state, megabyteFrame(), 16); }
BENCHMARK(BM_PiecesOf16Bytes)->Unit(benchmark::kMillisecond);

void BM_WholeFrame(benchmark::State& state) { readEachTime(state, megabyteFrame(), megabyteFrame().size()); }
BENCHMARK(BM_WholeFrame)->Unit(benchmark::kMillisecond);

void BM_PiecesOf1Byte256KB(benchmark::State& state) { readEachTime(state, quarterMegabyteFrame(), 1); }
BENCHMARK(BM_PiecesOf1Byte256KB)->Unit(benchmark::kMillisecond);

void BM_WholeFrame256KB(benchmark::State& state)
{
    readEachTime(state, quarterMegabyteFrame(), quarterMegabyteFrame().size());
}
BENCHMARK(BM_WholeFrame256KB)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (auto status = checkBenchCommandLine(argc, argv)) return *status;
    if (readInPieces(messageWire(1000), 16) != 1000 || readInPieces(messageWire(1000), 1) != 1000) {
        std::fprintf(stderr, "the frame was not read back from its pieces\n");
        return 1;
    }
    RatioReporter reporter({{"BM_PiecesOf16Bytes", "BM_WholeFrame", "1 MB frame: 16-byte pieces / whole"},
                            {"BM_PiecesOf1Byte256KB", "BM_WholeFrame256KB", "256 KB frame: 1-byte pieces / whole"}});
    return runBenchmarksWithRatio(argc, argv, reporter);
}
