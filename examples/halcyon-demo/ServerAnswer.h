#pragma once
// Why the first log-in did not reach the service, said the way a developer
// needs it. The session tells of a failure whose reply held no exception:
// something answered, but not as the service does. The address is then
// asked once more, with a plain GET through the client's own transport,
// what it is: 404 and 501 are what no service answers, while a failing
// service, or the proxy in front of it, answers 5xx, 401 or the
// maintenance status 450 with a page of its own. Nothing may answer that
// second look at all (the server went away, or closed it unanswered): the
// clause then says no answer came, not a status of 0.
//
// Thread: main thread, where the session tells its observers.
#include <memory>
#include <string>

#include "core/xp/HCSessionObserver.h"

namespace serveranswer {

// Notes a log-in failure that came without an exception.
class OddReplyWatch final : public HCSessionObserver {
public:
    void sessionFailureWithException(const std::shared_ptr<HCSession>& session,
                                     const std::shared_ptr<HCServerException>& exception) override;
    bool answeredOddly = false;
};

// What answered at `url`, in one clause; the main run loop turns for a few
// seconds at most meanwhile.
std::string whatAnswered(const std::string& url);

}  // namespace serveranswer
