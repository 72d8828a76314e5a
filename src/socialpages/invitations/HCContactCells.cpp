#include "socialpages/invitations/HCContactCells.h"

#include "core/images/HCImageLoader.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Image.h"
#include "social/invitations/HCDeviceContact.h"
#include "socialpages/HCCellSubviews.h"

using platform::ui::Rect;

HCContactCell::HCContactCell()
    : profilePictureView_(HCImageView::make(Rect(5, 5, 34, 34))),
      nameLabel_(platform::ui::Label::make(Rect(46, 4, 220, 20))),
      numberOrEmail_(platform::ui::Label::make(Rect(64, 24, 200, 16))),
      phoneOrEmailIcon_(platform::ui::ImageView::make(Rect(46, 26, 14, 14)))
{
    setFrame(Rect(0, 0, 320, 44));
}

void HCContactCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HC_CHECK_MAIN_THREAD();
    adoptCellSubviews(*this, {nameLabel_, profilePictureView_, numberOrEmail_, phoneOrEmailIcon_});
    auto contact = platform::as<HCDeviceContact>(resource);
    if (!contact) return;
    nameLabel_->setText(contact->name.value_or(""));
    if (contact->number) {
        numberOrEmail_->setText(*contact->number);
        phoneOrEmailIcon_->setImage(HCImageLoader::loadImage("HCSelectInviteContactPhoneSmall.png"));
    } else if (contact->email) {
        numberOrEmail_->setText(*contact->email);
        phoneOrEmailIcon_->setImage(HCImageLoader::loadImage("HCSelectInviteContactMailSmall.png"));
    }
    auto picture = contact->imageData ? platform::ui::Image::imageWithData(contact->imageData) : nullptr;
    if (picture) {
        profilePictureView_->setDefaultImage(picture);
    } else {
        profilePictureView_->useOtherPlayerProfilePictureDefault();
    }
}

HCSelectableContactCell::HCSelectableContactCell() : checkbox_(HCImageView::make(Rect(286, 12, 20, 20)))
{
    setChecked(false);
}

void HCSelectableContactCell::onResourceChanged(const platform::ObjectPtr& resource)
{
    HCContactCell::onResourceChanged(resource);
    adoptCellSubviews(*this, {checkbox_});
}

void HCSelectableContactCell::setChecked(bool checked)
{
    HC_CHECK_MAIN_THREAD();
    checked_ = checked;
    checkbox_->setUnframed(true);
    checkbox_->setImage(HCImageLoader::loadImage(checked ? "HCCheckBoxSelected.png" : "HCCheckBox.png"));
}
