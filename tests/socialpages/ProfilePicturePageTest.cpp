// The profile picture page as the player works it against the local server:
// the rows it offers, a picture chosen or uploaded, and the refresh.
#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "dashboard/HCRootController.h"
#include "dashboard/HalcyonDashboard.h"
#include "gamepages/support/DroppedRequests.h"
#include "gamepages/support/PageHarness.h"
#include "localserver/routes/PictureRoutes.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/Application.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Device.h"
#include "platform/ui/PopoverController.h"
#include "social/users/HCUsersCredential.h"
#include "social/users/HCUsersCredentialService.h"
#include "socialpages/picture/HCCustomImagePickerController.h"
#include "socialpages/picture/HCProfilePictureCell.h"
#include "socialpages/picture/HCProfilePictureDrawing.h"
#include "socialpages/picture/HCSelectProfilePictureController.h"
#include "support/RequestThreadGate.h"
#include "transport/provider/HCProvider.h"

namespace {

using Page = HCSelectProfilePictureController;
using platform::ui::Image;
using platform::ui::ImageOrientation;
using platform::ui::ImagePtr;
using platform::ui::Pixel;

// Upright: red top left, green top right, blue bottom left, white bottom right.
ImagePtr quadrants(int w, int h)
{
    std::vector<uint8_t> rgba;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool right = x >= w / 2, bottom = y >= h / 2;
            const Pixel p = bottom ? (right ? Pixel{255, 255, 255, 255} : Pixel{0, 0, 255, 255})
                                   : (right ? Pixel{0, 255, 0, 255} : Pixel{255, 0, 0, 255});
            rgba.insert(rgba.end(), {p.r, p.g, p.b, p.a});
        }
    return Image::withPixels(w, h, rgba);
}

// The image turned a quarter clockwise, or flipped left to right.
ImagePtr turned(const ImagePtr& image, bool mirror)
{
    const int w = image->pixelWidth(), h = image->pixelHeight();
    const int outW = mirror ? w : h, outH = mirror ? h : w;
    std::vector<uint8_t> rgba;
    for (int y = 0; y < outH; ++y)
        for (int x = 0; x < outW; ++x) {
            const Pixel p = mirror ? image->pixelAt(w - 1 - x, y) : image->pixelAt(y, h - 1 - x);
            rgba.insert(rgba.end(), {p.r, p.g, p.b, p.a});
        }
    return Image::withPixels(outW, outH, rgba);
}

ImagePtr clockwise(const ImagePtr& image, int quarters)
{
    auto out = image;
    for (int i = 0; i < quarters; ++i) out = turned(out, false);
    return out;
}

// What a camera stores for `upright` when it records `orientation` instead
// of turning the pixels.
ImagePtr recorded(const ImagePtr& upright, ImageOrientation orientation)
{
    ImagePtr stored;
    switch (orientation) {
    case ImageOrientation::Up: stored = upright; break;
    case ImageOrientation::Down: stored = clockwise(upright, 2); break;
    case ImageOrientation::Left: stored = clockwise(upright, 1); break;
    case ImageOrientation::Right: stored = clockwise(upright, 3); break;
    case ImageOrientation::UpMirrored: stored = turned(upright, true); break;
    case ImageOrientation::DownMirrored: stored = turned(clockwise(upright, 2), true); break;
    case ImageOrientation::LeftMirrored: stored = turned(clockwise(upright, 1), true); break;
    case ImageOrientation::RightMirrored: stored = turned(clockwise(upright, 3), true); break;
    }
    return stored->withOrientation(orientation);
}

// The colour a (possibly JPEG-blurred) pixel is nearest to.
std::string colour(const Pixel& p)
{
    const bool r = p.r > 160, g = p.g > 160, b = p.b > 160;
    if (r && g && b) return "white";
    if (r && !g && !b) return "red";
    if (!r && g && !b) return "green";
    if (!r && !g && b) return "blue";
    return "?";
}

// The colours at the centres of a 50 x 50 picture's quarters, reading order.
std::vector<std::string> quarterColours(const Image& picture)
{
    return {colour(picture.pixelAt(12, 12)), colour(picture.pixelAt(37, 12)), colour(picture.pixelAt(12, 37)),
            colour(picture.pixelAt(37, 37))};
}

const std::vector<std::string> kUpright{"red", "green", "blue", "white"};

