// The cloud store and the storage host of the local server, spoken to with
// hand-made multipart bodies: limits, keys, whose blobs are whose, and which
// upload forms the bucket accepts.
#include <gtest/gtest.h>

#include <string>

#include "localserver/Fixtures.h"
#include "localserver/routes/CloudStoreRoutes.h"
#include "localserver/routes/StorageRoutes.h"
#include "support/ServerFixture.h"

using namespace localserver_test;

namespace {

const std::string kBoundary = "test-boundary-42";

// A multipart body of text fields and at most one file part.
std::string multipart(const Pairs& fields, const std::string& fileField = {}, const std::string& bytes = {})
{
    std::string body;
    for (const auto& [name, value] : fields)
        body += "--" + kBoundary + "\r\nContent-Disposition: form-data; name=\"" + name + "\"\r\n\r\n" + value + "\r\n";
    if (!fileField.empty())
        body += "--" + kBoundary + "\r\nContent-Disposition: form-data; name=\"" + fileField +
                "\"; filename=\"f.blob\"\r\nContent-Type: application/octet-stream\r\n\r\n" + bytes + "\r\n";
    return body + "--" + kBoundary + "--";
}

class BlobRoutesTest : public ServerFixture {
protected:
    void SetUp() override
    {
        ServerFixture::SetUp();
        store = localserver::registerCloudStoreRoutes(*server);
        bucket = localserver::registerStorageRoutes(*server);
    }

    HttpResult postMultipart(const std::string& relative, const std::string& body,
                             const Credentials* credentials = nullptr)
    {
        std::vector<std::string> headers = {"Content-Type: multipart/form-data; boundary=" + kBoundary};
        if (credentials)
            headers.push_back("Authorization: " + authorizationHeader(signRequest("POST", url(relative), {}, *credentials)));
        return httpRequest("POST", url(relative), headers, body);
    }
    HttpResult storeBlob(const std::string& key, const std::string& bytes,
                         const Credentials& credentials = defaultUserCredentials())
    {
        return postMultipart("cloud_stores", multipart({{"key", key}}, "blob", bytes), &credentials);
    }

    std::shared_ptr<localserver::CloudStore> store;
    std::shared_ptr<localserver::StorageBucket> bucket;
};

Credentials otherUser()
{
    using namespace localserver::defaults;
    return {kProductKey, kProductSecret, kOtherUserToken, kOtherUserTokenSecret};
}

}  // namespace

TEST_F(BlobRoutesTest, CloudStoreKeepsEachUsersBlobsWithinTheLimit)
{
    EXPECT_EQ(storeBlob("atLimit", std::string(localserver::kCloudStoreLimit, 'x')).status, 200);
    EXPECT_EQ(storeBlob("overLimit", std::string(localserver::kCloudStoreLimit + 1, 'x')).status, 507);
    // Size is judged before the key.
    EXPECT_EQ(storeBlob("1a", std::string(localserver::kCloudStoreLimit + 1, 'x')).status, 507);
    EXPECT_EQ(storeBlob("1a", "x").status, 406);
    EXPECT_EQ(storeBlob("a.b", "x").status, 406);
    EXPECT_EQ(postMultipart("cloud_stores", multipart({{"key", "nofile"}}), nullptr).status, 401);
    auto creds = defaultUserCredentials();
    EXPECT_EQ(postMultipart("cloud_stores", multipart({{"key", "nofile"}}), &creds).status, 406);

    const std::string bytes("HCZLHDR0\x00\x01\r\n--", 14);
    EXPECT_EQ(storeBlob("mine", bytes).status, 200);
    EXPECT_EQ(storeBlob("theirs", "other", otherUser()).status, 200);
    auto got = signedRequest("GET", "cloud_stores/mine.blob");
    EXPECT_EQ(got.status, 200);
    EXPECT_EQ(got.body, bytes) << "the bytes as sent";
    EXPECT_EQ(signedRequest("GET", "cloud_stores/theirs.blob").status, 404);
    EXPECT_EQ(store->keys(localserver::defaults::kUserId), (std::vector<std::string>{"atLimit", "mine"}));

    auto list = signedRequest("GET", "cloud_stores.xml", {}, {}, otherUser());
    EXPECT_EQ(list.status, 200);
    EXPECT_NE(list.body.find("<cloud_store><user_id>1002</user_id><key>theirs</key></cloud_store>"), std::string::npos)
        << list.body;
    EXPECT_EQ(list.body.find("mine"), std::string::npos);
}

TEST_F(BlobRoutesTest, StorageTakesOnlyTheFormsItIssued)
{
    auto fields = bucket->issueUploadFields("score-1.blob", 10);
    auto form = [&](const localserver::StorageUploadFields& f) {
        return Pairs{{"key", f.key}, {"AWSAccessKeyId", f.accessKeyId}, {"acl", f.acl}, {"policy", f.policy},
                     {"signature", f.signature}};
    };
    auto forged = fields;
    forged.signature = fields.signature.substr(1);
    EXPECT_EQ(postMultipart("storage", multipart(form(forged), "file", "blob")).status, 403);
    auto otherKey = fields;
    otherKey.key = "score-2.blob";
    EXPECT_EQ(postMultipart("storage", multipart(form(otherKey), "file", "blob")).status, 403);
    auto otherAccessKey = fields;
    otherAccessKey.accessKeyId = "SOMEONE";
    EXPECT_EQ(postMultipart("storage", multipart(form(otherAccessKey), "file", "blob")).status, 403);
    EXPECT_EQ(postMultipart("storage", multipart(form(fields), "file", std::string(11, 'x'))).status, 403);
    EXPECT_EQ(postMultipart("storage", multipart(form(fields))).status, 400);
    EXPECT_FALSE(bucket->object("score-1.blob"));
    EXPECT_EQ(httpRequest("GET", bucket->objectUrl("score-1.blob")).status, 404);

    EXPECT_EQ(postMultipart("storage", multipart(form(fields), "file", std::string(10, 'x'))).status, 204);
    auto served = httpRequest("GET", bucket->objectUrl("score-1.blob"));
    EXPECT_EQ(served.status, 200);
    EXPECT_EQ(served.body, std::string(10, 'x'));
}
