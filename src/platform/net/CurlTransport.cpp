#include "platform/net/CurlTransport.h"

#include <curl/curl.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <shared_mutex>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/net/CookieStore.h"
#include "platform/net/CurlErrors.h"
#include "platform/net/URLParts.h"
#include "platform/net/URLTransfer.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/RunLoop.h"
#include "platform/runtime/Thread.h"

namespace platform {
namespace {
constexpr int kMaxRedirects = 16;
// How often the loop re-reads a manual clock while a time-out is pending.
constexpr long kManualClockPollMs = 10;
constexpr long kIdlePollMs = 1000;
// Easy handles kept for the next transfers: more than the transfers that
// usually run at once would only hold memory.
constexpr size_t kMostIdleHandles = 8;

struct Job {
    std::shared_ptr<URLTransfer> owner;
    URLRequest request;  // the hop being sent; redirects rewrite it
    // Lent by the engine from launch to the end (see Engine::takeHandle).
    CURL* easy = nullptr;
    curl_slist* headerList = nullptr;
    URLResponse response;
    int redirects = 0;
    double startedAt = 0;
    double lastActivity = 0;
    curl_off_t seenUp = 0;
    curl_off_t seenDown = 0;
    // The body passed request.maxBodyBytes: the write was refused.
    bool bodyTooLarge = false;
    char errorBuffer[CURL_ERROR_SIZE] = {};

    Job(std::shared_ptr<URLTransfer> o, URLRequest r) : owner(std::move(o)), request(std::move(r)) {}
    ~Job()
    {
        if (headerList) curl_slist_free_all(headerList);
        if (easy) curl_easy_cleanup(easy);
    }
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;
};

bool isToken(const std::string& s)
{
    static constexpr std::string_view extra = "!#$%&'*+-.^_`|~";
    return !s.empty() && std::all_of(s.begin(), s.end(), [](unsigned char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || extra.find(c) != extra.npos;
    });
}

bool hasLineBreak(const std::string& s)
{
    return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos;
}

size_t onHeader(char* data, size_t size, size_t count, void* userp)
{
    auto& job = *static_cast<Job*>(userp);
    size_t n = size * count;
    job.lastActivity = Clock::currentTime();
    std::string_view line(data, n);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    if (line.starts_with("HTTP/")) {
        // A new reply begins (after a 1xx, say): only the last one's fields count.
        job.response.headers.clear();
        return n;
    }
    auto colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) return n;
    std::string_view value = line.substr(colon + 1);
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
    job.response.headers.add(std::string(line.substr(0, colon)), std::string(value));
    return n;
}

size_t onBody(char* data, size_t size, size_t count, void* userp)
{
    auto& job = *static_cast<Job*>(userp);
    size_t n = size * count;
    job.lastActivity = Clock::currentTime();
    if (n > job.request.maxBodyBytes - std::min(job.response.body.size(), job.request.maxBodyBytes)) {
        job.bodyTooLarge = true;
        return 0;  // ends the transfer with a write error
    }
    job.response.body.insert(job.response.body.end(), data, data + n);
    return n;
}

int onProgress(void* userp, curl_off_t, curl_off_t dlnow, curl_off_t, curl_off_t ulnow)
{
    auto& job = *static_cast<Job*>(userp);
    if (dlnow != job.seenDown || ulnow != job.seenUp) {
        job.seenDown = dlnow;
        job.seenUp = ulnow;
        job.lastActivity = Clock::currentTime();
    }
    return 0;
}

// Sets every option of the job's current hop on a freshly reset handle.
// Returns 0, or the NetError code that fails the transfer without sending it.
int configure(Job& job)
{
    CURL* e = job.easy;
    if (!e) return kNetErrorUnknown;
    if (!isToken(job.request.method)) return kNetErrorUnknown;
    auto parts = URLParts::parse(job.request.url);
    if (!parts) return kNetErrorBadURL;
    if (parts->scheme != "http" && parts->scheme != "https") return kNetErrorUnsupportedURL;
    curl_easy_reset(e);
    if (job.headerList) {
        curl_slist_free_all(job.headerList);
        job.headerList = nullptr;
    }
    job.errorBuffer[0] = 0;
    job.seenUp = job.seenDown = 0;
    job.bodyTooLarge = false;

    curl_easy_setopt(e, CURLOPT_URL, job.request.url.c_str());
    curl_easy_setopt(e, CURLOPT_PRIVATE, &job);
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(e, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, job.errorBuffer);
    curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(e, CURLOPT_HEADERDATA, &job);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &job);
    // Refuses an announced Content-Length over the cap before any body moves.
    curl_easy_setopt(e, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(job.request.maxBodyBytes));
    curl_easy_setopt(e, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(e, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl_easy_setopt(e, CURLOPT_XFERINFODATA, &job);

    const std::string& method = job.request.method;
    const auto& body = job.request.body;
    if (method == "HEAD") {
        curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
    } else if (method == "GET" && body.empty()) {
        curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
    } else {
        if (!body.empty() || method == "POST" || method == "PUT" || method == "PATCH") {
            curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
            curl_easy_setopt(e, CURLOPT_POSTFIELDS, body.empty() ? "" : reinterpret_cast<const char*>(body.data()));
        }
        if (method != "POST") curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, method.c_str());
    }

    // Fields that could smuggle a second header line are dropped, not sent.
    curl_slist* list = nullptr;
    for (const auto& [name, value] : job.request.headers.fields()) {
        if (!isToken(name) || hasLineBreak(value)) continue;
        std::string line = value.empty() ? name + ";" : name + ": " + value;
        list = curl_slist_append(list, line.c_str());
    }
    if (!job.request.headers.contains("Expect")) list = curl_slist_append(list, "Expect:");
    if (job.request.useCookies && !job.request.headers.contains("Cookie")) {
        std::string cookies = CookieStore::shared().cookieHeaderFor(*parts);
        if (!cookies.empty()) list = curl_slist_append(list, ("Cookie: " + cookies).c_str());
    }
    job.headerList = list;
    curl_easy_setopt(e, CURLOPT_HTTPHEADER, list);

    if (job.request.credentials) {
        curl_easy_setopt(e, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
        curl_easy_setopt(e, CURLOPT_USERNAME, job.request.credentials->user.c_str());
        curl_easy_setopt(e, CURLOPT_PASSWORD, job.request.credentials->password.c_str());
    }
    return 0;
}

bool isRedirectStatus(long status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}
}  // namespace

struct CurlTransport::Engine {
    std::mutex mutex;
    std::vector<std::unique_ptr<Job>> starting;
    std::vector<const URLTransfer*> cancelling;
    bool stopping = false;

