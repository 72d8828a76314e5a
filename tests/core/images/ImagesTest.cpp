// The image road: the cache's bound and order, the bundle's images, the
// resource bundle, and the picture view's download from a local server.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/images/HCImageCache.h"
#include "core/images/HCImageDownload.h"
#include "core/images/HCImageLoader.h"
#include "core/images/HCImageView.h"
#include "core/images/HCResourceBundle.h"
#include "core/resources/HCResource.h"
#include "core/users/HCUser.h"
#include "kernel/http/HCHttpRequest.h"
#include "kernel/settings/HCSettings.h"
#include "platform/foundation/Sandbox.h"
#include "platform/ui/Layer.h"
#include "support/LoopbackServer.h"
#include "support/TestSupport.h"

namespace {

using platform::ui::Image;
using testnet::LoopbackServer;
using testnet::ServerReply;

std::shared_ptr<Image> square(int side)
{
    return Image::withPixels(side, side, std::vector<uint8_t>(size_t(side) * side * 4, 1));
}

std::string pngBytes(int side)
{
    return platform::ui::PNGRepresentation(square(side))->toString();
}

class ImagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::Sandbox::configure(sandbox.str());
        std::filesystem::create_directories(platform::Sandbox::bundlePath());
        HCImageCache::initializeCache();
    }
    void TearDown() override
    {
        testsupport::drainMain();
        HCImageCache::shutdownCache();
        HCSettings::Shutdown();
        HCSettings::resetDefaultOverrides();
        platform::Sandbox::reset();
    }
    static void writeImage(const std::filesystem::path& relative, int side)
    {
        const auto path = std::filesystem::path(platform::Sandbox::bundlePath()) / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << pngBytes(side);
    }
    static std::shared_ptr<HCImageCache> cache() { return HCImageCache::sharedInstance(); }

    testsupport::TempDir sandbox;
};

TEST_F(ImagesTest, TheCacheKeepsTheMostRecentlyUsedWithinItsBound)
{
    auto a = square(400), b = square(400), c = square(400), d = square(400);  // 640,000 bytes each
    cache()->store(a, "a");
    cache()->store(b, "b");
    cache()->store(c, "c");
    cache()->store(b, "a");  // replaces a; a's weight goes with it
    EXPECT_EQ(cache()->totalBytes(), 3 * HCImageCache::weightOf(*b, "a"));
    EXPECT_EQ(cache()->fetch("b"), b);  // b is now the most recently used
    cache()->store(d, "d");             // over the bound: the least recently used (c) goes
    EXPECT_EQ(cache()->fetch("c"), nullptr);
    EXPECT_EQ(cache()->fetch("b"), b);
    EXPECT_EQ(cache()->fetch("a"), b);
    EXPECT_EQ(cache()->fetch("d"), d);
    cache()->store(square(800), "huge");  // 2,560,000 bytes: never kept, and evicts nothing
    EXPECT_EQ(cache()->fetch("huge"), nullptr);
    EXPECT_EQ(cache()->count(), 3u);
    cache()->store(nullptr, "d");
    EXPECT_EQ(cache()->fetch("d"), nullptr);
    cache()->purge();
    EXPECT_EQ(cache()->totalBytes(), 0u);
    EXPECT_EQ(cache()->fetch("a"), nullptr);
}

