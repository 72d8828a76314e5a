#pragma once
// A started local server per test, and signed requests made with the tests'
// own signer. The test thread owns the server.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "localserver/Server.h"
#include "support/HttpTestClient.h"
#include "support/TestSigner.h"

namespace localserver_test {

// The built-in game with the built-in first user.
Credentials defaultUserCredentials();
// The built-in game alone.
Credentials defaultConsumerCredentials();

class ServerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Replaces the started server with one made from `options`.
    void restartWith(localserver::ServerOptions options);

    std::string url(const std::string& relative) const { return server->serviceRootUrl() + relative; }

    enum class Placement { Header, Query };
    // `relative` without query; `query` goes into the URL and `form` into an
    // application/x-www-form-urlencoded body (for methods other than GET).
    HttpResult signedRequest(const std::string& method, const std::string& relative, const Pairs& query = {},
                             const Pairs& form = {}, const Credentials& credentials = defaultUserCredentials(),
                             Placement placement = Placement::Header);

    std::unique_ptr<localserver::Server> server;
};

}  // namespace localserver_test
