// The cloud store and the storage road against the local server over real
// HTTP: what goes on the wire, what the server keeps, what comes back, and
// how each failure is reported.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/storage/HCBlobObserverHooks.h"
#include "core/storage/HCCloudStorageBlob.h"
#include "core/storage/ZlibReference.h"
#include "core/storage/HCCloudStorageService.h"
#include "core/storage/HCCompressableData.h"
#include "core/storage/HCS3Response.h"
#include "core/storage/HCS3UploadParameters.h"
#include "core/resources/HCResourceClass.h"
#include "e2e/support/LiveServerTest.h"
#include "kernel/xml/HCXmlDocument.h"
#include "localserver/Fixtures.h"
#include "localserver/routes/CloudStoreRoutes.h"
#include "localserver/routes/StorageRoutes.h"
#include "social/cloudstorage/HCCloudStorage.h"
#include "social/cloudstorage/HCCloudStorageRecorder.h"
#include "support/TestSupport.h"
#include "transport/handles/HCRequestHandle.h"

namespace {

using DataPtr = std::shared_ptr<platform::Data>;
using localserver::defaults::kUserId;

const std::string kSavedGame =
    "level=12;stars=2,3,3,1,0,2,3,3,3,2,1,3;score=48211;sound=on;music=off;achievements=1,1,0,1,0,0,1,1,0;"
    "level=12;stars=2,3,3,1,0,2,3,3,3,2,1,3;score=48211;sound=on;music=off;achievements=1,1,0,1,0,0,1,1,0;";

// What reached one pair of callbacks.
struct Result {
    std::string side;
    platform::ObjectPtr value;
    bool onMainThread = false;
};

struct Callbacks {
    std::shared_ptr<std::vector<Result>> results = std::make_shared<std::vector<Result>>();
    HCDelegate success() const { return record("success"); }
    HCDelegate failure() const { return record("failure"); }
    HCDelegate record(std::string side) const
    {
        return HCDelegate::withFunction([results = results, side](const platform::ObjectPtr& v) {
            results->push_back(Result{side, v, platform::Thread::isMainThread()});
        });
    }
    bool wait() const
    {
        return testsupport::runMainUntil([this] { return !results->empty(); });
    }
    const Result& only() const { return results->at(0); }
    int status() const
    {
        auto status = platform::as<HCCloudStorageStatus_Object>(only().value);
        return status ? status->getStatusCode() : -1;
    }
};

class CloudStorageEndToEndTest : public LiveServerTest {
protected:
    void SetUp() override
    {
        LiveServerTest::SetUp();
        store = localserver::registerCloudStoreRoutes(*server);
        bucket = localserver::registerStorageRoutes(*server);
        HCBlobObserverHooks::install();
        HCCloudStorageService::initializeService();
    }
    void TearDown() override
    {
        HCCloudStorageService::shutdownService();
        HCCompressableData::setDisableCompression(false);
        HCBlobObserverHooks::remove();
        LiveServerTest::TearDown();
    }

    std::shared_ptr<HCCloudStorageService> service() { return HCCloudStorageService::sharedInstance(); }

    Callbacks upload(const DataPtr& blob, const std::string& key)
    {
        Callbacks callbacks;
        EXPECT_TRUE(HCCloudStorageService::uploadBlob(blob, key, callbacks.success(), callbacks.failure()));
        EXPECT_TRUE(callbacks.wait());
        return callbacks;
    }
    Callbacks download(const std::string& key)
    {
        Callbacks callbacks;
        EXPECT_TRUE(HCCloudStorageService::downloadBlobWithKey(key, callbacks.success(), callbacks.failure()));
        EXPECT_TRUE(callbacks.wait());
        return callbacks;
    }
    std::string downloadedText(const std::string& key)
    {
        auto result = download(key);
        auto data = platform::as<platform::Data>(result.only().value);
        EXPECT_EQ(result.only().side, "success");
        return data ? data->toString() : "<no data>";
    }
    // The bucket's upload fields as a reply carries them, read back by the client.
    std::shared_ptr<HCS3UploadParameters> uploadParameters(const localserver::StorageUploadFields& fields)
    {
        localserver::ResourceList list;
        list.resources.push_back(localserver::StorageBucket::uploadParametersNode(fields));
        HCResourceNameMap map;
        HCAddKnownResource<HCS3UploadParameters>(map);
        auto document = HCXmlDocument::xmlDocumentWithData(localserver::writeFlatReply(list));
        auto series = HCResource::resourcesFromXml(*document, &map);
        return series->count() == 1 ? platform::as<HCS3UploadParameters>(series->objectAtIndex(0)) : nullptr;
    }
    std::shared_ptr<HCS3Response> s3Result(const Callbacks& callbacks, const std::string& side)
    {
        EXPECT_TRUE(callbacks.wait());
        EXPECT_EQ(callbacks.results->size(), 1u);
        EXPECT_EQ(callbacks.only().side, side);
        EXPECT_TRUE(callbacks.only().onMainThread);
        return platform::as<HCS3Response>(callbacks.only().value);
    }

