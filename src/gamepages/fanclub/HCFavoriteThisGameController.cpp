#include "gamepages/fanclub/HCFavoriteThisGameController.h"

#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "core/services/HCServicePath.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationItem.h"
#include "social/applications/HCClientApplicationService.h"
#include "social/profiles/HCPlayerReview.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "uiframework/form/HCTextsInFlight.h"

namespace {

using platform::ui::Rect;

constexpr double kSlideSeconds = 0.325;

void showNote(const std::string& message)
{
    platform::ui::AlertView::make(std::string(), message, {}, std::string("OK"))->show();
}

}  // namespace

std::optional<std::string> HCFavoriteThisGameController::getClientApplicationId() const
{
    auto game = getPageContextGame();
    return (game ? game : Halcyon::localGameProfileInfo())->resourceId();
}

std::string HCFavoriteThisGameController::getClientApplicationName() const
{
    auto game = getPageContextGame();
    return (game ? game : Halcyon::localGameProfileInfo())->name().value_or("");
}

void HCFavoriteThisGameController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    favoriteButton_ = platform::ui::Button::buttonWithType(platform::ui::ButtonType::Custom);
    favoriteButton_->setFrame(Rect(130, 20, 60, 60));
    descriptionLabel_ = platform::ui::Label::make(Rect(10, 90, 300, 80));
    reviewArea_ = platform::ui::View::make(Rect(10, 180, 300, 200));
    reviewTextField_ = std::make_shared<HCMultilineTextField>(Rect(0, 0, 300, 200));
    reviewArea_->addSubview(reviewTextField_);
    view()->addSubview(favoriteButton_);
    view()->addSubview(descriptionLabel_);
    view()->addSubview(reviewArea_);
    std::weak_ptr<HCFavoriteThisGameController> weakSelf =
        std::static_pointer_cast<HCFavoriteThisGameController>(platform::self(this));
    favoriteButton_->addTarget(this, [weakSelf](platform::ui::Control&) {
        if (auto page = weakSelf.lock()) page->onFavoritePressed();
    }, platform::ui::ControlEventTouchUpInside);
    HCFormControllerHelper::viewDidLoad();
}

void HCFavoriteThisGameController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCFormControllerHelper::viewWillAppear(animated);
    setReviewAreaAvailable(false, false);
    showLoadingScreen();
    // A read the provider drops unanswered ends like a failed one.
    auto [loaded, failed] = pageRequestDelegates<HCFavoriteThisGameController>(
        std::static_pointer_cast<HCFavoriteThisGameController>(platform::self(this)),
        [](auto& page, const auto& reply) { page.onReviewLoaded(platform::as<HCPaginatedSeries>(reply)); },
        [](auto& page, const auto& failure) { page.onReviewReadFailed(failure); });
    HCClientApplicationService::getPlayerReviewForGame(getClientApplicationId(), std::nullopt, loaded, failed);
}

void HCFavoriteThisGameController::onReviewReadFailed(std::shared_ptr<platform::Object>)
{
    hideLoadingScreen();
    // Without the player's review the page has nothing else to show.
    descriptionLabel_->setText(kReadFailedMessage);
}

void HCFavoriteThisGameController::onReviewLoaded(std::shared_ptr<HCPaginatedSeries> reviews)
{
    auto first = reviews && reviews->count() > 0 ? platform::as<HCPlayerReview>(reviews->objectAtIndex(0)) : nullptr;
    if (first && first->favorite()) {
        onGameIsFavorite(first->review().value_or(""));
    } else {
        onGameIsNotFavorite();
    }
    hideLoadingScreen();
}

void HCFavoriteThisGameController::showStar(bool filled)
{
    const bool large = Halcyon::isLargeScreen();
    const char* name = filled ? (large ? "HCFavoriteThisGameIconRateOn.png" : "HCButtonStarFilled.png")
                              : (large ? "HCFavoriteThisGameIconRateOff.png" : "HCButtonStarEmpty.png");
    auto image = HCImageLoader::loadImage(name);
    favoriteButton_->setImage(image, platform::ui::ControlStateNormal);
    favoriteButton_->setImage(image, platform::ui::ControlStateHighlighted);
}

void HCFavoriteThisGameController::onGameIsFavorite(const std::string& review)
{
    isFavorite_ = true;
    showStar(true);
    reviewTextField_->setText(review);
    descriptionLabel_->setText("You've added " + getClientApplicationName() +
                               " to your Favorites. From now on when your friends view your list of games, this one "
                               "will be marked with a star. Press the star again to remove it from your Favorites.");
    setReviewAreaAvailable(true, true);
}

void HCFavoriteThisGameController::onGameIsNotFavorite()
{
    isFavorite_ = false;
    descriptionLabel_->setText("Love the game? Press the star below to make it a Favorite. You'll help support the "
                               "developer and share your Favorites with your friends.");
    showStar(false);
    setReviewAreaAvailable(false, true);
}

void HCFavoriteThisGameController::onFavoritePressed()
{
    updateState(false, !isFavorite_, &HCFavoriteThisGameController::onIsFavoriteChanged);
}

void HCFavoriteThisGameController::onIsFavoriteChanged(std::shared_ptr<platform::Object>)
{
    isFavorite_ = !isFavorite_;
    onRequestSucceeded();
}

void HCFavoriteThisGameController::onRequestSucceeded()
{
    if (isFavorite_) {
        onGameIsFavorite(reviewTextField_->text());
    } else {
        onGameIsNotFavorite();
    }
    hideLoadingScreen();
}