class ProfilePicturePageTest : public pagetest::PageHarness {
protected:
    void start(bool facebook, bool twitter)
    {
        startOnline();
        server->setClock([this] { return static_cast<std::int64_t>(clock->now()); });
        auto ann = server->accounts().user("1001");
        ann->credentials.clear();
        if (facebook) ann->credentials.push_back("fbconnect");
        if (twitter) ann->credentials.push_back("twitter");
        server->accounts().addUser(*ann);
    }
    std::shared_ptr<Page> open()
    {
        openPage("SelectProfilePicture");
        return topPageAs<Page>();
    }
    // Per row: its label (or "badge" for a network's), "*" when checked.
    std::vector<std::string> rows()
    {
        std::vector<std::string> out;
        auto page = topPageAs<Page>();
        for (int i = 0; i < page->tableView()->numberOfRowsInSection(0); ++i) {
            auto cell = std::dynamic_pointer_cast<HCProfilePictureCell>(page->tableView()->cellForRowAtIndexPath({0, i}));
            if (!cell) continue;
            std::string text = cell->credentialTextLabel()->isHidden() ? "badge" : cell->credentialTextLabel()->text();
            out.push_back(text + (cell->checkmark()->isHidden() ? "" : " *"));
        }
        return out;
    }
    static std::vector<std::string> alertMessages()
    {
        std::vector<std::string> out;
        for (const auto& alert : platform::ui::AlertView::visibleAlerts()) out.push_back(alert->message());
        return out;
    }
    void useSource(const char* source, const char* url)
    {
        auto player = Halcyon::localUser();
        player->setProfilePictureSource(std::string(source));
        player->setProfilePictureUrl(std::string(url));
        Halcyon::setLocalUser(player);
    }
};

TEST_F(ProfilePicturePageTest, TheCheckMarkFollowsWhereThePictureComesFrom)
{
    start(true, false);
    useSource("Upload", "");
    open();
    EXPECT_EQ(rows(), (std::vector<std::string>{"badge", "badge", "Choose your own!", "Default Halcyon Icon *"}));
    useSource("Upload", "images/mine.png");
    topPageAs<Page>()->reloadDataFromServer();
    waitForIdle();
    EXPECT_EQ(rows(), (std::vector<std::string>{"badge", "badge", "Choose your own! *", "Default Halcyon Icon"}));
    // A player whose picture comes from nowhere sees no mark at all.
    auto player = Halcyon::localUser();
    player->setProfilePictureSource(std::nullopt);
    Halcyon::setLocalUser(player);
    topPageAs<Page>()->reloadDataFromServer();
    waitForIdle();
    EXPECT_EQ(rows(), (std::vector<std::string>{"badge", "badge", "Choose your own!", "Default Halcyon Icon"}));
}

// The Facebook picture carries the Facebook mark; the default row shows the
// local player's own default picture.
TEST_F(ProfilePicturePageTest, TheFacebookPictureIsMarkedAndTheDefaultRowShowsThePlayersOwnDefault)
{
    addBundleImage(HCImageView::kProfileDefaultImageName);
    addBundleImage(HCImageView::kLocalProfileDefaultImageName);
    start(true, true);
    open();
    auto page = topPageAs<Page>();
    ASSERT_EQ(page->tableView()->numberOfRowsInSection(0), 4);
    // Whether the row of this login (nil: the default row) shows the mark.
    auto marked = [&](std::optional<std::string> type) {
        for (int row = 0; row < 4; ++row) {
            auto cell = std::dynamic_pointer_cast<HCProfilePictureCell>(page->tableView()->cellForRowAtIndexPath({0, row}));
            auto credential = cell ? platform::as<HCUsersCredential>(cell->resource()) : nullptr;
            if (credential && credential->credentialType() == type)
                return cell->profilePictureView()->facebookOverlay() != nullptr;
        }
        ADD_FAILURE() << type.value_or("default") << " has no row";
        return false;
    };
    EXPECT_TRUE(marked("fbconnect"));
    EXPECT_FALSE(marked("twitter"));
    EXPECT_FALSE(marked(std::nullopt));
    EXPECT_EQ(rowPictures("Default Halcyon Icon"), std::vector<std::string>{HCImageView::kLocalProfileDefaultImageName});
}

