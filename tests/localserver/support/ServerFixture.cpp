#include "support/ServerFixture.h"

namespace localserver_test {

using namespace localserver::defaults;

Credentials defaultUserCredentials()
{
    return {kProductKey, kProductSecret, kUserToken, kUserTokenSecret};
}

Credentials defaultConsumerCredentials()
{
    return {kProductKey, kProductSecret, "", ""};
}

void ServerFixture::SetUp()
{
    restartWith({});
}

void ServerFixture::TearDown()
{
    server.reset();
}

void ServerFixture::restartWith(localserver::ServerOptions options)
{
    server.reset();
    server = std::make_unique<localserver::Server>(std::move(options));
    ASSERT_TRUE(server->start()) << server->error();
}

HttpResult ServerFixture::signedRequest(const std::string& method, const std::string& relative, const Pairs& query,
                                        const Pairs& form, const Credentials& credentials, Placement placement)
{
    Pairs signedParams = query;
    signedParams.insert(signedParams.end(), form.begin(), form.end());
    const Pairs oauth = signRequest(method, url(relative), signedParams, credentials);

    Pairs fullQuery = query;
    std::vector<std::string> headers;
    if (placement == Placement::Header) {
        headers.push_back("Authorization: " + authorizationHeader(oauth));
    } else {
        fullQuery.insert(fullQuery.end(), oauth.begin(), oauth.end());
    }
    std::string body;
    if (method != "GET") {
        headers.push_back("Content-Type: application/x-www-form-urlencoded; charset=utf-8");
        body = formEncode(form);
    }
    const std::string target = fullQuery.empty() ? url(relative) : url(relative) + "?" + formEncode(fullQuery);
    return httpRequest(method, target, headers, body);
}

}  // namespace localserver_test
