#pragma once
// The banner of a player's pages ("PlayerBanner"): the player's picture
// and name; a tap goes to the page that provides the banner, a tap on the
// picture to its bannerProfilePictureTouched when it has one.
//
// Thread: main thread.
#include <memory>

#include "core/images/HCImageView.h"
#include "dashboard/HCBannerCell.h"
#include "platform/ui/Label.h"

class HCPlayerBannerCell : public HCBannerCell {
public:
    static constexpr double kHeight = 44;
    HCPlayerBannerCell();

    const std::shared_ptr<platform::ui::Label>& nameLabel() const { return nameLabel_; }
    const std::shared_ptr<HCImageView>& pictureView() const { return pictureView_; }
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    void touchesEnded(const platform::ui::TouchSet& touches, const platform::ui::Event& event) override;
    bool hasConstantHeight() const override { return true; }
    std::string kindName() const override { return "HCPlayerBannerCell"; }

private:
    std::shared_ptr<HCImageView> pictureView_;
    std::shared_ptr<platform::ui::Label> nameLabel_;
};