    std::shared_ptr<localserver::CloudStore> store;
    std::shared_ptr<localserver::StorageBucket> bucket;
};

TEST_F(CloudStorageEndToEndTest, UploadDownloadAndKeyListOverRealHttp)
{
    auto saved = platform::Data::fromString(kSavedGame);
    auto uploaded = upload(saved, "save1");
    EXPECT_EQ(uploaded.only().side, "success");
    EXPECT_TRUE(uploaded.only().onMainThread);
    EXPECT_TRUE(platform::as<HCPaginatedSeries>(uploaded.only().value));

    auto log = server->log().entries();
    ASSERT_EQ(log.size(), 1u);
    const auto& post = log[0].request;
    EXPECT_EQ(post.method, "POST");
    EXPECT_EQ(post.target, "/cloud_stores") << "one leading \"/\" is the root's";
    EXPECT_EQ(log[0].status, 200);
    ASSERT_EQ(post.params.size(), 1u);
    EXPECT_EQ(post.params[0], (std::pair<std::string, std::string>{"key", "save1"}));
    ASSERT_EQ(post.files.size(), 1u);
    EXPECT_EQ(post.files[0].name, "blob");
    const std::string stored = HCCompressableData::serializedDataFromData(saved)->toString();
    EXPECT_EQ(stored.substr(0, 8), "HCZLHDR0");
    EXPECT_EQ(post.files[0].bytes, stored);
    EXPECT_EQ(store->get(kUserId, "save1"), stored);

    EXPECT_EQ(downloadedText("save1"), kSavedGame);
    EXPECT_EQ(server->log().entries().back().request.path, "cloud_stores/save1.blob");

    EXPECT_EQ(upload(platform::Data::fromString("ABC"), "slot-2").only().side, "success");
    EXPECT_EQ(store->get(kUserId, "slot-2"), "ABC");
    EXPECT_EQ(downloadedText("slot-2"), "ABC");

    Callbacks index;
    ASSERT_TRUE(service()->getIndexOnSuccess(index.success(), index.failure()));
    ASSERT_TRUE(index.wait());
    auto series = platform::as<HCPaginatedSeries>(index.only().value);
    ASSERT_TRUE(series);
    ASSERT_EQ(series->count(), 2u);
    std::vector<std::string> keys;
    for (size_t i = 0; i < series->count(); ++i) {
        auto entry = platform::as<HCCloudStorageBlob>(series->objectAtIndex(i));
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->userId(), kUserId);
        keys.push_back(entry->keyStr());
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"save1", "slot-2"}));

}

TEST_F(CloudStorageEndToEndTest, AStoredFormOfExactlyTheLimitIsSent)
{
    // Incompressible, so the stored form is the blob itself.
    auto blob = platform::Data::make(testsupport::incompressibleBytes(HCCompressableData::kStorageLimit, 5));
    EXPECT_EQ(upload(blob, "big").only().side, "success");
    EXPECT_EQ(store->get(kUserId, "big"), blob->toString());
}

TEST_F(CloudStorageEndToEndTest, FailedRequestsReachTheCallerAsStatuses)
{
    EXPECT_EQ(download("nothing-here").status(), 404);

    server->faults().injectFor("POST", "cloud_stores", localserver::Fault::reply(507));
    EXPECT_EQ(upload(platform::Data::fromString("x"), "full").status(), 507);
    server->faults().injectFor("GET", "cloud_stores/full.blob", localserver::Fault::reply(507));
    EXPECT_EQ(download("full").status(), 404);
    server->faults().injectFor("POST", "cloud_stores", localserver::Fault::reply(500));
    EXPECT_EQ(upload(platform::Data::fromString("x"), "broken").status(), 404);

    server->faults().injectFor("POST", "cloud_stores", localserver::Fault::dropConnection());
    auto dropped = upload(platform::Data::fromString("x"), "dropped");
    EXPECT_EQ(dropped.only().side, "failure");
    EXPECT_EQ(dropped.status(), 504);
    EXPECT_TRUE(dropped.only().onMainThread);
}

