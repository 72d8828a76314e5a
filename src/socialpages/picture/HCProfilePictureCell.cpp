#include "socialpages/picture/HCProfilePictureCell.h"

#include "accounts/HCUsersCredentialCell.h"
#include "core/halcyon/Halcyon.h"
#include "core/users/HCUser.h"
#include "platform/foundation/OptionalText.h"
#include "platform/runtime/ThreadChecker.h"
#include "social/users/HCUsersCredential.h"

namespace {

using platform::ui::Rect;

constexpr double kProfilePictureCellCellWidth = 320.0;
constexpr double kCellHeight = 60.0;


bool isChosen(const HCUsersCredential& row, const HCUser& player)
{
    const auto& source = player.profilePictureSource();
    if (source == "TwitterCredential") return row.isTwitter();
    if (source == "FbconnectCredential") return row.isFacebook();
    if (source != "Upload") return false;
    // An upload with no picture left is the default icon.
    const bool ownPicture = platform::hasText(player.profilePictureUrl());
    return ownPicture ? row.isHttpBasic() : !platform::hasText(row.credentialType());
}

}  // namespace

HCProfilePictureCell::HCProfilePictureCell()
    : profilePictureView_(HCImageView::make(Rect(5, 5, 50, 50))),
      credentialImageView_(platform::ui::ImageView::make(Rect(65, 15, 160, 30))),
      credentialTextLabel_(platform::ui::Label::make(Rect(65, 0, 200, kCellHeight))),
      checkmark_(platform::ui::ImageView::withImage(platform::ui::Image::imageNamed(kCheckmarkImageName)))
{
    setFrame(Rect(0, 0, kProfilePictureCellCellWidth, kCellHeight));
    checkmark_->setFrame(Rect(kProfilePictureCellCellWidth - 60, 20, 20, 20));
}

void HCProfilePictureCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    if (!checkmark_->superview()) {
        for (const platform::ui::ViewPtr& view : {platform::ui::ViewPtr(profilePictureView_),
                                                  platform::ui::ViewPtr(credentialImageView_),
                                                  platform::ui::ViewPtr(credentialTextLabel_), platform::ui::ViewPtr(checkmark_)})
            contentView()->addSubview(view);
    }
    auto row = platform::as<HCUsersCredential>(resource);
    auto player = Halcyon::localUser();
    if (!row) return;
    checkmark_->setHidden(!player || !isChosen(*row, *player));

    if (platform::hasText(row->credentialProfilePictureUrl())) {
        profilePictureView_->useLocalPlayerProfilePictureDefault();
        profilePictureView_->setUseFacebookOverlay(row->isFacebook());
        profilePictureView_->setImageUrl(row->credentialProfilePictureUrl());
    } else if (platform::hasText(row->credentialType())) {
        profilePictureView_->setUseFacebookOverlay(false);
        profilePictureView_->setImage(platform::ui::Image::imageNamed(kUnknownPictureImageName));
    } else {
        profilePictureView_->useLocalPlayerProfilePictureDefault();
    }

    setAccessoryType(platform::ui::TableViewCellAccessoryType::None);
    if (auto badge = HCUsersCredentialCell::getCredentialImage(row->credentialType())) {
        credentialImageView_->setImage(platform::ui::Image::imageNamed(*badge));
        credentialImageView_->setHidden(false);
        credentialTextLabel_->setHidden(true);
        if (!row->isLinked()) setAccessoryType(platform::ui::TableViewCellAccessoryType::DisclosureIndicator);
        return;
    }
    credentialImageView_->setHidden(true);
    credentialTextLabel_->setHidden(false);
    if (row->isHttpBasic()) {
        credentialTextLabel_->setText(kOwnPictureText);
        setAccessoryType(platform::ui::TableViewCellAccessoryType::DisclosureIndicator);
    } else {
        credentialTextLabel_->setText(kDefaultIconText);
    }
}