TEST_F(ProfilePicturePageTest, TheDefaultRowDropsTheOwnPictureAndRefreshesItOnly)
{
    start(true, true);
    open();
    ASSERT_TRUE(tapRow("Default Halcyon Icon"));
    waitForIdle();
    EXPECT_EQ(requestsTo("profile_picture/select/http_basic"), 1u);
    EXPECT_EQ(lastParam("profile_picture/select/http_basic", "uploaded_profile_picture"), "");
    EXPECT_EQ(requestsTo("profile_picture/refresh"), 1u);
    EXPECT_EQ(Halcyon::localUser()->profilePictureSource(), "Upload");
    EXPECT_FALSE(Halcyon::localUser()->profilePictureUrl());
    EXPECT_TRUE(alertMessages().empty());
    EXPECT_TRUE(topPageAs<Page>()->refreshButton()->isEnabled());
}

TEST_F(ProfilePicturePageTest, RefusedChoicesTakeTheLoadingScreenDownAndSaySo)
{
    start(false, false);
    open();
    // Twitter is not linked: the server refuses it even if the page asked.
    auto twitter = std::make_shared<HCUsersCredential>();
    twitter->setCredentialType(std::string("twitter"));
    twitter->setIsLinked(std::string("true"));
    auto page = topPageAs<Page>();
    page->onCellWasClicked(twitter, {0, 0});
    EXPECT_TRUE(showsLoadingScreen());
    waitForIdle();
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_EQ(alertMessages(), std::vector<std::string>{Page::kSaveFailedMessage});
}

TEST_F(ProfilePicturePageTest, ChoicesAndRefreshesTheProviderDropsTakeTheLoadingScreenDownAndSaySo)
{
    start(true, true);
    auto page = open();
    ASSERT_TRUE(page);
    struct Case {
        std::function<bool()> tap;
        const char* said;
    };
    const std::vector<Case> cases{
        {[&] { return tapRow("Default Halcyon Icon"); }, Page::kSaveFailedMessage},
        {[&] { return driver->selectRow(page->tableView(), {0, 0}); }, Page::kSaveFailedMessage},
        {[&] { return driver->tap(page->refreshButton()); }, Page::kRefreshFailedMessage},
    };
    for (const auto& each : cases) {
        pagetest::dropRequestsMadeBy([&] {
            ASSERT_TRUE(each.tap());
            settle();
            EXPECT_TRUE(showsLoadingScreen());
        });
        waitForIdle();
        EXPECT_FALSE(showsLoadingScreen());
        EXPECT_EQ(alertMessages(), std::vector<std::string>{each.said});
        ASSERT_TRUE(driver->answerAlert("Ok"));
    }
    EXPECT_TRUE(page->refreshButton()->isEnabled());
    EXPECT_EQ(requestsTo("profile_picture/refresh"), 0u);

    // A later try of a refresh, dropped while the pictures are awaited.
    ASSERT_TRUE(driver->tap(page->refreshButton()));
    ASSERT_TRUE(testsupport::runMainUntil([&] {
        return page->refreshCount() == 1 && Halcyon::provider()->runningLoaderCount() == 0 &&
               Halcyon::provider()->queuedActionCount() == 0;
    }));
    waitForReplies();
    pagetest::dropRequestsMadeBy([&] {
        clock->advance(Page::kRedownloadDelay);
        testsupport::drainMain();
        EXPECT_EQ(page->refreshCount(), 2);
        EXPECT_TRUE(showsLoadingScreen());
    });
    waitForIdle();
    EXPECT_EQ(alertMessages(), std::vector<std::string>{Page::kRefreshFailedMessage});
    EXPECT_TRUE(page->refreshButton()->isEnabled());
}

TEST_F(ProfilePicturePageTest, WithTheServiceStoppedNothingWaitsForAnAnswer)
{
    start(true, false);
    auto page = open();
    HCUsersCredentialService::shutdownService();
    ASSERT_TRUE(tapRow("Default Halcyon Icon"));
    EXPECT_FALSE(showsLoadingScreen());
    ASSERT_TRUE(driver->tap(page->refreshButton()));
    settle();
    EXPECT_FALSE(showsLoadingScreen());
    EXPECT_TRUE(page->refreshButton()->isEnabled());
    HCUsersCredentialService::initializeService();
}