    CURLM* multi = nullptr;
    // Held shared while a caller wakes the transport thread outside `mutex`,
    // and exclusively while the multi handle goes at exit.
    std::shared_mutex wakeGuard;
    std::thread thread;
    // The polling thread only.
    std::unordered_map<const URLTransfer*, std::unique_ptr<Job>> running;
    // Reset by configure() before each use; a handle kept here also keeps
    // its connection cache warm for the next transfer.
    std::vector<CURL*> idleHandles;

    // With `ownThread` the engine runs on a transport thread of its own;
    // without, a run loop drives it (LoopEngine below).
    explicit Engine(bool ownThread)
    {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        multi = curl_multi_init();
        if (ownThread) {
            thread = std::thread([this] { run(); });
            pollingThread = thread.get_id();
        }
    }

    ~Engine() { shutdown(); }

    // Stops the thread and drops every transfer without an outcome. Later
    // start() and cancel() calls find `stopping` set and do nothing.
    void shutdown()
    {
        std::vector<std::unique_ptr<Job>> notStarted;
        {
            std::lock_guard lock(mutex);
            if (stopping) return;
            stopping = true;
            notStarted.swap(starting);
            cancelling.clear();
            curl_multi_wakeup(multi);
        }
        if (thread.joinable()) thread.join();
        for (auto& [key, job] : running) curl_multi_remove_handle(multi, job->easy);
        running.clear();
        notStarted.clear();
        for (CURL* easy : idleHandles) curl_easy_cleanup(easy);
        idleHandles.clear();
        std::lock_guard guard(wakeGuard);
        curl_multi_cleanup(multi);
        multi = nullptr;
        curl_global_cleanup();
    }

    // The thread that polls `multi`: woken from any other thread, it needs
    // no wake-up when it asks for work itself, as it looks at the queue
    // before it next polls.
    std::atomic<std::thread::id> pollingThread;

