// JSON requests before they reach the wire: URLs, flattened arguments and
// their escaping, the text the signature covers, the signature headers, and
// the client-made failures the receivers get.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/device/HCDevice.h"
#include "core/xp/HCResourceRequest.h"
#include "core/xp/HCServerException.h"
#include "core/xp/HCXPClientHooks.h"
#include "core/xp/HCXPRequest.h"
#include "core/xp/XPReplyText.h"
#include "kernel/settings/HCSettings.h"
#include "platform/foundation/Sandbox.h"
#include "support/TestSupport.h"
#include "transport/http/NetStringEncoding.h"

namespace {

constexpr const char* kRoot = "https://api.example.test/";

struct Received {
    std::vector<std::string> order;
    std::string text;
    std::shared_ptr<platform::Data> data;
    platform::ObjectPtr json;
    std::vector<uint32_t> codes;
};

class Receiver final : public HCXPResponseText, public HCXPResponseData, public HCXPResponseJSON {
public:
    explicit Receiver(Received& into) : into_(into) {}
    void onResponseText(const std::string& text, uint32_t code) override
    {
        into_.order.push_back("text");
        into_.text = text;
        into_.codes.push_back(code);
    }
    void onResponseData(const std::shared_ptr<platform::Data>& data, uint32_t code) override
    {
        into_.order.push_back("data");
        into_.data = data;
        into_.codes.push_back(code);
    }
    void onResponseJSON(const platform::ObjectPtr& json, uint32_t code) override
    {
        into_.order.push_back("json");
        into_.json = json;
        into_.codes.push_back(code);
    }

private:
    Received& into_;
};

class XPRequestTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::Sandbox::configure(dir.str());
        HCSettings::setDefaultOverride("server-url", kRoot);
        HCSettings::Initialize();
        HCXPClientHooks::install({});
    }
    void TearDown() override
    {
        HCSettings::Shutdown();
        HCSettings::setDefaultOverride("server-url", std::nullopt);
        platform::Sandbox::reset();
    }
    testsupport::TempDir dir;

    static std::string bodyOf(const HCXPRequest& request)
    {
        request.request()->buildPostBody();
        auto bytes = request.request()->postBody();
        return std::string(bytes.begin(), bytes.end());
    }
};

TEST_F(XPRequestTest, UrlDropsOneLeadingSlashAndTheSignedPathKeepsIt)
{
    auto request = HCXPRequest::getRequestWithPath("/xp/devices");
    EXPECT_EQ(request->request()->url(), "https://api.example.test/xp/devices");
    EXPECT_EQ(request->path(), "/xp/devices");
    // A GET without query is signed over path, secret and method, then an empty argument.
    EXPECT_EQ(request->signatureBaseText("s3cret"), "/xp/devices+s3cret+GET+");
    EXPECT_EQ(HCXPRequest::urlForPath("//twice"), "https://api.example.test//twice");
    EXPECT_EQ(HCXPRequest::urlForPath("plain"), "https://api.example.test/plain");
    EXPECT_EQ(request->request()->timeOutSeconds(), 20);
    EXPECT_EQ(request->request()->numberOfTimesToRetryOnTimeout(), 2);
    // Three silent tries fit within the deadline that bounds a trickling reply.
    EXPECT_GT(request->request()->deadlineSeconds(), 3 * request->request()->timeOutSeconds());

    // The query text is the argument of a GET, as it goes on the wire.
    auto withQuery = HCXPRequest::getRequestWithPathAndQueryString("xp/users", "");
    EXPECT_EQ(withQuery->request()->url(), "https://api.example.test/xp/users?");
    auto args = platform::Dictionary::make();
    args->setString("q", "a b&c=d+e'!*()ü");
    auto searched = HCXPRequest::getRequestWithPath("xp/users", args);
    EXPECT_EQ(searched->request()->url(), "https://api.example.test/xp/users?q=a%20b%26c%3Dd%2Be%27%21%2A%28%29%C3%BC");
    EXPECT_EQ(searched->signatureBaseText("k"), "/xp/users+k+GET+q=a%20b%26c%3Dd%2Be%27%21%2A%28%29%C3%BC");
    EXPECT_EQ(HCXPRequest::embedQueryInPath("p", platform::Dictionary::make()), "p");
}

