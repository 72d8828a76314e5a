#include "gamepages/nearme/HCHighScoreAnnotationView.h"

#include "core/images/HCImageLoader.h"
#include "core/images/HCImageView.h"
#include "gamepages/nearme/HCHighScoreAnnotation.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Button.h"
#include "scores/highscores/HCHighScore.h"
#include "uiframework/widgets/HCBadgeView.h"

namespace {

constexpr double kPictureSize = 30;

std::shared_ptr<HCImageView> pictureOf(const std::shared_ptr<HCHighScoreAnnotation>& annotation)
{
    auto picture = HCImageView::make(platform::ui::Rect(0, 0, kPictureSize, kPictureSize));
    picture->setShouldScaleImageToFillRect(true);
    const auto& score = annotation ? annotation->highScore() : nullptr;
    picture->useProfilePictureFromUser(score ? score->user() : nullptr);
    return picture;
}

}  // namespace

HCHighScoreAnnotationView::HCHighScoreAnnotationView(const std::shared_ptr<HCHighScoreAnnotation>& annotation,
                                                     std::string reuseIdentifier)
    : platform::ui::AnnotationView(annotation, std::move(reuseIdentifier))
{
    setEnabled(true);
    setCanShowCallout(true);
    setImage(HCImageLoader::loadImage("HCBlankIcon.png"));
    setRightCalloutAccessoryView(platform::ui::Button::buttonWithType(platform::ui::ButtonType::DetailDisclosure));
}

void HCHighScoreAnnotationView::setHighScoreAnnotation(const std::shared_ptr<HCHighScoreAnnotation>& annotation)
{
    HC_CHECK_MAIN_THREAD();
    setAnnotation(annotation);
    setLeftCalloutAccessoryView(pictureOf(annotation));
    // Not in the constructor: a view joins its parent only once it is shared.
    if (mapImageView_) mapImageView_->removeFromSuperview();
    if (badge_) badge_->removeFromSuperview();
    mapImageView_ = pictureOf(annotation);
    const auto offset = centerOffset();
    mapImageView_->setFrame(
        platform::ui::Rect(offset.x - kPictureSize / 2, offset.y - kPictureSize / 2, kPictureSize, kPictureSize));
    addSubview(mapImageView_);
    badge_ = annotation ? annotation->rankBadge() : nullptr;
    if (badge_) addSubview(badge_);
}