    bool isPollingThread() const { return pollingThread.load() == std::this_thread::get_id(); }

    // Wakes the polling thread; called without `mutex`.
    void wake()
    {
        if (isPollingThread()) return;
        std::shared_lock guard(wakeGuard);
        if (multi) curl_multi_wakeup(multi);
    }

    // For a caller that holds `mutex` (and so knows the handle is still there).
    void wakeLocked()
    {
        if (!isPollingThread()) curl_multi_wakeup(multi);
    }

    void add(const std::shared_ptr<URLTransfer>& transfer, URLRequest request)
    {
        {
            std::lock_guard lock(mutex);
            // The process is exiting: nothing would run the transfer or take its outcome.
            if (stopping) return;
            auto job = std::make_unique<Job>(transfer, std::move(request));
            job->startedAt = job->lastActivity = Clock::currentTime();
            starting.push_back(std::move(job));
        }
        // Woken after the lock is let go, or the woken thread would at once
        // block on it and hand the processor back.
        wake();
    }

    void remove(const URLTransfer* transfer)
    {
        // Destroyed after the lock is released: the job may hold the last
        // reference to the transfer, and so to what its loop still holds.
        std::unique_ptr<Job> dropped;
        std::lock_guard lock(mutex);
        if (stopping) return;
        auto it = std::find_if(starting.begin(), starting.end(),
                               [&](const auto& j) { return j->owner.get() == transfer; });
        if (it != starting.end()) {
            dropped = std::move(*it);
            starting.erase(it);
            return;
        }
        cancelling.push_back(transfer);
        wakeLocked();
    }

    void run()
    {
        while (step()) curl_multi_poll(multi, nullptr, 0, static_cast<int>(waitMs()), nullptr);
    }

    // One pass: takes the transfers started and cancelled since the last,
    // moves every transfer on and hands out the outcomes of those that
    // ended. False once the engine is stopping.
    bool step()
    {
        {
            std::vector<std::unique_ptr<Job>> starts;
            std::vector<const URLTransfer*> cancels;
            {
                std::lock_guard lock(mutex);
                if (stopping) return false;
                starts.swap(starting);
                cancels.swap(cancelling);
            }
            // Cancels first: a cancelled transfer's address may already belong
            // to a new transfer waiting in `starts`.
            for (const URLTransfer* key : cancels) {
                auto it = running.find(key);
                if (it == running.end()) continue;
                curl_multi_remove_handle(multi, it->second->easy);
                giveBackHandle(*it->second);
                running.erase(it);
            }
            for (auto& job : starts) launch(std::move(job));
            int stillRunning = 0;
            curl_multi_perform(multi, &stillRunning);
            int queued = 0;
            while (CURLMsg* msg = curl_multi_info_read(multi, &queued)) {
                if (msg->msg != CURLMSG_DONE) continue;
                Job* job = nullptr;
                curl_easy_getinfo(msg->easy_handle, CURLINFO_PRIVATE, &job);
                CURLcode code = msg->data.result;
                if (job) finished(*job, code);
            }
            expireTimeouts();
        }
        return true;
    }

    // A handle for a job about to launch: a used one when there is one,
    // which spares an allocation and set-up per transfer.
    CURL* takeHandle()
    {
        if (idleHandles.empty()) return curl_easy_init();
        CURL* easy = idleHandles.back();
        idleHandles.pop_back();
        return easy;
    }

    // Once the job's handle is off the multi handle.
    void giveBackHandle(Job& job)
    {
        if (job.easy == nullptr) return;
        if (idleHandles.size() < kMostIdleHandles)
            idleHandles.push_back(job.easy);
        else
            curl_easy_cleanup(job.easy);
        job.easy = nullptr;
    }

    void launch(std::unique_ptr<Job> job)
    {
        job->easy = takeHandle();
        if (int failure = configure(*job)) {
            giveBackHandle(*job);
            fail(*job, failure);
            return;
        }
        curl_multi_add_handle(multi, job->easy);
        const URLTransfer* key = job->owner.get();
        running[key] = std::move(job);
    }