TEST_F(XPRequestTest, NestedArgumentsFlattenInOrderForFormsAndQueries)
{
    auto device = platform::Dictionary::make();
    device->setString("os", "4.2");
    auto item = platform::Dictionary::make();
    item->setString("b", "1");
    auto list = platform::Array::make({platform::String::make("x"), item,
                                       platform::Array::make({platform::String::make("deep")})});
    auto args = platform::Dictionary::make();
    args->setString("platform", "iOS");
    args->setObject("device", device);
    args->setObject("a", list);
    args->setObject("n", platform::Number::makeInt(7));

    auto post = HCXPRequest::postRequestWithPath("/xp/devices", args);
    const std::string body = "platform=iOS&device%5Bos%5D=4.2&a%5B%5D=x&a%5B%5D%5Bb%5D=1&a%5B%5D%5B%5D=deep&n=7";
    EXPECT_EQ(bodyOf(*post), body);
    EXPECT_EQ(post->request()->requestMethod(), "POST");
    // A POST is signed over its body, a PUT too.
    EXPECT_EQ(post->signatureBaseText("k"), "/xp/devices+k+POST+" + body);
    auto put = HCXPRequest::putRequestWithPath("xp/devices", args);
    EXPECT_EQ(put->signatureBaseText("k"), "/xp/devices+k+PUT+" + body);
    EXPECT_EQ(HCXPRequest::getRequestWithPath("q", args)->request()->url(), std::string(kRoot) + "q?" + body);

    // A raw body string goes as is with the form content type.
    auto raw = HCXPRequest::postRequestWithPathAndBodyString("webui/crash_report", "bad_sha1=a&b=+");
    EXPECT_EQ(bodyOf(*raw), "bad_sha1=a&b=+");
    EXPECT_EQ(raw->request()->requestHeaders().value("Content-Type"),
              std::optional<std::string>("application/x-www-form-urlencoded; charset=UTF-8"));
}

TEST_F(XPRequestTest, DispatchersKnowFourMethodsAndDeleteCarriesItsArgumentsInTheQuery)
{
    auto args = platform::Dictionary::make();
    args->setString("id", "5");
    EXPECT_EQ(HCXPRequest::requestWithPath("p", "PATCH", args), nullptr);
    EXPECT_EQ(HCXPRequest::requestWithPathAndArgString("p", "get", "a=1"), nullptr);

    auto del = HCXPRequest::requestWithPath("xp/devices/9/parental_control", "DELETE", args);
    ASSERT_TRUE(del);
    EXPECT_EQ(del->request()->requestMethod(), "DELETE");
    EXPECT_EQ(del->signatureBaseText("k"), "/xp/devices/9/parental_control+k+DELETE+id=5");
    auto delText = HCXPRequest::requestWithPathAndArgString("p", "DELETE", "id=5");
    EXPECT_EQ(delText->request()->url(), std::string(kRoot) + "p?id=5");
    auto putText = HCXPRequest::requestWithPathAndArgString("p", "PUT", "id=5");
    EXPECT_EQ(putText->request()->requestMethod(), "PUT");
    EXPECT_EQ(bodyOf(*putText), "id=5");

    // A subclass's constructor makes the subclass.
    auto resource = HCResourceRequest::requestWithPath<HCResourceRequest>("p", "GET", args);
    EXPECT_NE(std::dynamic_pointer_cast<HCResourceRequest>(resource), nullptr);
}

TEST_F(XPRequestTest, SigningAddsOneHeaderPairOnlyWhenRequired)
{
    auto request = HCXPRequest::getRequestWithPath("/xp/devices");
    request->signWithKey("the-key", "s");
    const auto headers = request->request()->requestHeaders();
    ASSERT_TRUE(headers.value("X-HC-Signature"));
    EXPECT_EQ(headers.value("X-HC-Key"), std::optional<std::string>("the-key"));
    // Base64 of a 20-byte digest.
    EXPECT_EQ(headers.value("X-HC-Signature")->size(), 28u);
    EXPECT_TRUE(request->isSigned());
    request->signWithKey("other-key", "other-secret");
    EXPECT_EQ(request->request()->requestHeaders().value("X-HC-Key"), std::optional<std::string>("the-key"));
    EXPECT_EQ(request->request()->requestHeaders().value("X-HC-Signature"), headers.value("X-HC-Signature"));

    auto unsignedRequest = HCXPRequest::getRequestWithPath("/xp/devices");
    unsignedRequest->setRequiresSignature(false);
    unsignedRequest->signWithKey("k", "s");
    EXPECT_FALSE(unsignedRequest->isSigned());
    EXPECT_FALSE(unsignedRequest->request()->requestHeaders().value("X-HC-Key"));
}