TEST_F(ProfilePicturePageTest, AnUnlinkedNetworkOpensItsLoginForm)
{
    start(false, false);
    auto page = open();
    auto facebook = page->getResourceAtIndexPath({0, 1});
    ASSERT_TRUE(platform::as<HCUsersCredential>(facebook));
    page->tableView()->selectRowAtIndexPath(platform::ui::IndexPath{0, 1}, false, platform::ui::TableViewScrollPosition::None);
    page->onCellWasClicked(facebook, {0, 1});
    settle();
    EXPECT_NE(topPage(), page);
    EXPECT_EQ(page->tableView()->indexPathForSelectedRow(), (platform::ui::IndexPath{0, 1}));
}

TEST(ProfilePictureDrawingTest, EveryRecordedOrientationComesOutUpright)
{
    for (int o = 0; o <= static_cast<int>(ImageOrientation::RightMirrored); ++o) {
        const auto orientation = static_cast<ImageOrientation>(o);
        auto picture = HCProfilePictureDrawing::profilePictureFrom(recorded(quadrants(6, 4), orientation));
        ASSERT_TRUE(picture) << o;
        EXPECT_EQ(picture->pixelWidth(), 50);
        EXPECT_EQ(picture->pixelHeight(), 50);
        EXPECT_EQ(picture->imageOrientation(), ImageOrientation::Up);
        EXPECT_EQ(quarterColours(*picture), kUpright) << "orientation " << o;
    }
    EXPECT_FALSE(HCProfilePictureDrawing::profilePictureFrom(nullptr));
}

TEST_F(ProfilePicturePageTest, APhotoTakenSidewaysIsCroppedAndUploadedUpright)
{
    start(false, false);
    open();
    // A refused upload takes the loading screen down and says so. The
    // request thread is held while the picture is picked: the driver runs
    // what is due after each gesture, a fast refusal included.
    server->faults().injectFor("POST", "profile_picture/select/http_basic", localserver::Fault::reply(500), 1);
    ASSERT_TRUE(tapRow("Choose your own!"));
    {
        testsupport::RequestThreadGate gate(Halcyon::provider()->requestThread());
        ASSERT_TRUE(driver->pickImage(recorded(quadrants(8, 6), ImageOrientation::Right)));
        EXPECT_TRUE(showsLoadingScreen());
    }
    waitForIdle();
    EXPECT_EQ(alertMessages(), std::vector<std::string>{Page::kSaveFailedMessage});
    ASSERT_TRUE(driver->answerAlert("Ok"));

    ASSERT_TRUE(tapRow("Choose your own!"));
    ASSERT_TRUE(driver->pickImage(recorded(quadrants(8, 6), ImageOrientation::Right)));
    waitForIdle();
    EXPECT_TRUE(alertMessages().empty());
    const auto log = server->log().entries();
    const localserver::FilePart* upload = nullptr;
    for (const auto& entry : log)
        if (entry.request.path == "profile_picture/select/http_basic" && entry.request.file("uploaded_profile_picture"))
            upload = entry.request.file("uploaded_profile_picture");
    ASSERT_TRUE(upload);
    auto sent = Image::imageWithData(platform::Data::fromString(upload->bytes));
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->pixelWidth(), 50);
    EXPECT_EQ(quarterColours(*sent), kUpright);
}

TEST_F(ProfilePicturePageTest, BeforeSystem3ThePickerHasAWindowOfItsOwnAndEitherAnswerUploads)
{
    start(false, false);
    platform::DeviceFacts::setSystemVersion("2.2");
    auto page = open();
    ASSERT_TRUE(page);
    auto application = platform::ui::Application::shared();
    const auto dashboardWindow = application->keyWindow();
    const bool barHidden = application->isStatusBarHidden();
    const auto barStyle = application->statusBarStyle();
    auto uploads = [&] {
        size_t count = 0;
        for (const auto& entry : server->log().entries())
            count += entry.request.path == "profile_picture/select/http_basic" &&
                     entry.request.file("uploaded_profile_picture");
        return count;
    };

    // No camera: the library opens at once, over the whole screen, under no status bar.
    ASSERT_TRUE(tapRow("Choose your own!"));
    ASSERT_NE(application->keyWindow(), dashboardWindow);
    EXPECT_TRUE(application->isStatusBarHidden());
    EXPECT_EQ(application->statusBarStyle(), platform::ui::StatusBarStyle::BlackTranslucent);
    ASSERT_TRUE(driver->pickImage(quadrants(8, 6)));
    waitForIdle();
    EXPECT_EQ(application->keyWindow(), dashboardWindow);
    EXPECT_EQ(application->isStatusBarHidden(), barHidden);
    EXPECT_EQ(application->statusBarStyle(), barStyle);
    EXPECT_EQ(uploads(), 1u);

    // Such a system answers with the older call.
    auto picker = HCCustomImagePickerController::make();
    picker->setDelegate(page);
    page->_showImagePicker(picker, false);
    settle();
    ASSERT_TRUE(picker->windowFor2x());
    page->imagePickerControllerDidFinishPickingImage(*picker, quadrants(8, 6), nullptr);
    waitForIdle();
    EXPECT_FALSE(picker->windowFor2x());
    EXPECT_EQ(application->keyWindow(), dashboardWindow);
    EXPECT_EQ(uploads(), 2u);
    EXPECT_TRUE(alertMessages().empty());
}

