#include "socialpages/composer/HCSendSocialNotificationCells.h"

#include "core/halcyon/Halcyon.h"
#include "core/users/HCGameProfilePageInfo.h"
#include "core/images/HCImageLoader.h"
#include "core/replies/HCPaginatedSeries.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Utf8.h"
#include "social/socialposts/HCImageUrl.h"
#include "social/socialposts/HCSocialNotificationService.h"
#include "socialpages/HCCellSubviews.h"
#include "socialpages/composer/HCSendSocialNotificationController.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "uiframework/widgets/HCViewHelper.h"

namespace {

using platform::ui::Rect;
namespace utf8 = platform::ui::utf8;

struct NetworkFace {
    const char* connect;
    const char* post;
    const char* connectImage;
    const char* connectedIcon;
};

const NetworkFace& faceOf(int type)
{
    static const NetworkFace facebook{"Connect to Facebook", "Post to Facebook", "HCConnectToFacebook.png",
                                      "HCConnectedToFacebook.png"};
    static const NetworkFace twitter{"Connect to Twitter", "Post to Twitter", "HCConnectToTwitter.png",
                                     "HCConnectedToTwitter.png"};
    return type == 1 ? twitter : facebook;
}

}  // namespace

HCSendSocialNotificationSubmitTextCell::HCSendSocialNotificationSubmitTextCell()
    : gameIcon_(HCImageView::make(Rect(8, 8, 48, 48))),
      prePopulatedText_(platform::ui::Label::make(Rect(64, 4, 248, 40))),
      message_(platform::ui::TextField::make(Rect(64, 48, 248, 30)))
{
    prePopulatedText_->setMinimumFontSize(9);
    message_->setPlaceholder("Add a message");
    message_->setReturnKeyType(platform::ui::ReturnKeyType::Send);
}

void HCSendSocialNotificationSubmitTextCell::setSendSocialNotificationController(
    const std::shared_ptr<HCSendSocialNotificationController>& page)
{
    HC_CHECK_MAIN_THREAD();
    adoptCellSubviews(*this, {gameIcon_, prePopulatedText_, message_});
    page_ = page;
    message_->setDelegate(std::dynamic_pointer_cast<HCSendSocialNotificationSubmitTextCell>(platform::self(this)));
}

void HCSendSocialNotificationSubmitTextCell::setPrepopulatedText(const std::optional<std::string>& lead,
                                                                 const std::optional<std::string>& message)
{
    HC_CHECK_MAIN_THREAD();
    std::string shown;
    if (lead) {
        shown = utf8::prefix(*lead, kMaxLeadCharacters);
        prePopulatedText_->setText(shown);
        const auto& font = *prePopulatedText_->font();
        prePopulatedText_->setFont(HCViewHelper::getFontToFitStringInSize(
            shown, prePopulatedText_->frame().size, font, static_cast<unsigned>(font.pointSize()),
            static_cast<unsigned>(prePopulatedText_->minimumFontSize())));
    }
    maxMessageCharacters_ = kMaxTotalCharacters - utf8::length(shown);
    // A longer lead than before shortens what the message may hold, even
    // when the message itself is not given again.
    const std::string text = message ? *message : message_->text();
    message_->setText(utf8::prefix(text, maxMessageCharacters_));
}

std::optional<bool> HCSendSocialNotificationSubmitTextCell::textFieldShouldChangeCharactersInRange(
    platform::ui::TextField& field, platform::ui::TextRange range, const std::string& replacement)
{
    if (replacement.empty()) return true;
    // The text the change would leave, not where it starts: a long paste at
    // the front must not carry the message past the limit.
    const auto after = utf8::replace(field.text(), range.location, range.length, replacement);
    return utf8::length(after) <= maxMessageCharacters_;
}

std::optional<bool> HCSendSocialNotificationSubmitTextCell::textFieldShouldReturn(platform::ui::TextField& field)
{
    if (auto page = page_.lock()) page->send();
    field.resignFirstResponder();
    return false;
}

