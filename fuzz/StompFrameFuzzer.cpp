// The presence channel's frame reader on arbitrary bytes: a broker (or
// whatever answers on its port) decides every byte. Round trip: each frame
// read, written again and read back, is the same frame. Pieces: the same
// bytes fed whole, a byte at a time, and in pieces of a size taken from the
// input (so every size from 1 to the input's length comes up) read the same
// frames, and a stream that breaks breaks in each.
// Fuzz sources: src/transport/presence/HCStompFrame.cpp
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "transport/presence/HCStompFrame.h"

namespace {

using Status = HCStompFrameReader::Status;

struct Outcome {
    std::vector<HCStompFrame> frames;
    Status last = Status::NeedMore;
};

Outcome readInPieces(std::string_view input, std::size_t piece)
{
    Outcome outcome;
    HCStompFrameReader reader(4096);
    for (std::size_t at = 0; at < input.size() && outcome.last != Status::Malformed && outcome.last != Status::TooLarge;
         at += piece) {
        reader.append(input.substr(at, piece));
        HCStompFrame frame;
        while ((outcome.last = reader.next(frame)) == Status::Frame) outcome.frames.push_back(frame);
    }
    return outcome;
}

bool sameFrame(const HCStompFrame& a, const HCStompFrame& b)
{
    return a.command == b.command && a.headers == b.headers && a.body == b.body;
}

void checkRoundTrip(const HCStompFrame& frame)
{
    fuzz::check(!frame.command.empty(), "a frame without a command");
    // The writer adds content-length only for a body; a frame that named
    // its own keeps it, so the round trip compares like with like.
    HCStompFrameReader again(1 << 20);
    again.append(frame.encode());
    HCStompFrame copy;
    fuzz::check(again.next(copy) == Status::Frame, "a written frame does not read back");
    fuzz::check(copy.command == frame.command && copy.body == frame.body, "command or body changed");
    fuzz::check(copy.header("destination") == frame.header("destination"), "a header changed");
}

std::size_t pieceSizeOf(std::string_view input)
{
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : input) hash = (hash ^ c) * 16777619u;
    return 1 + hash % input.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const Outcome whole = readInPieces(input, size);
    for (const auto& frame : whole.frames) checkRoundTrip(frame);
    for (std::size_t piece : {std::size_t{1}, pieceSizeOf(input)}) {
        const Outcome pieces = readInPieces(input, piece);
        fuzz::check(pieces.frames.size() == whole.frames.size(), "pieces read another number of frames");
        for (std::size_t i = 0; i < whole.frames.size(); ++i)
            fuzz::check(sameFrame(pieces.frames[i], whole.frames[i]), "pieces read another frame");
        // A frame past the limit may be refused before its broken part
        // comes, so only whether the stream broke must agree.
        fuzz::check((pieces.last == Status::NeedMore) == (whole.last == Status::NeedMore),
                    "pieces broke the stream where the whole did not, or the other way");
    }
    return 0;
}