void HCFavoriteThisGameController::onSubmitReviewPressed()
{
    HC_CHECK_MAIN_THREAD();
    reviewTextField_->resignFirstResponder();
    if (reviewTextField_->text().empty()) {
        showNote(kEmptyReviewMessage);
        return;
    }
    updateState(true, true, &HCFavoriteThisGameController::onReviewSubmitted);
}

void HCFavoriteThisGameController::onReviewSubmitted(std::shared_ptr<platform::Object>)
{
    hideLoadingScreen();
    showNote(kSubmittedMessage);
}

void HCFavoriteThisGameController::onRequestFailed(std::shared_ptr<platform::Object>)
{
    hideLoadingScreen();
}

void HCFavoriteThisGameController::updateState(
    bool sendReview, bool makeFavorite,
    void (HCFavoriteThisGameController::*onSuccess)(std::shared_ptr<platform::Object>))
{
    HC_CHECK_MAIN_THREAD();
    if (changing_ || isSubmitting()) return;
    changing_ = true;
    showLoadingScreen();
    if (auto submit = navigationItem()->rightBarButtonItem()) submit->setEnabled(false);
    auto self = std::static_pointer_cast<HCFavoriteThisGameController>(platform::self(this));
    // A change the provider drops ends as a failed one, so the page takes
    // changes again. A review is the player's writing: refused, or dropped
    // once he left the page (which takes the field with it), it is told
    // wherever he is; the star alone is told nowhere.
    HCPageRequestHandler<HCFavoriteThisGameController> tellReviewFailure;
    if (sendReview) tellReviewFailure = [](auto& page, const platform::ObjectPtr& reason) { page.tellSubmissionFailure(reason); };
    auto [success, failure] = pageRequestDelegates<HCFavoriteThisGameController>(
        self,
        [onSuccess](auto& page, const platform::ObjectPtr& reply) {
            page.endChange();
            (page.*onSuccess)(reply);
        },
        [](auto& page, const platform::ObjectPtr& reason) {
            page.endChange();
            page.onRequestFailed(reason);
        },
        tellReviewFailure, HCDroppedRequest::Untold,
        sendReview ? HCFailureTold::WhereverThePlayerIs : HCFailureTold::WhileShown);
    if (makeFavorite) {
        const std::string& text = reviewTextField_->text();
        HCClientApplicationService::makeGameFavorite(
            getClientApplicationId(), sendReview && !text.empty() ? std::optional<std::string>(text) : std::nullopt,
            success, failure);
    } else {
        HCClientApplicationService::unfavoriteGame(getClientApplicationId(), success, failure);
    }
}

std::string HCFavoriteThisGameController::getFormSubmissionUrl()
{
    if (changing_) return {};
    return HCServicePath::format("client_applications/%@/users/review.xml", {getClientApplicationId()}).value_or("");
}

void HCFavoriteThisGameController::addHiddenParameters(HCHttpNestedQueryStringWriter& parameters)
{
    HCFormControllerHelper::addHiddenParameters(parameters);
    HCISerializer::Scope scope(&parameters, "client_application_user");
    if (!reviewTextField_->text().empty()) parameters.io("review", reviewTextField_->text());
    parameters.io("favorite", isFavorite_);
}

void HCFavoriteThisGameController::onFormSubmitted(const HCPaginatedSeriesPtr&)
{
    HC_CHECK_MAIN_THREAD();
    reviewTextField_->resignFirstResponder();
    hideLoadingScreen();
    showNote(kFormSubmittedMessage);
}

std::string HCFavoriteThisGameController::failureMessageWithoutReply()
{
    return HCTextsInFlight::notSentMessageFor(reviewTextField_->text());
}

platform::ui::BarButtonItemPtr HCFavoriteThisGameController::submitBarButtonItem()
{
    return navigationItem()->rightBarButtonItem();
}

void HCFavoriteThisGameController::endChange()
{
    changing_ = false;
    if (auto submit = navigationItem()->rightBarButtonItem()) submit->setEnabled(true);
}

void HCFavoriteThisGameController::setReviewAreaAvailable(bool available, bool animate)
{
    auto change = [this, available] {
        if (Halcyon::isInLandscapeMode()) {
            const double width = view()->bounds().width() * (available ? 0.3 : 1.0);
            auto star = favoriteButton_->center();
            favoriteButton_->setCenter({width / 2, star.y});
            auto area = reviewArea_->center();
            reviewArea_->setCenter({width + reviewArea_->bounds().width() / 2, area.y});
        } else {
            reviewArea_->setUserInteractionEnabled(available);
            reviewArea_->setAlpha(available ? 1.0 : 0.0);
        }
    };
    if (animate) {
        platform::ui::View::beginAnimations(Halcyon::isInLandscapeMode() ? "slidingIn" : "fadingIn");
        platform::ui::View::setAnimationDuration(kSlideSeconds);
        change();
        platform::ui::View::commitAnimations();
    } else {
        change();
    }
    if (available) {
        std::weak_ptr<HCFavoriteThisGameController> weakSelf =
            std::static_pointer_cast<HCFavoriteThisGameController>(platform::self(this));
        navigationItem()->setRightBarButtonItem(platform::ui::BarButtonItem::withTitle(
            "Submit", platform::ui::BarButtonStyle::Plain, [weakSelf](auto&) {
                if (auto page = weakSelf.lock()) page->onSubmitReviewPressed();
            }));
    } else {
        reviewTextField_->resignFirstResponder();
        navigationItem()->setRightBarButtonItem(nullptr);
    }
}
