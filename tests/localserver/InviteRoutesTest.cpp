// The local server's invitations: a send reaches players by id and is
// accepted for phone numbers and addresses, listing marks what it lists
// viewed, and the invitation's web page shows hostile text as text.
#include <gtest/gtest.h>

#include "localserver/Fixtures.h"
#include "support/ServerFixture.h"

using namespace localserver;
using namespace localserver_test;

namespace {

class InviteRoutesTest : public ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        registerServiceRoutes(*server);
    }

    // The built-in player invites themself, so the invitation is theirs to list.
    HttpResult send(const Pairs& receivers, const std::string& message = "hi")
    {
        Pairs form = {{"key", "31"}, {"invite[sender_message]", message}};
        form.insert(form.end(), receivers.begin(), receivers.end());
        return signedRequest("POST", "invites.xml", {}, form);
    }

    size_t count(const std::string& body, const std::string& text)
    {
        size_t found = 0;
        for (auto at = body.find(text); at != std::string::npos; at = body.find(text, at + 1)) ++found;
        return found;
    }
};

}  // namespace

TEST_F(InviteRoutesTest, EveryReceiverKindIsTakenAndListingMarksViewed)
{
    EXPECT_EQ(send({{"invite[receivers][]", defaults::kUserId},
                    {"invite[sms_receivers][]", "555-0100"},
                    {"invite[email_receivers][]", "cara@example.com"}})
                  .status,
              200);
    EXPECT_EQ(send({{"invite[email_receivers][]", "dan@example.com"}}).status, 200);
    EXPECT_EQ(send({}).status, 422);
    EXPECT_EQ(send({{"invite[receivers][]", "9999"}}).status, 422);

    auto first = signedRequest("GET", "invites.xml", {{"page", "1"}, {"mark_viewed", "true"}});
    ASSERT_EQ(first.status, 200);
    EXPECT_EQ(count(first.body, "<invite>"), 1u);
    EXPECT_EQ(count(first.body, "<state>unviewed</state>"), 1u);
    auto second = signedRequest("GET", "invites.xml", {{"page", "1"}});
    EXPECT_EQ(count(second.body, "<state>viewed</state>"), 1u);
}

TEST_F(InviteRoutesTest, TheWebPageEscapesTheMessageAndCarriesTheIgnoreAction)
{
    ASSERT_EQ(send({{"invite[receivers][]", defaults::kUserId}}, "<script>x</script> & more").status, 200);
    auto page = httpRequest("GET", url("client_webviews/invites/501"));
    ASSERT_EQ(page.status, 200);
    EXPECT_EQ(page.body.find("<script>"), std::string::npos);
    EXPECT_NE(page.body.find("&lt;script&gt;x&lt;/script&gt; &amp; more"), std::string::npos);
    EXPECT_NE(page.body.find("halcyon://ignoreInvite/501"), std::string::npos);
    EXPECT_EQ(httpRequest("GET", url("client_webviews/invites/999")).status, 404);
}