TEST_F(ImagesTest, TinyImagesCannotCrowdTheCacheWithEntries)
{
    // Each entry costs its bookkeeping whatever its pixels: a flood of 1 x 1
    // pictures is held to a few thousand entries, not a hundred thousand.
    auto dot = square(1);
    size_t peak = 0;
    for (int i = 0; i < 100'000; ++i) {
        cache()->store(dot, "https://pictures.example/" + std::to_string(i));
        peak = std::max(peak, cache()->totalBytes());
    }
    EXPECT_LE(peak, HCImageCache::kMaxBytes);
    EXPECT_LE(cache()->count(), HCImageCache::kMaxBytes / HCImageCache::kEntryOverheadBytes);
    EXPECT_GT(cache()->count(), 1000u);
    // The newest are the ones kept.
    EXPECT_EQ(cache()->fetch("https://pictures.example/99999"), dot);
    EXPECT_EQ(cache()->fetch("https://pictures.example/0"), nullptr);

    // A long key weighs what it holds.
    cache()->purge();
    const std::string longKey(10'000, 'k');
    cache()->store(dot, longKey);
    EXPECT_GE(cache()->totalBytes(), longKey.size());
}

TEST_F(ImagesTest, FiveHundredBundleImagesNeverWeighMoreThanTheBound)
{
    for (int i = 0; i < 500; ++i) writeImage("icon" + std::to_string(i) + ".png", 100);  // 40,000 bytes decoded
    size_t peak = 0;
    for (int i = 0; i < 500; ++i) {
        auto image = HCImageLoader::loadImage("icon" + std::to_string(i) + ".png");
        ASSERT_TRUE(image) << i;
        EXPECT_EQ(image->name(), "icon" + std::to_string(i) + ".png");
        peak = std::max(peak, cache()->totalBytes());
    }
    EXPECT_LE(peak, HCImageCache::kMaxBytes);
    // 40,000 pixel bytes and an entry's bookkeeping each: forty-nine fit.
    EXPECT_EQ(cache()->count(), 49u);
    // The last forty-nine come from memory even once their files are gone; the one before does not.
    for (int i = 0; i < 500; ++i) std::filesystem::remove(std::filesystem::path(platform::Sandbox::bundlePath()) /
                                                          ("icon" + std::to_string(i) + ".png"));
    EXPECT_TRUE(HCImageLoader::loadImage("icon499.png"));
    EXPECT_TRUE(HCImageLoader::loadImage("icon451.png"));
    EXPECT_FALSE(HCImageLoader::loadImage("icon450.png"));
    EXPECT_FALSE(HCImageLoader::loadImage("icon0.png"));
    EXPECT_FALSE(HCImageLoader::loadImage(""));
    EXPECT_FALSE(HCImageLoader::loadImage("../outside.png"));
}

TEST_F(ImagesTest, TheResourceBundleIsTheFirstPresentInItsOrderElseTheMainBundle)
{
    EXPECT_EQ(HCResourceBundle::getResourceBundle()->bundlePath(), platform::Bundle::mainBundle()->bundlePath());
    writeImage("shared.png", 4);
    writeImage("HCResources_iPad.bundle/shared.png", 6);
    writeImage("HCResources_Universal.bundle/other.png", 2);
    // A new sandbox folder, as a fresh launch would see it.
    testsupport::TempDir next;
    std::filesystem::copy(platform::Sandbox::bundlePath(), std::filesystem::path(next.str()) / "Bundle",
                          std::filesystem::copy_options::recursive);
    platform::Sandbox::configure(next.str());
    EXPECT_EQ(std::filesystem::path(HCResourceBundle::getResourceBundle()->bundlePath()).filename(),
              "HCResources_Universal.bundle");
    // Not in the resource bundle: the main bundle's.
    EXPECT_EQ(HCImageLoader::loadImage("shared.png")->pixelWidth(), 4);
    EXPECT_EQ(HCImageLoader::loadImage("other.png")->pixelWidth(), 2);
}

class ImageViewTest : public ImagesTest {
protected:
    void SetUp() override
    {
        ImagesTest::SetUp();
        server.route("/pic.png", [](const testnet::ServerRequest&) { return ServerReply::text(200, pngBytes(3)); });
        server.route("/text", [](const testnet::ServerRequest&) { return ServerReply::text(200, "not an image"); });
        view->setDefaultImage(square(1));
        view->setImageDownloadFinishedDelegate(HCDelegate::withFunction([this](const platform::ObjectPtr& image) {
            told.push_back(std::dynamic_pointer_cast<Image>(image));
        }));
    }
    LoopbackServer server;
    std::shared_ptr<HCImageView> view = HCImageView::make(platform::ui::Rect(0, 0, 40, 40));
    std::vector<platform::ui::ImagePtr> told;
};

TEST_F(ImageViewTest, ADownloadedPictureIsShownCachedAndToldAndAFailedOneIsToldWithNil)
{
    const std::string url = server.url("/pic.png");
    view->setImageUrl(url);
    EXPECT_EQ(view->image()->pixelWidth(), 1) << "the default meanwhile";
    ASSERT_TRUE(testsupport::runMainUntil([&] { return !told.empty(); }));
    ASSERT_TRUE(told[0]);
    EXPECT_EQ(view->image(), told[0]);
    EXPECT_EQ(cache()->fetch(url), told[0]);

    // A second view finds it in the cache: shown at once, still told.
    auto second = HCImageView::make();
    int secondTold = 0;
    second->setImageDownloadFinishedDelegate(HCDelegate::withFunction([&](const platform::ObjectPtr&) { ++secondTold; }));
    second->setImageUrl(url);
    EXPECT_EQ(second->image(), told[0]);
    testsupport::drainMain();
    EXPECT_EQ(secondTold, 1);
    EXPECT_EQ(server.requestCount("/pic.png"), 1);

    for (const char* failing : {"/text", "/none.png"}) {
        view->setImageUrl(server.url(failing));
        ASSERT_TRUE(testsupport::runMainUntil([&] { return told.size() == 2; })) << failing;
        EXPECT_EQ(told[1], nullptr) << failing;
        EXPECT_EQ(view->image()->pixelWidth(), 1) << "the default stays";
        told.pop_back();
    }
    EXPECT_EQ(cache()->fetch(server.url("/text")), nullptr);
}

TEST_F(ImageViewTest, NoAddressStartsNothingAndAnImageSetMeanwhileWins)
{
    view->setImageUrl(std::string());
    view->setImageUrl(std::nullopt);
    EXPECT_FALSE(view->isDownloading());
    testsupport::drainMain();
    EXPECT_TRUE(told.empty());

    server.route("/slow.png", [](const testnet::ServerRequest&) {
        auto reply = ServerReply::text(200, pngBytes(5));
        reply.hold = true;
        return reply;
    });
    view->setImageUrl(server.url("/slow.png"));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return server.requestCount("/slow.png") == 1; }));
    auto chosen = square(2);
    view->setImage(chosen);
    EXPECT_FALSE(view->isDownloading());
    server.releaseHeldReplies();
    testsupport::drainMain();
    EXPECT_TRUE(told.empty()) << "the cancelled download tells nobody";
    EXPECT_EQ(view->image(), chosen);
    EXPECT_EQ(view->imageUrl(), std::nullopt);

    // Framing: rounded and bordered unless told otherwise.
    EXPECT_GT(view->layer()->borderWidth(), 0);
    view->setUnframed(true);
    view->setUseSharpCorners(true);
    EXPECT_EQ(view->layer()->borderWidth(), 0);
    EXPECT_EQ(view->layer()->cornerRadius(), 0);
}

