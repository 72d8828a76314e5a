// The cloud store's rules that need no server: keys, the size limit and its
// order, statuses of failed requests, the storage road's forms and its
// multipart body byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/storage/HCBlobObserverHooks.h"
#include "core/replies/HCPaginatedSeries.h"
#include "core/resources/HCResource.h"
#include "core/resources/HCResourceClass.h"
#include "core/storage/HCCloudStorageService.h"
#include "core/storage/HCCompressableData.h"
#include "core/storage/HCS3Response.h"
#include "core/storage/HCS3UploadParameters.h"
#include "kernel/http/HCHttpService.h"
#include "kernel/xml/HCXmlDocument.h"
#include "platform/foundation/Log.h"
#include "support/TestSupport.h"

namespace {

using DataPtr = std::shared_ptr<platform::Data>;


// Every value either callback received, in order, with the side it came on.
struct Calls {
    std::vector<std::pair<std::string, platform::ObjectPtr>> received;
    HCDelegate success()
    {
        return HCDelegate::withFunction([this](const platform::ObjectPtr& v) { received.emplace_back("success", v); });
    }
    HCDelegate failure()
    {
        return HCDelegate::withFunction([this](const platform::ObjectPtr& v) { received.emplace_back("failure", v); });
    }
    int failureStatus(size_t i = 0) const
    {
        auto status = platform::as<HCCloudStorageStatus_Object>(received.at(i).second);
        return status ? status->getStatusCode() : -1;
    }
};

class CloudStorageServiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HCCloudStorageService::initializeService();
        HCBlobObserverHooks::install();
    }
    void TearDown() override
    {
        HCCloudStorageService::shutdownService();
        HCBlobObserverHooks::remove();
        testsupport::drainMain();
    }
    std::shared_ptr<HCCloudStorageService> service() { return HCCloudStorageService::sharedInstance(); }
};

std::shared_ptr<HCS3UploadParameters> parametersFromReply(const std::string& xml)
{
    HCResourceNameMap map;
    HCAddKnownResource<HCS3UploadParameters>(map);
    auto document = HCXmlDocument::xmlDocumentWithData(xml);
    auto series = HCResource::resourcesFromXml(*document, &map);
    return series->count() == 1 ? platform::as<HCS3UploadParameters>(series->objectAtIndex(0)) : nullptr;
}

}  // namespace

TEST(HCCloudStorageServiceKeys, LettersFirstThenLettersDigitsUnderscoresAndHyphens)
{
    for (const char* key : {"a", "Z", "a_-Z9", "save-slot_1", "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"})
        EXPECT_TRUE(HCCloudStorageService::keyIsValid(key)) << key;
    for (const char* key : {"", "1a", "_a", "-a", "a.b", "a b", "a/b", "\xC3\xA9", "a\xC3\xA9", "a\n"})
        EXPECT_FALSE(HCCloudStorageService::keyIsValid(key)) << key;
}

// Each refusal's status on the next turn is the public class's test (HCCloudStorageTest).
TEST_F(CloudStorageServiceTest, SizeIsJudgedBeforeTheKeyAndByTheStoredForm)
{
    Calls calls;
    // Incompressible: its stored form is the blob itself, one byte over the limit.
    auto tooLarge = platform::Data::make(testsupport::incompressibleBytes(HCCompressableData::kStorageLimit + 1, 3));
    EXPECT_EQ(HCCloudStorageService::uploadBlob(tooLarge, "1a", calls.success(), calls.failure()), nullptr);
    // A compressible blob far over the limit is measured by its stored form.
    const auto zeros = platform::Data::make(std::vector<uint8_t>(4 * HCCompressableData::kStorageLimit, 0));
    HCCloudStorageService::uploadBlob(zeros, "1a", calls.success(), calls.failure());
    testsupport::drainMain();
    ASSERT_EQ(calls.received.size(), 2u);
    EXPECT_EQ(calls.failureStatus(0), 507) << "507 although the key is bad too";
    EXPECT_EQ(calls.failureStatus(1), 406) << "its stored form fits; only the key is refused";
}

