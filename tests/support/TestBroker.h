#pragma once
// The message broker of a test run. scripts/test starts one node for the
// whole run and exports its ports (HC_BROKER_*); a test program started by
// hand starts its own with scripts/broker and stops it at exit. Tests that
// need it open with HC_REQUIRE_BROKER: without an installed broker they are
// skipped with the reason, except under CI, where they fail.
//
// Thread: testBroker() may be called from any thread; the first call starts
// the broker when needed.
#include <optional>
#include <string>

namespace testsupport {

struct BrokerEndpoints {
    int stompTlsPort = 0;
    int stompPort = 0;
    int managementPort = 0;
    std::string caFile;
};

std::optional<BrokerEndpoints> testBroker();
// Why testBroker() has nothing.
std::string brokerUnavailableReason();
bool brokerRequired();

}  // namespace testsupport

#define HC_REQUIRE_BROKER(endpoints)                                                                     \
    const auto endpoints = testsupport::testBroker();                                                    \
    if (!endpoints) {                                                                                    \
        if (testsupport::brokerRequired()) FAIL() << "broker needed in CI: " << testsupport::brokerUnavailableReason(); \
        GTEST_SKIP() << "no message broker: " << testsupport::brokerUnavailableReason();                \
    }