void HCSendSocialNotificationSubmitTextCell::setSocialNotificationImageName(const std::optional<std::string>& name)
{
    HC_CHECK_MAIN_THREAD();
    auto [found, failed] = pageRequestDelegates<HCSendSocialNotificationSubmitTextCell>(
        std::dynamic_pointer_cast<HCSendSocialNotificationSubmitTextCell>(platform::self(this)),
        [](auto& cell, const auto& reply) { cell._imageUrlFound(platform::as<HCPaginatedSeries>(reply)); },
        [](auto& cell, const auto&) { cell.showGameIcon(); });
    auto handle = HCSocialNotificationService::getImageUrlForNotificationImageNamed(name, found, failed);
    if (!handle) showGameIcon();
}

void HCSendSocialNotificationSubmitTextCell::_imageUrlFound(std::shared_ptr<HCPaginatedSeries> reply)
{
    HC_CHECK_MAIN_THREAD();
    auto found = reply && reply->count() > 0 ? platform::as<HCImageUrl>(reply->objects().front()) : nullptr;
    if (found && found->url() && !found->url()->empty()) {
        setIconUrl(found->url());
    } else {
        showGameIcon();
    }
}

void HCSendSocialNotificationSubmitTextCell::showGameIcon()
{
    auto game = Halcyon::localGameProfileInfo();
    setIconUrl(game ? game->iconUrl() : std::nullopt);
}

void HCSendSocialNotificationSubmitTextCell::setDefaultImageName(const std::string& name)
{
    gameIcon_->setDefaultImage(HCImageLoader::loadImage(name));
}

void HCSendSocialNotificationSubmitTextCell::setIconUrl(const std::optional<std::string>& url)
{
    gameIcon_->setImageUrl(url);
}

HCSendSocialNotificationCell::HCSendSocialNotificationCell()
    : connetedView_(platform::ui::View::make(Rect(0, 0, 320, 44))),
      notConnetedView_(platform::ui::View::make(Rect(0, 0, 320, 44))),
      connectToNeworkLabel_(platform::ui::Label::make(Rect(52, 8, 260, 28))),
      connectToNetworkImage_(platform::ui::ImageView::make(Rect(8, 6, 32, 32))),
      postToNetworkLabel_(platform::ui::Label::make(Rect(52, 8, 220, 28))),
      connectedNetworkIcon_(platform::ui::ImageView::make(Rect(8, 6, 32, 32))),
      sendToNetworkCheckBoxView_(platform::ui::ImageView::make(Rect(280, 10, 24, 24)))
{
}

void HCSendSocialNotificationCell::setNetworkType(int type)
{
    HC_CHECK_MAIN_THREAD();
    if (!connetedView_->superview()) {
        adoptCellSubviews(*this, {connetedView_, notConnetedView_});
        connetedView_->addSubview(connectedNetworkIcon_);
        connetedView_->addSubview(postToNetworkLabel_);
        connetedView_->addSubview(sendToNetworkCheckBoxView_);
        notConnetedView_->addSubview(connectToNetworkImage_);
        notConnetedView_->addSubview(connectToNeworkLabel_);
    }
    networkType_ = type;
    const auto& face = faceOf(type);
    connectToNeworkLabel_->setText(face.connect);
    postToNetworkLabel_->setText(face.post);
    connectToNetworkImage_->setImage(HCImageLoader::loadImage(face.connectImage));
    connectedNetworkIcon_->setImage(HCImageLoader::loadImage(face.connectedIcon));
    refresh();
}

void HCSendSocialNotificationCell::setChecked(bool checked)
{
    HC_CHECK_MAIN_THREAD();
    checked_ = checked;
    sendToNetworkCheckBoxView_->setImage(HCImageLoader::loadImage(checked ? "HCCheckBoxSelected.png" : "HCCheckBox.png"));
}

void HCSendSocialNotificationCell::setConnectedToNetwork(bool connected)
{
    connectedToNetwork_ = connected;
    refresh();
}

void HCSendSocialNotificationCell::onResourceChanged(const platform::ObjectPtr&)
{
    refresh();
}

void HCSendSocialNotificationCell::refresh()
{
    connetedView_->setHidden(!connectedToNetwork_);
    notConnetedView_->setHidden(connectedToNetwork_);
}

HCNotConnectedToSocialNetworkCell::HCNotConnectedToSocialNetworkCell()
    : label_(platform::ui::Label::make(Rect(12, 8, 296, 44)))
{
    label_->setText("Connect Twitter or Facebook below to post about this game.");
}

void HCNotConnectedToSocialNetworkCell::onResourceChanged(const platform::ObjectPtr&)
{
    adoptCellSubviews(*this, {label_});
}