TEST_F(XPRequestTest, ClientMadeFailuresReachEveryReceiverInOrder)
{
    Received got;
    auto receiver = std::make_shared<Receiver>(got);
    auto request = HCXPRequest::getRequestWithPath("/xp/devices");
    request->onRespondText(receiver)->onRespondData(receiver)->onRespondJSON(receiver);
    // No session installed: execute fails at once with the session failure.
    request->execute();
    const std::string text =
        "{\"exception\":{\"class\":\"SessionFailure\",\"message\":\"Request failed due to device/user session "
        "failure.\"}}";
    EXPECT_EQ(got.order, (std::vector<std::string>{"text", "data", "json"}));
    EXPECT_EQ(got.text, text);
    ASSERT_TRUE(got.data);
    EXPECT_EQ(std::string(got.data->bytes().begin(), got.data->bytes().end()), text);
    auto exception = platform::as<HCServerException>(got.json);
    ASSERT_TRUE(exception);
    EXPECT_EQ(exception->className(), "SessionFailure");
    EXPECT_EQ(got.codes, (std::vector<uint32_t>{0, 0, 0}));

    Received other;
    auto second = std::make_shared<Receiver>(other);
    auto failing = HCXPRequest::getRequestWithPath("p");
    failing->onRespondJSON(second);
    failing->failWithExceptionClass("", "quoted \\\"text\\\"", 0);
    auto made = platform::as<HCServerException>(other.json);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->className(), "ServerException");
    EXPECT_EQ(made->message(), "quoted \\\"text\\\"");

    // A transport that failed without saying why.
    Received lost;
    auto third = std::make_shared<Receiver>(lost);
    auto dropped = HCXPRequest::getRequestWithPath("p");
    dropped->onRespondJSON(third);
    auto transport = dropped->request();
    dropped->requestFailed(transport);
    auto unknown = platform::as<HCServerException>(lost.json);
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->className(), "ServerException");
    EXPECT_EQ(unknown->message(), "Unknown connection failure");
    EXPECT_EQ(lost.codes, std::vector<uint32_t>{0});
    EXPECT_EQ(dropped->request(), nullptr) << "the failure ends the pair";
}

// A resource request that counts how often its handler ran.
class Screen final : public platform::Object {
public:
    void done(const std::shared_ptr<HCResourceRequest>& request) { finished.push_back(request); }
    std::vector<std::shared_ptr<HCResourceRequest>> finished;
};

TEST_F(XPRequestTest, ResourceRequestUnwrapsSingleEntryRepliesAndCallsItsLiveTargetOnce)
{
    auto screen = std::make_shared<Screen>();
    auto request = HCResourceRequest::getRequestWithPath<HCResourceRequest>("xp/users");
    request->onRespondTarget(screen, &Screen::done);
    request->prepareToExecute();
    request->onResponseJSON(HCJsonCoder::decodeJson("{\"users\":[{\"id\":\"1\"}]}"), 200);
    ASSERT_EQ(screen->finished.size(), 1u);
    EXPECT_NE(platform::as<platform::Array>(request->resources()), nullptr);
    EXPECT_EQ(request->httpResponseCode(), 200u);

    auto device = HCResourceRequest::getRequestWithPath<HCResourceRequest>("xp/devices");
    device->onRespondTarget(screen, &Screen::done);
    device->onResponseJSON(HCJsonCoder::decodeJson("{\"device\":{\"users\":[]}}"), 201);
    EXPECT_NE(platform::as<HCDevice>(device->resources()), nullptr);

    auto two = HCResourceRequest::getRequestWithPath<HCResourceRequest>("x");
    two->onResponseJSON(HCJsonCoder::decodeJson("{\"a\":1,\"b\":2}"), 200);
    EXPECT_EQ(platform::as<platform::Dictionary>(two->resources())->count(), 2u);

    // A target that is gone hears nothing.
    auto orphan = HCResourceRequest::getRequestWithPath<HCResourceRequest>("x");
    {
        auto gone = std::make_shared<Screen>();
        orphan->onRespondTarget(gone, &Screen::done);
    }
    orphan->prepareToExecute();
    orphan->forceFailure(0);
    EXPECT_NE(platform::as<HCServerException>(orphan->resources()), nullptr);
    EXPECT_EQ(screen->finished.size(), 2u);
}

TEST(XPReplyTextTest, UnreadableBytesFallBackToAsciiOrNothing)
{
    const std::vector<uint8_t> utf8 = {'{', 0xC3, 0xBC, '}'};
    EXPECT_EQ(xpReplyText(utf8, kNetNoStringEncoding), std::optional<std::string>("{\xC3\xBC}"));
    EXPECT_EQ(xpReplyText(utf8, kNetISOLatin1StringEncoding), std::optional<std::string>("{\xC3\x83\xC2\xBC}"));
    const std::vector<uint8_t> broken = {'{', 0xC3, '}'};
    EXPECT_EQ(xpReplyText(broken, kNetUTF8StringEncoding), std::nullopt);
    const std::vector<uint8_t> overlong = {0xC0, 0xAF};
    EXPECT_EQ(xpReplyText(overlong, kNetUTF8StringEncoding), std::nullopt);
    EXPECT_EQ(xpReplyText({'o', 'k'}, kNetUnicodeStringEncoding), std::optional<std::string>("ok"));
}

}  // namespace