TEST_F(CloudStorageServiceTest, FailedRequestsNeverReportOk)
{
    auto s = service();
    EXPECT_EQ(s->statusForFailedRequest(0, true)->getStatusCode(), 504);
    EXPECT_EQ(s->statusForFailedRequest(0, false)->getStatusCode(), 504);
    EXPECT_TRUE(s->statusForFailedRequest(0, false)->isNetworkError());
    EXPECT_EQ(s->statusForFailedRequest(507, true)->getStatusCode(), 507);
    EXPECT_EQ(s->statusForFailedRequest(507, false)->getStatusCode(), 404);
    for (int status : {200, 204, 400, 401, 404, 500, 503})
        for (bool upload : {true, false}) {
            auto reported = s->statusForFailedRequest(status, upload);
            EXPECT_EQ(reported->getStatusCode(), 404) << status;
            EXPECT_TRUE(reported->isAnyError());
            EXPECT_FALSE(reported->isNetworkError());
        }
    EXPECT_FALSE(s->getStatusObject_Ok()->isAnyError());
}

TEST_F(CloudStorageServiceTest, TheStorageRoadUsesTheStoredFormOrWithTheLegacySwitchABareStream)
{
    const std::string text(400, 'q');
    auto blob = platform::Data::fromString(text);
    auto stored = HCCloudStorageService::compressBlob(blob);
    EXPECT_EQ(*stored, *HCCompressableData::serializedDataFromData(blob));
    EXPECT_EQ(HCCloudStorageService::uncompressBlob(stored)->toString(), text);

    // The legacy switch's bare stream, byte for byte, is checked where the
    // storage road carries it (the end-to-end cloud storage tests).
    service()->useLegacyHeaderlessCompression();
    auto legacy = HCCloudStorageService::compressBlob(blob);
    EXPECT_NE(legacy->toString().substr(0, 8), "HCZLHDR0");
    EXPECT_EQ(HCCloudStorageService::uncompressBlob(legacy)->toString(), text);
    // With the verbose switch the ratio of each legacy compression is logged.
    service()->enableVeboseCompression();
    std::vector<std::string> lines;
    platform::setLogSink([&](platform::LogLevel, const std::string& line) { lines.push_back(line); });
    const auto logged = HCCloudStorageService::compressBlob(blob);
    platform::setLogSink(nullptr);
    ASSERT_EQ(lines.size(), 1u);
    const int percent = static_cast<int>(static_cast<float>(logged->length()) / 400.0f * 100.0f);
    EXPECT_NE(lines[0].find("Halcyon: BLOB compressed. Compressed size is " + std::to_string(percent) +
                            " percent of original size."),
              std::string::npos)
        << lines[0];

    // Raw bytes are no stream.
    EXPECT_EQ(HCCloudStorageService::uncompressBlob(blob), nullptr);
    EXPECT_EQ(HCCloudStorageService::uncompressBlob(platform::Data::fromString("")), nullptr);
}

TEST_F(CloudStorageServiceTest, AnEmptyBlobHasNoTravellingFormAndNoBytesDecodeToIt)
{
    const auto empty = std::make_shared<platform::Data>();
    EXPECT_EQ(HCCloudStorageService::compressBlob(empty), nullptr);
    EXPECT_EQ(HCCloudStorageService::uncompressBlob(empty), nullptr);
    service()->useLegacyHeaderlessCompression();
    EXPECT_EQ(HCCloudStorageService::compressBlob(empty), nullptr) << "not an 8-byte stream of nothing";
    EXPECT_EQ(HCCloudStorageService::uncompressBlob(empty), nullptr);
}

TEST_F(CloudStorageServiceTest, MultipartBodyMatchesTheStorageHostsFormByteForByte)
{
    auto parameters = parametersFromReply(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><resources><blob_upload_parameters>"
        "<action>https://storage.example/bucket</action><key>scores/77.blob</key>"
        "<AWSAccessKeyId>AKID</AWSAccessKeyId><acl>public-read</acl><policy>cG9saWN5</policy>"
        "<signature>c2ln</signature></blob_upload_parameters></resources>");
    ASSERT_TRUE(parameters);
    EXPECT_EQ(parameters->action(), "https://storage.example/bucket");
    const std::string blob("\x00\x01\r\n--x", 7);
    const std::string expected =
        "--8b1b0390bf21a96d7f9b6d9ef5d3438ae3556eff\r\n"
        "Content-Disposition: form-data; name=\"key\"\r\n\r\nscores/77.blob\r\n"
        "--8b1b0390bf21a96d7f9b6d9ef5d3438ae3556eff\r\n"
        "Content-Disposition: form-data; name=\"AWSAccessKeyId\"\r\n\r\nAKID\r\n"
        "--8b1b0390bf21a96d7f9b6d9ef5d3438ae3556eff\r\n"
        "Content-Disposition: form-data; name=\"acl\"\r\n\r\npublic-read\r\n"
        "--8b1b0390bf21a96d7f9b6d9ef5d3438ae3556eff\r\n"
        "Content-Disposition: form-data; name=\"policy\"\r\n\r\ncG9saWN5\r\n"
        "--8b1b0390bf21a96d7f9b6d9ef5d3438ae3556eff\r\n"
        "Content-Disposition: form-data; name=\"signature\"\r\n\r\nc2ln\r\n"
        "--8b1b0390bf21a96d7f9b6d9ef5d3438ae3556eff\r\n"
        "Content-Disposition: form-data; name=\"file\"; filename=\"test.blob\"\r\n"
        "Content-Type: \"application/octet-stream\"\r\n\r\n" +
        blob + "\r\n--8b1b0390bf21a96d7f9b6d9ef5d3438ae3556eff--";
    const auto data = platform::Data::fromString(blob);
    const std::string boundary = parameters->multiPartBoundaryForBlob(data);
    EXPECT_EQ(boundary, HCS3UploadParameters::getMultiPartBoundary());
    EXPECT_EQ(parameters->createS3HttpBodyForBlob(data, boundary)->toString(), expected);
}

