#pragma once
// A banner image of the discovery pages ("GameDiscoveryImageHyperlink"),
// as a row or as the page's banner in the dashboard's frame. A tap opens
// the discovery page the link names, as a new "PlayedGame" page.
//
// Thread: main thread.
#include <memory>

#include "core/images/HCImageView.h"
#include "dashboard/HCBannerCell.h"

class HCGameDiscoveryImageHyperlink;

class HCGameDiscoveryImageHyperlinkCell : public HCBannerCell {
public:
    static constexpr double kHeight = 60;
    HCGameDiscoveryImageHyperlinkCell();

    // Pushes the page `link` leads to on `navigation`; false when it leads
    // nowhere this layer can show.
    static bool openLink(const std::shared_ptr<HCGameDiscoveryImageHyperlink>& link,
                         const std::shared_ptr<platform::ui::NavigationController>& navigation);
    // The link shown, opened on `navigation`.
    bool onCellWasClicked(const std::shared_ptr<platform::ui::NavigationController>& navigation);

    const std::shared_ptr<HCImageView>& imageView() const { return imageView_; }
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    void layoutSubviews() override;
    void touchesEnded(const platform::ui::TouchSet& touches, const platform::ui::Event& event) override;
    bool hasConstantHeight() const override { return true; }
    std::string kindName() const override { return "HCGameDiscoveryImageHyperlinkCell"; }

private:
    std::shared_ptr<HCImageView> imageView_;
};
