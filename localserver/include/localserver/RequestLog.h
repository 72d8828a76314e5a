#pragma once
// The requests that reached the server, in arrival order, with the status
// each was answered with: every one (tests), or the latest `capacity` when
// the server runs on its own and nobody reads the log. Connection threads
// append; tests read snapshots from their own thread. Every method locks.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <vector>

#include "localserver/Request.h"

namespace localserver {

struct LoggedRequest {
    // As parsed on arrival, before routing: the path placeholders and the
    // verified caller (pathParams, gameId, userId) are still empty.
    Request request;
    int status = 0;        // 0 while in progress or when the connection was dropped
    bool dropped = false;  // closed without a reply
};

class RequestLog {
public:
    // 0 keeps every request.
    explicit RequestLog(std::size_t capacity = 0) : capacity_(capacity) {}

    std::size_t append(const Request& request);  // returns the entry's index
    void finish(std::size_t index, int status, bool dropped);
    std::vector<LoggedRequest> entries() const;
    std::size_t size() const;
    void clear();
    // Blocks until at least `count` entries are logged; false when `bound`
    // (only a guard against hangs) passed first.
    bool waitForSize(std::size_t count, std::chrono::milliseconds bound = std::chrono::seconds(10)) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable grew_;
    const std::size_t capacity_;
    std::vector<LoggedRequest> entries_;
    // Entries dropped by clear() or for the capacity, so that a late finish() of a request that
    // arrived before the clear lands nowhere rather than on a newer entry.
    std::size_t cleared_ = 0;
};

}  // namespace localserver
