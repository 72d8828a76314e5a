#include "support/TestBroker.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace testsupport {

namespace {

struct State {
    std::once_flag once;
    std::optional<BrokerEndpoints> endpoints;
    std::string reason;
    std::string ownDir;  // a broker this process started
};

State& state()
{
    static State s;
    return s;
}

int envPort(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::atoi(value) : 0;
}

void stopOwnBroker()
{
    const auto& dir = state().ownDir;
    if (dir.empty()) return;
    const std::string command = std::string(HC_SOURCE_ROOT) + "/scripts/broker stop '" + dir + "' >/dev/null 2>&1";
    [[maybe_unused]] int rc = std::system(command.c_str());
}

// Reads the "export NAME=VALUE" lines scripts/broker prints.
void startOwnBroker(State& s)
{
    const std::string script = std::string(HC_SOURCE_ROOT) + "/scripts/broker";
    if (std::system((script + " available").c_str()) != 0) {
        s.reason = "rabbitmq-server is not installed (scripts/setup installs it)";
        return;
    }
    FILE* out = popen((script + " start").c_str(), "r");
    if (!out) {
        s.reason = "cannot run scripts/broker";
        return;
    }
    BrokerEndpoints e;
    char line[1024];
    while (std::fgets(line, sizeof line, out)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        const auto equals = text.find('=');
        if (text.rfind("export ", 0) != 0 || equals == std::string::npos) continue;
        const std::string name = text.substr(7, equals - 7);
        const std::string value = text.substr(equals + 1);
        if (name == "HC_BROKER_DIR") s.ownDir = value;
        if (name == "HC_BROKER_STOMP_TLS_PORT") e.stompTlsPort = std::atoi(value.c_str());
        if (name == "HC_BROKER_STOMP_PORT") e.stompPort = std::atoi(value.c_str());
        if (name == "HC_BROKER_HTTP_PORT") e.managementPort = std::atoi(value.c_str());
        if (name == "HC_BROKER_CA_FILE") e.caFile = value;
    }
    if (pclose(out) != 0 || e.stompTlsPort == 0) {
        s.reason = "scripts/broker start failed";
        return;
    }
    s.endpoints = e;
    std::atexit(stopOwnBroker);
}

}  // namespace

std::optional<BrokerEndpoints> testBroker()
{
    auto& s = state();
    std::call_once(s.once, [&s] {
        if (envPort("HC_BROKER_STOMP_TLS_PORT") > 0) {
            BrokerEndpoints e;
            e.stompTlsPort = envPort("HC_BROKER_STOMP_TLS_PORT");
            e.stompPort = envPort("HC_BROKER_STOMP_PORT");
            e.managementPort = envPort("HC_BROKER_HTTP_PORT");
            const char* ca = std::getenv("HC_BROKER_CA_FILE");
            e.caFile = ca ? ca : "";
            s.endpoints = e;
            return;
        }
        startOwnBroker(s);
    });
    return s.endpoints;
}

std::string brokerUnavailableReason()
{
    testBroker();
    return state().reason;
}

bool brokerRequired()
{
    const char* ci = std::getenv("CI");
    return ci && std::string(ci) == "true";
}

}  // namespace testsupport
