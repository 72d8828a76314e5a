#pragma once
// Which load of a page a reply belongs to. A page bumps its generation for
// each load and hands a ticket to the callbacks of that load's requests; a
// reply counts only when its ticket is of the latest generation and was not
// answered before. When the callbacks are let go without being called (the
// provider dropped the request), the ticket calls `dropped` with its
// generation on a later main run loop turn, so the page can take its
// loading screen down.
//
// Thread: main thread (made, answered and let go there: the callbacks that
// hold it are released on their delivery thread).
#include <functional>
#include <memory>

#include "platform/runtime/Object.h"

class HCRequestTicket : public platform::Object {
public:
    explicit HCRequestTicket(unsigned generation, std::function<void(unsigned)> dropped = {});
    ~HCRequestTicket() override;

    const unsigned generation;
    // True the first time only.
    bool answer();
    bool isAnswered() const { return answered_; }

private:
    bool answered_ = false;
    std::function<void(unsigned)> dropped_;
};
