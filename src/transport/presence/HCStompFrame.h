#pragma once
// STOMP 1.2 frames: the presence channel's wire unit, and the reader that
// cuts them out of a byte stream.
//
// A frame is a command line, header lines, an empty line, a body and a NUL.
// Lines end in "\n" or "\r\n"; header names and values escape "\\", "\n",
// "\r" and ":" (except in CONNECT and CONNECTED frames, which 1.0 brokers
// read raw); the first of repeated headers wins; a "content-length" header
// makes the body that many bytes, which may then hold NULs. End-of-line
// bytes between frames are heart-beats.
//
// The reader keeps its place in a frame that is not whole yet, so a frame
// that comes in many small pieces is read once, not again from its start on
// every piece.
//
// Thread: none of its own; a reader belongs to one thread at a time.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct HCStompFrame {
    std::string command;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    // The first header of that name.
    std::optional<std::string> header(std::string_view name) const;
    HCStompFrame& add(std::string name, std::string value);

    // The frame's bytes; the body's length goes in "content-length" when it
    // is not empty and the caller did not set one.
    std::string encode() const;
};

class HCStompFrameReader {
public:
    enum class Status {
        NeedMore,  // no whole frame yet
        Frame,     // one frame was taken
        Malformed, // the stream is broken: drop the connection
        TooLarge,  // a frame grew past the limit: drop the connection
    };

    static constexpr std::size_t kDefaultMaxFrameBytes = 1024 * 1024;

    explicit HCStompFrameReader(std::size_t maxFrameBytes = kDefaultMaxFrameBytes) : max_(maxFrameBytes) {}

    void append(std::string_view bytes);
    // Takes the next whole frame into `frame`. Once Malformed or TooLarge is
    // answered, every later call answers it again.
    Status next(HCStompFrame& frame);
    // Heart-beat end-of-lines skipped so far.
    std::size_t heartBeatsSeen() const { return heartBeats_; }

private:
    enum class Part { Between, Command, Headers, Body };

    Status fail(Status status);
    Status needMore();
    // The next whole line of the frame, or nullopt until it has come.
    std::optional<std::string_view> nextLine();
    // What breaks the stream in the header line, if anything.
    std::optional<Status> readHeader(std::string_view line);

    std::size_t max_;
    std::string buffer_;
    std::size_t start_ = 0;  // the first byte of the frame being read
    std::size_t line_ = 0;   // the first byte of the line or body being read
    std::size_t scanned_ = 0;  // bytes from line_ on known to hold no end
    Part part_ = Part::Between;
    HCStompFrame partial_;
    bool escaped_ = true;
    std::optional<std::size_t> contentLength_;
    std::size_t heartBeats_ = 0;
    std::optional<Status> failed_;
};
