// What the public player classes make of the service's replies: the friends
// lists in their sectioned and flat shapes, and the social-network check
// for replies of every shape.
#include <gtest/gtest.h>

#include "core/replies/HCPaginatedSeries.h"
#include "core/users/HCUser.h"
#include "kernel/xml/HCXmlDocument.h"
#include "social/friends/HCFriendsService.h"
#include "social/users/HCCurrentUser.h"
#include "social/users/HCUsersCredentialService.h"

namespace {

class PlayerRepliesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HCFriendsService::initializeService();
        HCUsersCredentialService::initializeService();
    }
    void TearDown() override
    {
        HCUsersCredentialService::shutdownService();
        HCFriendsService::shutdownService();
    }

    template <class S>
    static std::shared_ptr<HCPaginatedSeries> read(const std::string& xml)
    {
        auto document = HCXmlDocument::xmlDocumentWithData(xml);
        return HCResource::resourcesFromXml(*document, S::sharedInstance()->getKnownResources().get());
    }

    static std::string user(const std::string& id, const std::string& name)
    {
        return "<user><id>" + id + "</id><name>" + name + "</name></user>";
    }
    static std::string section(const std::string& title, const std::string& resources)
    {
        return "<resource_section><name>" + title + "</name><identifier>" + title + "</identifier><resources>" +
               resources + "</resources></resource_section>";
    }
    static std::vector<std::string> names(const std::vector<HCUserPtr>& users)
    {
        std::vector<std::string> out;
        for (const auto& u : users) out.push_back(u->name().value_or("?"));
        return out;
    }
};

TEST_F(PlayerRepliesTest, FriendsListsSkipOnlyTheOnlineNowSectionAndTakeTheFlatShapeToo)
{
    // "Online Now" repeats players listed under their letter; a title that
    // merely contains the words is a real section.
    auto sectioned = read<HCFriendsService>("<resource_sections>" + section("Online Now", user("2", "Ben")) +
                                            section("A", user("1", "Ann") + user("4", "Ari")) +
                                            section("B", user("2", "Ben")) + section("Online Now!", user("3", "Cy")) +
                                            "</resource_sections>");
    EXPECT_EQ(names(HCUser::_extractUsersFromPaginatedSeries(sectioned)),
              (std::vector<std::string>{"Ann", "Ari", "Ben", "Cy"}));

    auto flat = read<HCFriendsService>("<resources>" + user("2", "Ben") + user("1", "Ann") + "</resources>");
    EXPECT_EQ(names(HCUser::_extractUsersFromPaginatedSeries(flat)), (std::vector<std::string>{"Ben", "Ann"}));

    auto onlyOnline =
        read<HCFriendsService>("<resource_sections>" + section("Online Now", user("2", "Ben")) + "</resource_sections>");
    EXPECT_TRUE(HCUser::_extractUsersFromPaginatedSeries(onlyOnline).empty());
    EXPECT_TRUE(HCUser::_extractUsersFromPaginatedSeries(nullptr).empty());
    EXPECT_TRUE(HCUser::_extractUsersFromPaginatedSeries(platform::Array::make()).empty()) << "not a series";
}

TEST_F(PlayerRepliesTest, SocialNetworkCheckNeedsATwitterOrFacebookLoginInTheFirstSection)
{
    auto credential = [](const std::string& type) {
        return "<users_credential><credential_type>" + type + "</credential_type><is_linked>true</is_linked>"
               "</users_credential>";
    };
    auto check = [&](const std::string& xml) {
        return HCCurrentUser::_connectedToSocialNetwork(read<HCUsersCredentialService>(xml));
    };
    EXPECT_TRUE(check("<resource_sections>" + section("Credentials", credential("http_basic") + credential("twitter")) +
                      "</resource_sections>"));
    EXPECT_TRUE(check("<resource_sections>" + section("Credentials", credential("fbconnect")) + "</resource_sections>"));
    EXPECT_FALSE(check("<resource_sections>" + section("Credentials", credential("http_basic")) + "</resource_sections>"));
    // Replies of other shapes answer NO instead of reading what is not there.
    EXPECT_FALSE(check("<resource_sections></resource_sections>"));
    EXPECT_FALSE(check("<resources></resources>"));
    EXPECT_FALSE(check("<resources>" + credential("twitter") + "</resources>"));
    EXPECT_FALSE(HCCurrentUser::_connectedToSocialNetwork(nullptr));
}

}  // namespace