TEST_F(CloudStorageServiceTest, APartHoldingTheBoundaryGetsTheBodyABoundaryOfItsOwn)
{
    const std::string usual = HCS3UploadParameters::getMultiPartBoundary();
    auto parameters = std::make_shared<HCS3UploadParameters>();
    parameters->setKey("scores/77.blob");
    auto countDelimiters = [](const std::string& body, const std::string& boundary) {
        size_t count = 0;
        for (size_t at = body.find("--" + boundary); at != std::string::npos; at = body.find("--" + boundary, at + 1))
            ++count;
        return count;
    };
    // Five fields and the file open a part each; one more closes the body.
    auto holding = platform::Data::fromString("x\r\n--" + usual + "\r\nContent-Disposition: form-data; name=\"acl\"");
    const std::string forBlob = parameters->multiPartBoundaryForBlob(holding);
    EXPECT_NE(forBlob, usual);
    EXPECT_LE(forBlob.size(), 70u) << "longer than a boundary may be";
    EXPECT_EQ(countDelimiters(parameters->createS3HttpBodyForBlob(holding, forBlob)->toString(), forBlob), 7u);
    EXPECT_NE(parameters->multiPartBoundaryForBlob(holding), forBlob) << "a fresh one each body";

    // The fields come from a reply, so they are checked as well.
    parameters->setPolicy("cG9s" + usual);
    const std::string forField = parameters->multiPartBoundaryForBlob(platform::Data::fromString("blob"));
    EXPECT_NE(forField, usual);
    EXPECT_EQ(countDelimiters(parameters->createS3HttpBodyForBlob(platform::Data::fromString("blob"), forField)->toString(),
                              forField),
              7u);
}

TEST_F(CloudStorageServiceTest, StorageUploadsWithoutActionOrBlobOrWithAFailedCompressionSendNothing)
{
    Calls calls;
    auto parameters = std::make_shared<HCS3UploadParameters>();
    auto blob = platform::Data::fromString("blob");
    HCCloudStorageService::uploadS3Blob(blob, parameters, calls.success(), calls.failure());
    parameters->setAction("http://127.0.0.1:9/storage");
    HCCloudStorageService::uploadS3Blob(nullptr, parameters, calls.success(), calls.failure());
    HCCloudStorageService::uploadS3Blob(blob, nullptr, calls.success(), calls.failure());
    testsupport::drainMain();
    EXPECT_TRUE(calls.received.empty());
    EXPECT_TRUE(service()->getS3HttpService()->requests().empty());

    // What compression could not produce fails with status 0 rather than
    // going up as an empty file.
    auto pass = platform::String::make("score-77");
    service()->_uploadPreparedS3Blob(nullptr, *parameters, pass, calls.success(), calls.failure());
    EXPECT_TRUE(service()->getS3HttpService()->requests().empty());
    testsupport::drainMain();
    ASSERT_EQ(calls.received.size(), 1u);
    EXPECT_EQ(calls.received[0].first, "failure");
    auto response = platform::as<HCS3Response>(calls.received[0].second);
    ASSERT_TRUE(response);
    EXPECT_EQ(response->statusCode(), 0);
    EXPECT_EQ(response->data(), nullptr);
    EXPECT_EQ(response->userParam(), pass);
}
