#pragma once
// Misbehaviour that tests order from the server: a canned status and body, a
// delay, a hold until the test lets the request go, a body that trickles
// in, or a connection closed without a reply;
// for the next requests of any route or of one route. Tests arm faults on their own thread; the
// connection threads take them. Every method locks.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace localserver {

struct Fault {
    std::chrono::milliseconds delay{0};  // waited first; real time, only when asked for
    bool held = false;                   // or waited until the test releases it
    bool drop = false;                   // then close the connection without a reply
    int status = 0;                      // or answer this status (0: serve normally)
    std::string body;
    std::string contentType = "text/plain";
    // With a status: the body's length is announced, then one byte goes out
    // each `trickle` of real time until the body is out, the client hangs
    // up or the server stops.
    std::chrono::milliseconds trickle{0};

    static Fault reply(int status, std::string body = {}, std::string contentType = "text/plain");
    static Fault trickled(std::chrono::milliseconds interval, int status, std::string body,
                          std::string contentType = "text/plain");
    static Fault dropConnection();
    // Waits, then serves the request, or does what `then` says.
    static Fault delayed(std::chrono::milliseconds delay);
    static Fault delayed(std::chrono::milliseconds delay, Fault then);
    // Waits until the test lets it go (Faults::releaseHeld), then serves the
    // request, or does what `then` says: a test that needs a request still
    // on its way while it acts holds it, however slow the machine.
    static Fault heldBack();
    static Fault heldBack(Fault then);
};

class Faults {
public:
    static constexpr int kUntilCleared = -1;

    // The next `count` requests, whatever their route.
    void injectNext(const Fault& fault, int count = 1);
    // The next `count` requests with this method ("" for any) and path below
    // the service root ("server_timestamp").
    void injectFor(const std::string& method, const std::string& path, const Fault& fault, int count = 1);
    // As injectFor, only for requests whose parameter `name` is `value`, or
    // that lack it when `value` is nil (two requests of one route told apart,
    // such as a page's two rankings).
    void injectWhere(const std::string& method, const std::string& path, const std::string& name,
                     const std::optional<std::string>& value, const Fault& fault, int count = 1);
    // Disarms every fault and forgets releases given ahead of their
    // requests, so none lets a later test's held request through. A request
    // that took its hold before it keeps what was released to it, though it
    // has not begun to wait yet.
    void clear();
    // Faults still armed, each counted once.
    std::size_t pending() const;

    // A fault as a request took it. A held one carries the request's claim
    // on a release, which it hands to waitUntilReleased(): from take() on, a
    // release given for it is its own, so clear() cannot lose it.
    struct Taken {
        Fault fault;
        std::uint64_t hold = 0;  // 0: not held, or taken while waits were interrupted
    };
    // The first armed fault that matches, used up by one; armed first, taken
    // first. `param` answers a request parameter by name. A held fault claims
    // a release given before it came, if one is left.
    std::optional<Taken> take(const std::string& method, const std::string& path,
                              const std::function<std::optional<std::string>(const std::string&)>& param = {});
    // Waits for a fault's delay; false when the server stopped meanwhile.
    bool wait(std::chrono::milliseconds delay);
    // Waits until releaseHeld() lets the request holding `hold` go; false
    // when the server stopped since it took the hold or stops meanwhile, and
    // at once for a hold it does not know (0, or one already waited on).
    bool waitUntilReleased(std::uint64_t hold);
    // Requests waiting in waitUntilReleased() now and not yet let go.
    std::size_t heldCount() const;
    // Lets `count` held requests go, in any order: those waiting now, else
    // those that took their hold and are on their way to wait, else the next
    // to arrive, so a release may come before its request does.
    void releaseHeld(std::size_t count = 1);
    // Waits `interval` before the next byte of a trickled body, counting it;
    // false when the server stopped meanwhile.
    bool paceTrickle(std::chrono::milliseconds interval);
    // Bytes of trickled bodies paced so far, every reply counted.
    std::size_t trickledBytes() const;
    // Ends every wait begun before it, even one that wakes only after
    // allowWaits(), and every hold taken before it whose wait has not begun,
    // dropping what was released to those; makes later waits return false
    // at once.
    void interruptWaits();
    // Lets waits begun from now on run their course.
    void allowWaits();

private:
    struct Armed {
        std::string method;
        std::optional<std::string> path;
        std::optional<std::pair<std::string, std::optional<std::string>>> param;
        Fault fault;
        int remaining;
    };
    struct Claim {
        std::uint64_t hold;
        bool released;
    };
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Armed> armed_;
    bool interrupted_ = false;
    // Counts interruptWaits() calls: a wait notes it when it begins and ends
    // once it moved, whatever interrupted_ reads by the time the waiter wakes.
    std::size_t interruptions_ = 0;
    std::size_t trickledBytes_ = 0;
    std::size_t held_ = 0;           // requests in waitUntilReleased() since the last interrupt
    std::size_t releasedHeld_ = 0;   // of those, let go and not yet awake
    std::size_t earlyReleases_ = 0;  // given before their requests came, claimed by none
    // Holds taken and not yet waited on since the last interrupt, in the
    // order they were taken.
    std::vector<Claim> claims_;
    std::uint64_t lastHold_ = 0;
};

}  // namespace localserver