    void finished(Job& job, CURLcode code)
    {
        curl_multi_remove_handle(multi, job.easy);
        if (job.bodyTooLarge || code == CURLE_FILESIZE_EXCEEDED) {
            finish(job, kNetErrorDataLengthExceedsMaximum);
            return;
        }
        if (code != CURLE_OK) {
            long verify = 0;
            curl_easy_getinfo(job.easy, CURLINFO_SSL_VERIFYRESULT, &verify);
            finish(job, netErrorCodeForCurl(code, verify));
            return;
        }
        long status = 0;
        curl_easy_getinfo(job.easy, CURLINFO_RESPONSE_CODE, &status);
        job.response.statusCode = static_cast<int>(status);
        job.response.url = job.request.url;
        if (job.request.useCookies) CookieStore::shared().setCookiesFromHeaders(job.response.headers, job.request.url);

        char* location = nullptr;
        curl_easy_getinfo(job.easy, CURLINFO_REDIRECT_URL, &location);
        if (isRedirectStatus(status) && location) {
            if (job.redirects >= kMaxRedirects) {
                finish(job, kNetErrorTooManyRedirects);
                return;
            }
            followRedirect(job, status, location);
            if (int failure = configure(job)) {
                finish(job, failure);
                return;
            }
            curl_multi_add_handle(multi, job.easy);
            return;
        }
        finish(job, 0);
    }

    static void followRedirect(Job& job, long status, const std::string& location)
    {
        URLRequest& r = job.request;
        bool toGet = (status == 303 && r.method != "HEAD") || ((status == 301 || status == 302) && r.method == "POST");
        if (toGet) {
            r.method = "GET";
            r.body.clear();
            r.headers.remove("Content-Type");
            r.headers.remove("Content-Length");
        }
        auto from = URLParts::parse(r.url);
        auto to = URLParts::parse(location);
        if (!from || !to || !from->sameOrigin(*to)) {
            r.credentials.reset();
            r.headers.remove("Authorization");
            r.headers.remove("Cookie");
        }
        r.url = location;
        job.response = URLResponse();
        job.redirects++;
        job.lastActivity = Clock::currentTime();
    }

    // Delivers the job's outcome (a reply when errorCode is 0) and forgets it.
    void finish(Job& job, int errorCode)
    {
        auto result = std::make_shared<URLResult>();
        if (errorCode)
            result->error = NetError::make(errorCode);
        else
            result->response = std::move(job.response);
        auto owner = job.owner;
        // Posted first: the waiting thread wakes while the job is put away.
        owner->post(std::move(result));
        giveBackHandle(job);
        running.erase(owner.get());  // destroys the job
    }

    // For a job that never reached the multi handle.
    static void fail(Job& job, int errorCode)
    {
        auto result = std::make_shared<URLResult>();
        result->error = NetError::make(errorCode);
        job.owner->post(std::move(result));
    }

    // When the job fails for time: its idle time-out or its deadline,
    // whichever comes first; infinity when it has neither.
    static double expiresAt(const Job& job)
    {
        double at = std::numeric_limits<double>::infinity();
        if (job.request.timeoutSeconds > 0) at = job.lastActivity + job.request.timeoutSeconds;
        if (job.request.deadlineSeconds > 0) at = std::min(at, job.startedAt + job.request.deadlineSeconds);
        return at;
    }

    void expireTimeouts()
    {
        double now = Clock::currentTime();
        std::vector<Job*> expired;
        for (auto& [key, job] : running)
            if (now >= expiresAt(*job)) expired.push_back(job.get());
        for (Job* job : expired) {
            curl_multi_remove_handle(multi, job->easy);
            finish(*job, kNetErrorTimedOut);
        }
    }

