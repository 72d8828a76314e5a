#include "ServerAnswer.h"

#include <optional>

#include "platform/net/URLRequest.h"
#include "platform/net/URLTransfer.h"
#include "platform/runtime/Thread.h"

namespace serveranswer {

void OddReplyWatch::sessionFailureWithException(const std::shared_ptr<HCSession>&,
                                                const std::shared_ptr<HCServerException>& exception)
{
    if (!exception) answeredOddly = true;
}

namespace {

constexpr double kAskSeconds = 5;

// The status of one GET of `url`, through the client's own transport; 0
// when none came in time. The main run loop turns meanwhile.
int statusOfGet(const std::string& url)
{
    platform::URLRequest request;
    request.url = url;
    request.deadlineSeconds = kAskSeconds;
    request.useCookies = false;
    std::optional<int> status;
    auto loop = platform::Thread::mainThread()->runLoop();
    auto transfer = platform::URLTransfer::start(request, loop, [&status](const platform::URLResult& result) {
        status = result.isReply() ? result.response.statusCode : 0;
    });
    loop->runUntil([&status] { return status.has_value(); }, kAskSeconds + 1);
    transfer->cancel();
    return status.value_or(0);
}

}  // namespace

std::string whatAnswered(const std::string& url)
{
    const int status = statusOfGet(url);
    if (status == 0) {
        return "no answer from the server at " + url + " when asked again; it answered the log-in, but not as the "
               "service does";
    }
    const std::string answered = "the address " + url + " answered " + std::to_string(status);
    if (status == 404 || status == 501) return answered + ", but not as the service does: it is not the service";
    if (status == 401 || status == 450 || status >= 500) {
        return answered + ": the service (or what stands in front of it) is failing or under maintenance";
    }
    return "the address " + url + " answered, but not as the service does (status " + std::to_string(status) + ")";
}

}  // namespace serveranswer