TEST_F(ProfilePicturePageTest, OnALargeScreenThePickerIsAPopoverThatTurningTheDashboardCloses)
{
    platform::DeviceFacts::setLargeScreen(true);
    start(false, false);
    ASSERT_TRUE(open());
    ASSERT_TRUE(tapRow("Choose your own!"));
    ASSERT_EQ(platform::ui::PopoverController::visiblePopovers().size(), 1u);
    Halcyon::postDashboardOrientationChangedTo(1, 1);
    settle();
    EXPECT_EQ(platform::ui::PopoverController::visiblePopovers().size(), 1u);
    Halcyon::postDashboardOrientationChangedTo(3, 1);
    settle();
    EXPECT_TRUE(platform::ui::PopoverController::visiblePopovers().empty());
    EXPECT_FALSE(topPageAs<Page>()->imagePickerPopoverController());
}

TEST_F(ProfilePicturePageTest, ARefreshTriesThreeTimesThenSaysSoOverTheLastList)
{
    start(true, true);
    auto page = open();
    const size_t listsBefore = requestsTo("profile_picture");
    // Twitter's new picture comes after 5 s, Facebook's after 10: the third
    // try, at 6 s, still finds Facebook's unchanged.
    ASSERT_TRUE(driver->tap(page->refreshButton()));
    EXPECT_FALSE(page->refreshButton()->isEnabled());
    for (int tries = 1; tries <= Page::kMaxDownloads; ++tries) {
        ASSERT_TRUE(testsupport::runMainUntil([&] {
            return page->refreshCount() == tries && requestsTo("profile_picture") == listsBefore + tries + (tries > 1) &&
                   Halcyon::provider()->runningLoaderCount() == 0 &&
                   Halcyon::provider()->queuedActionCount() == 0;
        })) << "try " << tries << " made " << page->refreshCount();
        // The provider counts a request done before its reply reaches this
        // thread; the next try is timed from that reply, so the clock moves
        // only once it is in.
        waitForReplies();
        if (tries < Page::kMaxDownloads) {
            EXPECT_TRUE(alertMessages().empty());
        }
        if (tries == 1) {
            EXPECT_TRUE(showsLoadingScreen());
            // A reload meanwhile replaces the rows the refresh compares against.
            page->reloadDataFromServer();
            ASSERT_TRUE(testsupport::runMainUntil([&] { return requestsTo("profile_picture") == listsBefore + 2; }));
            ASSERT_TRUE(testsupport::runMainUntil([&] { return !page->isLoadingData(); }));
        }
        clock->advance(Page::kRedownloadDelay);
    }
    waitForIdle();
    EXPECT_EQ(page->refreshCount(), Page::kMaxDownloads);
    EXPECT_EQ(requestsTo("profile_picture"), listsBefore + Page::kMaxDownloads + 1);
    EXPECT_EQ(alertMessages(), std::vector<std::string>{Page::kRefreshFailedMessage});
    EXPECT_TRUE(page->refreshButton()->isEnabled());
    auto twitter = platform::as<HCUsersCredential>(page->getResourceAtIndexPath({0, 0}));
    ASSERT_TRUE(twitter && twitter->isTwitter());
    EXPECT_EQ(twitter->profilePictureUpdatedAt(), "v1") << "the table shows the last list";
}

}  // namespace