TEST_F(CloudStorageEndToEndTest, AStoredBlobThatDoesNotDecodeIsAFailureNotAnEmptySuccess)
{
    std::string corrupt = HCCompressableData::serializedDataFromData(platform::Data::fromString(kSavedGame))->toString();
    corrupt[corrupt.size() - 3] ^= 0x5A;
    store->put(kUserId, "corrupt", corrupt);
    auto result = download("corrupt");
    EXPECT_EQ(result.only().side, "failure");
    EXPECT_EQ(result.status(), 406);
}

TEST_F(CloudStorageEndToEndTest, WithCompressionOffBlobsTravelAsGivenAndHeaderFormsStillDecode)
{
    EXPECT_EQ(upload(platform::Data::fromString(kSavedGame), "before").only().side, "success");
    service()->disableCompression();
    HCCompressableData::setDisableCompression(true);

    EXPECT_EQ(upload(platform::Data::fromString(kSavedGame), "after").only().side, "success");
    EXPECT_EQ(store->get(kUserId, "after"), kSavedGame);
    EXPECT_EQ(downloadedText("after"), kSavedGame);
    EXPECT_EQ(store->get(kUserId, "before")->substr(0, 8), "HCZLHDR0");
    EXPECT_EQ(downloadedText("before"), kSavedGame);
}

TEST_F(CloudStorageEndToEndTest, TheStorageRoadUploadsTheFormAndServesTheBlobBack)
{
    auto fields = bucket->issueUploadFields("score-77.blob");
    auto parameters = uploadParameters(fields);
    ASSERT_TRUE(parameters);
    EXPECT_EQ(parameters->action(), fields.action);
    auto blob = platform::Data::fromString(kSavedGame);
    auto pass = platform::String::make("score 77");

    Callbacks uploaded;
    HCCloudStorageService::uploadS3Blob(blob, parameters, pass, uploaded.success(), uploaded.failure());
    auto response = s3Result(uploaded, "success");
    ASSERT_TRUE(response);
    EXPECT_EQ(response->statusCode(), 204);
    EXPECT_EQ(response->userParam(), pass);

    const auto stored = HCCompressableData::serializedDataFromData(blob);
    EXPECT_EQ(bucket->object("score-77.blob"), stored->toString());
    auto log = server->log().entries();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].request.target, "/storage");
    EXPECT_EQ(log[0].request.header("Content-Type"),
              "multipart/form-data;boundary=8b1b0390bf21a96d7f9b6d9ef5d3438ae3556eff");
    EXPECT_EQ(log[0].request.body,
              parameters->createS3HttpBodyForBlob(stored, HCS3UploadParameters::getMultiPartBoundary())->toString());

    Callbacks downloaded;
    auto handle = HCCloudStorageService::downloadS3Blob(bucket->objectUrl("score-77.blob"), pass, downloaded.success(),
                                                        downloaded.failure());
    ASSERT_TRUE(handle);
    EXPECT_EQ(handle->requestKind(), HCRequestHandle::RequestKind::HttpDownload);
    response = s3Result(downloaded, "success");
    ASSERT_TRUE(response && response->data());
    EXPECT_EQ(response->data()->toString(), kSavedGame);
    EXPECT_EQ(response->statusCode(), 200);
    EXPECT_EQ(response->userParam(), pass);
}

TEST_F(CloudStorageEndToEndTest, ABlobHoldingTheBoundaryReachesTheBucketWholeAndForgesNoField)
{
    // Off, so the blob goes up byte for byte, boundary and all.
    service()->disableCompression();
    auto fields = bucket->issueUploadFields("forged.blob");
    auto parameters = uploadParameters(fields);
    ASSERT_TRUE(parameters);
    const std::string usual = HCS3UploadParameters::getMultiPartBoundary();
    const std::string text = "level=3\r\n--" + usual +
                             "\r\nContent-Disposition: form-data; name=\"acl\"\r\n\r\nprivate";
    auto blob = platform::Data::fromString(text);

    Callbacks uploaded;
    HCCloudStorageService::uploadS3Blob(blob, parameters, uploaded.success(), uploaded.failure());
    ASSERT_TRUE(s3Result(uploaded, "success"));
    EXPECT_EQ(bucket->object("forged.blob"), text);

    const auto log = server->log().entries();
    ASSERT_EQ(log.size(), 1u);
    const auto& request = log[0].request;
    EXPECT_NE(request.header("Content-Type"), "multipart/form-data;boundary=" + usual);
    using Field = std::pair<std::string, std::string>;
    EXPECT_EQ(request.params, (std::vector<Field>{{"key", fields.key},
                                                  {"AWSAccessKeyId", fields.accessKeyId},
                                                  {"acl", fields.acl},
                                                  {"policy", fields.policy},
                                                  {"signature", fields.signature}}));
    ASSERT_EQ(request.files.size(), 1u);
    EXPECT_EQ(request.files[0].name, "file");
    EXPECT_EQ(request.files[0].bytes, text);
}

