#pragma once
// A row of the profile picture page ("ProfilePicture"): one place the
// local player's picture can come from (a linked network, their own upload,
// or the default icon), its picture, what it is (the network's badge or a
// label) and a check mark on the place the picture comes from now.
//
// Thread: main thread.
#include <memory>

#include "core/images/HCImageView.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCTableCellHelper.h"

class HCProfilePictureCell final : public HCTableCellHelper {
public:
    static constexpr const char* kOwnPictureText = "Choose your own!";
    static constexpr const char* kDefaultIconText = "Default Halcyon Icon";
    static constexpr const char* kUnknownPictureImageName = "HCUnknownProfilePicture.png";
    static constexpr const char* kCheckmarkImageName = "HCCheckmark.png";

    HCProfilePictureCell();

    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }

    const std::shared_ptr<HCImageView>& profilePictureView() const { return profilePictureView_; }
    const std::shared_ptr<platform::ui::ImageView>& credentialImageView() const { return credentialImageView_; }
    const std::shared_ptr<platform::ui::Label>& credentialTextLabel() const { return credentialTextLabel_; }
    const std::shared_ptr<platform::ui::ImageView>& checkmark() const { return checkmark_; }
    std::string kindName() const override { return "HCProfilePictureCell"; }

private:
    std::shared_ptr<HCImageView> profilePictureView_;
    std::shared_ptr<platform::ui::ImageView> credentialImageView_;
    std::shared_ptr<platform::ui::Label> credentialTextLabel_;
    std::shared_ptr<platform::ui::ImageView> checkmark_;
};
