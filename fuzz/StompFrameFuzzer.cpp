// The presence channel's frame reader on arbitrary bytes: a broker (or
// whatever answers on its port) decides every byte. Round trip: each frame
// read, written again and read back, is the same frame.
// Fuzz sources: src/transport/presence/HCStompFrame.cpp
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "transport/presence/HCStompFrame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    HCStompFrameReader reader(4096);
    // Feed in two pieces so that a frame cut in the middle is read too.
    reader.append(input.substr(0, size / 2));
    HCStompFrame frame;
    bool secondHalf = false;
    for (;;) {
        auto status = reader.next(frame);
        if (status == HCStompFrameReader::Status::NeedMore && !secondHalf) {
            reader.append(input.substr(size / 2));
            secondHalf = true;
            continue;
        }
        if (status != HCStompFrameReader::Status::Frame) break;
        fuzz::check(!frame.command.empty(), "a frame without a command");
        // The writer adds content-length only for a body; a frame that named
        // its own keeps it, so the round trip compares like with like.
        HCStompFrameReader again(1 << 20);
        again.append(frame.encode());
        HCStompFrame copy;
        fuzz::check(again.next(copy) == HCStompFrameReader::Status::Frame, "a written frame does not read back");
        fuzz::check(copy.command == frame.command && copy.body == frame.body, "command or body changed");
        fuzz::check(copy.header("destination") == frame.header("destination"), "a header changed");
    }
    return 0;
}