TEST_F(CloudStorageEndToEndTest, WithCompressionOffABlobThatLooksStoredComesBackItselfOnBothRoads)
{
    // A saved game the game keeps in the stored form itself, and the
    // shortest bytes that begin like a header.
    const std::string nested = HCCompressableData::serializedDataFromData(platform::Data::fromString(kSavedGame))->toString();
    service()->disableCompression();
    HCCompressableData::setDisableCompression(true);
    for (const std::string& text : {nested, std::string("HCZLHDR0\x4B\x01\x00\x00", 12)}) {
        SCOPED_TRACE(text.size());
        EXPECT_EQ(upload(platform::Data::fromString(text), "nested").only().side, "success");
        EXPECT_EQ(downloadedText("nested"), text);

        Callbacks uploaded;
        HCCloudStorageService::uploadS3Blob(platform::Data::fromString(text),
                                            uploadParameters(bucket->issueUploadFields("nested.blob")), uploaded.success(),
                                            uploaded.failure());
        ASSERT_TRUE(s3Result(uploaded, "success"));
        Callbacks downloaded;
        HCCloudStorageService::downloadS3Blob(bucket->objectUrl("nested.blob"), downloaded.success(), downloaded.failure());
        auto response = s3Result(downloaded, "success");
        ASSERT_TRUE(response && response->data());
        EXPECT_EQ(response->data()->toString(), text);
    }
}

TEST_F(CloudStorageEndToEndTest, StorageRoadFailuresCarryTheStatusAndNoData)
{
    auto pass = platform::String::make("score 78");
    Callbacks missing;
    HCCloudStorageService::downloadS3Blob(bucket->objectUrl("absent.blob"), pass, missing.success(), missing.failure());
    auto response = s3Result(missing, "failure");
    ASSERT_TRUE(response);
    EXPECT_EQ(response->statusCode(), 404);
    EXPECT_EQ(response->data(), nullptr);
    EXPECT_EQ(response->userParam(), pass);

    // An object that does not decode is a failure, with the reply's status.
    std::string corrupt = HCCompressableData::serializedDataFromData(platform::Data::fromString(kSavedGame))->toString();
    corrupt.resize(corrupt.size() - 4);
    bucket->putObject("corrupt.blob", corrupt);
    Callbacks undecodable;
    HCCloudStorageService::downloadS3Blob(bucket->objectUrl("corrupt.blob"), pass, undecodable.success(),
                                          undecodable.failure());
    response = s3Result(undecodable, "failure");
    ASSERT_TRUE(response);
    EXPECT_EQ(response->data(), nullptr);
    EXPECT_EQ(response->statusCode(), 200);
}

TEST_F(CloudStorageEndToEndTest, AnEmptyBlobGoesUpAsAnEmptyFileInEveryFormAndComesBackEmpty)
{
    using Switch = void (HCCloudStorageService::*)();
    for (const auto& [form, flip] : {std::pair<const char*, Switch>{"stored form", nullptr},
                                     {"legacy stream", &HCCloudStorageService::useLegacyHeaderlessCompression},
                                     {"uncompressed", &HCCloudStorageService::disableCompression}}) {
        SCOPED_TRACE(form);
        HCCloudStorageService::shutdownService();
        HCCloudStorageService::initializeService();
        if (flip) (service().get()->*flip)();
        server->log().clear();
        Callbacks uploaded;
        HCCloudStorageService::uploadS3Blob(std::make_shared<platform::Data>(),
                                            uploadParameters(bucket->issueUploadFields("empty.blob")),
                                            uploaded.success(), uploaded.failure());
        ASSERT_TRUE(s3Result(uploaded, "success"));
        const auto log = server->log().entries();
        ASSERT_EQ(log.size(), 1u);
        ASSERT_EQ(log[0].request.files.size(), 1u);
        EXPECT_EQ(log[0].request.files[0].bytes, "");
        EXPECT_EQ(bucket->object("empty.blob"), "");

        Callbacks downloaded;
        HCCloudStorageService::downloadS3Blob(bucket->objectUrl("empty.blob"), downloaded.success(),
                                              downloaded.failure());
        auto response = s3Result(downloaded, "success");
        ASSERT_TRUE(response && response->data());
        EXPECT_EQ(response->data()->length(), 0u);
    }
}