// A view reused from one player to the next (a table row) shows the
// Facebook mark only over a Facebook picture, and a default drops the
// picture that was shown.
TEST_F(ImageViewTest, TheFacebookMarkFollowsThePlayerAndADefaultDropsThePictureShown)
{
    writeImage(HCImageView::kLocalProfileDefaultImageName, 2);
    writeImage(HCImageView::kFacebookOverlayImageName, 3);
    auto player = [&](const char* id, const char* facebook) {
        auto user = HCResource::initWithId<HCUser>(std::string(id));
        user->setProfilePictureUrl(server.url("/pic.png"));
        user->setUsesFacebookProfilePicture(std::string(facebook));
        return user;
    };
    view->useProfilePictureFromUser(player("1", "true"));
    ASSERT_TRUE(view->facebookOverlay());
    EXPECT_EQ(view->facebookOverlay()->image()->name(), HCImageView::kFacebookOverlayImageName);
    // In the picture's lower right corner.
    EXPECT_EQ(view->facebookOverlay()->frame().maxX(), 40);
    EXPECT_EQ(view->facebookOverlay()->frame().maxY(), 40);
    view->useProfilePictureFromUser(player("2", "false"));
    EXPECT_FALSE(view->facebookOverlay());

    ASSERT_TRUE(testsupport::runMainUntil([&] { return !told.empty(); }));
    EXPECT_EQ(view->image()->pixelWidth(), 3) << "the downloaded picture";
    view->setUseFacebookOverlay(true);
    view->useLocalPlayerProfilePictureDefault();
    EXPECT_FALSE(view->facebookOverlay());
    EXPECT_FALSE(view->imageUrl());
    EXPECT_EQ(view->image()->name(), HCImageView::kLocalProfileDefaultImageName);
    view->useOtherPlayerProfilePictureDefault();
    // The bundle has no other-player default here: nothing is shown.
    EXPECT_FALSE(view->image());
}

TEST_F(ImagesTest, AddressesWithoutSchemeGetOneAndRelativeOnesGoBelowTheServiceRoot)
{
    LoopbackServer server;
    server.route("/icons/7.png", [](const testnet::ServerRequest&) { return ServerReply::text(200, pngBytes(2)); });
    HCSettings::setDefaultOverride("server-url", server.url("/"));
    HCSettings::Initialize();
    HCImageDownloadSlots slots;
    platform::ObjectPtr bytes;
    auto done = HCDelegate::withFunction([&](const platform::ObjectPtr& got) { bytes = got; });
    ASSERT_TRUE(HCImageDownload::downloadImageFromUrl("icons/7.png", slots, done, HCDelegate()));
    ASSERT_TRUE(testsupport::runMainUntil([&] { return bytes != nullptr; }));
    EXPECT_TRUE(Image::imageWithData(std::dynamic_pointer_cast<platform::Data>(bytes)));

    // "www…" is a host without a scheme: fetched over http, on a service with no base.
    ASSERT_TRUE(HCImageDownload::downloadImageFromUrl("www.example.invalid/pic.png", slots, done, HCDelegate()));
    ASSERT_EQ(slots.mHttpService->requests().size(), 1u);
    EXPECT_EQ(slots.mHttpService->baseUrl(), "");
    EXPECT_EQ(slots.mHttpService->requests()[0]->url(), "http://www.example.invalid/pic.png");
    // A second download with the same holders cancels the first.
    auto first = slots.mHttpService;
    HCImageDownload::downloadImageFromUrl(server.url("/icons/7.png"), slots, done, HCDelegate());
    EXPECT_TRUE(first->requests().empty());
    HCImageDownload::destroyHttpService(slots.mHttpService);
}

}  // namespace