    long waitMs()
    {
        if (running.empty()) return kIdlePollMs;
        long curlMs = -1;
        curl_multi_timeout(multi, &curlMs);
        long ms = curlMs < 0 ? kIdlePollMs : std::min(curlMs, kIdlePollMs);
        auto clock = Clock::current();
        double now = clock->now();
        for (auto& [key, job] : running) {
            double at = expiresAt(*job);
            if (std::isinf(at)) continue;
            if (!clock->isRealTime()) {
                ms = std::min(ms, kManualClockPollMs);
                continue;
            }
            ms = std::min(ms, static_cast<long>(std::max(0.0, std::ceil((at - now) * 1000.0))));
        }
        return ms;
    }
};

// Transfers run by the thread of the loop they report to: while the loop has
// nothing due it waits on the transfers' sockets, so an outcome reaches it
// without a second thread's hand-off.
//
// After each sign of life (a socket became ready, work was posted) the thread
// polls without sleeping for a short while before it blocks: the reply of a
// near server, or the next request a caller posts as soon as it has its
// answer, then finds the thread awake. Waking a sleeping thread costs tens
// of microseconds on a virtual machine, more than a loopback exchange's own
// work, and a transfer sleeps and wakes several times (connected, sent,
// answered). Bounded per sign of life, so a far server or an idle loop
// costs at most kBusyPollSeconds of processor time each time.
class CurlTransport::LoopEngine final : public RunLoopWaiter {
public:
    Engine engine{false};

    void wait(double seconds) override
    {
        if (!engine.step()) return;
        if (seconds > 0 && busyPoll()) return;
        // Set by this thread (which skips the wake-up) or by another just now.
        if (interrupted_.exchange(false)) {
            keepBusy();
            return;
        }
        const long ms = std::min(engine.waitMs(), static_cast<long>(std::ceil(seconds * 1000.0)));
        int events = 0;
        curl_multi_poll(engine.multi, nullptr, 0, static_cast<int>(ms), &events);
        engine.step();
        if (events > 0 || interrupted_.load()) keepBusy();
    }

    void interrupt() override
    {
        interrupted_.store(true);
        engine.wake();
    }

private:
    static constexpr double kBusyPollSeconds = 0.0005;

    // Polling stays on for another window from now.
    void keepBusy() { busyUntil_ = Clock::machineSeconds() + kBusyPollSeconds; }

    // True when something came within the window: the loop goes round again.
    bool busyPoll()
    {
        while (Clock::machineSeconds() < busyUntil_) {
            if (interrupted_.exchange(false)) {
                keepBusy();
                return true;
            }
            int events = 0;
            curl_multi_poll(engine.multi, nullptr, 0, 0, &events);
            if (events > 0) {
                engine.step();
                keepBusy();
                return true;
            }
            // Lets a thread that shares this processor (the server of a
            // loopback exchange, say) produce what is awaited.
            std::this_thread::yield();
        }
        return false;
    }

    std::atomic<bool> interrupted_{false};
    // Clock::machineSeconds(), read and written on the loop's thread only.
    double busyUntil_ = 0;
};

CurlTransport::Engine& CurlTransport::engineFor(const URLTransfer& transfer,
                                                std::shared_ptr<RunLoopWaiter>& keepAlive)
{
    keepAlive = transfer.loop_->waiter();
    if (auto* own = dynamic_cast<LoopEngine*>(keepAlive.get())) return own->engine;
    return *engine_;
}

void CurlTransport::runTransfersOnCurrentLoop()
{
    // Made first, so that what it builds before itself outlives this engine too.
    shared();
    auto waiter = std::make_shared<LoopEngine>();
    waiter->engine.pollingThread = std::this_thread::get_id();
    Thread::current()->runLoop()->setWaiter(std::move(waiter));
}

CurlTransport& CurlTransport::shared()
{
    // Never destroyed, so that objects torn down at exit after the transport
    // has stopped can still cancel their transfers; the stop itself runs at
    // exit (below).
    static CurlTransport* const transport = new CurlTransport;
    return *transport;
}

CurlTransport::CurlTransport()
{
    // Built before the transport so that they outlive its thread at exit.
    Clock::current();
    CookieStore::shared();
    engine_ = std::make_unique<Engine>(true);
    // Registered after the statics above, so it runs before they are destroyed.
    std::atexit([] { shared().engine_->shutdown(); });
}

CurlTransport::~CurlTransport() = default;

void CurlTransport::start(const std::shared_ptr<URLTransfer>& transfer, URLRequest request)
{
    std::shared_ptr<RunLoopWaiter> keepAlive;
    engineFor(*transfer, keepAlive).add(transfer, std::move(request));
}

void CurlTransport::cancel(const URLTransfer* transfer)
{
    std::shared_ptr<RunLoopWaiter> keepAlive;
    engineFor(*transfer, keepAlive).remove(transfer);
}

}  // namespace platform