TEST_F(CloudStorageEndToEndTest, TheLegacySwitchSendsBareStreamsOnTheStorageRoadOnly)
{
    service()->useLegacyHeaderlessCompression();
    auto parameters = uploadParameters(bucket->issueUploadFields("legacy.blob"));
    Callbacks uploaded;
    HCCloudStorageService::uploadS3Blob(platform::Data::fromString("ABC"), parameters, uploaded.success(),
                                        uploaded.failure());
    ASSERT_TRUE(s3Result(uploaded, "success"));
    // Even where the stream is longer than the blob.
    EXPECT_EQ(bucket->object("legacy.blob"), platform::Data::make(blobtest::zlibReference({'A', 'B', 'C'}))->toString());

    Callbacks downloaded;
    HCCloudStorageService::downloadS3Blob(bucket->objectUrl("legacy.blob"), downloaded.success(), downloaded.failure());
    auto response = s3Result(downloaded, "success");
    ASSERT_TRUE(response && response->data());
    EXPECT_EQ(response->data()->toString(), "ABC");

    // The key-value store keeps the stored form.
    EXPECT_EQ(upload(platform::Data::fromString(kSavedGame), "kv").only().side, "success");
    EXPECT_EQ(store->get(kUserId, "kv")->substr(0, 8), "HCZLHDR0");
}

}  // namespace

namespace {

class HCCloudStorageEndToEndTest : public CloudStorageEndToEndTest {
protected:
    void SetUp() override
    {
        CloudStorageEndToEndTest::SetUp();
        HCCloudStorage::setDelegate(&recorder);
    }
    void TearDown() override
    {
        HCCloudStorage::setDelegate(nullptr);
        CloudStorageEndToEndTest::TearDown();
    }
    bool waitForCalls(size_t count)
    {
        return testsupport::runMainUntil([&] { return recorder.calls.size() >= count; });
    }
    HCCloudStorageRecorder recorder;
};

}  // namespace

TEST_F(HCCloudStorageEndToEndTest, AGameStoresASavedGameListsItsKeysAndReadsItBack)
{
    ASSERT_TRUE(HCCloudStorage::downloadKeysForCurrentUser());
    ASSERT_TRUE(waitForCalls(1));
    EXPECT_EQ(recorder.calls.back(), "didFailDownloadKeysForCurrentUser") << "an empty store is a failure";

    ASSERT_TRUE(HCCloudStorage::upload(platform::Data::fromString(kSavedGame), "slot1"));
    ASSERT_TRUE(waitForCalls(2));
    ASSERT_TRUE(HCCloudStorage::upload(platform::Data::fromString("ABC"), "slot2"));
    ASSERT_TRUE(waitForCalls(3));
    ASSERT_TRUE(HCCloudStorage::downloadKeysForCurrentUser());
    ASSERT_TRUE(waitForCalls(4));
    ASSERT_TRUE(HCCloudStorage::downloadDataWithKey("slot1"));
    ASSERT_TRUE(waitForCalls(5));
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"didFailDownloadKeysForCurrentUser", "didUpload", "didUpload",
                                                        "didDownloadKeysForCurrentUser slot1 slot2",
                                                        "didDownloadData " + kSavedGame}));
    EXPECT_TRUE(recorder.onMainThread);
}

TEST_F(HCCloudStorageEndToEndTest, ClearingTheDelegateCancelsTheClassRequests)
{
    ASSERT_TRUE(HCCloudStorage::upload(platform::Data::fromString(kSavedGame), "slot1"));
    HCCloudStorage::setDelegate(nullptr);
    HCCloudStorageRecorder later;
    HCCloudStorage::setDelegate(&later);
    fence();
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_TRUE(later.calls.empty());
    HCCloudStorage::setDelegate(&recorder);
}
