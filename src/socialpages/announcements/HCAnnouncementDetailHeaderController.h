#pragma once
// The top of an announcement's page ("AnnouncementDetailHeader"): its title
// and text in the detail area, the toolbar over the discussion, and the buy
// button of a linked game. The announcement page lays it out.
//
// Thread: main thread.
#include <memory>

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/ViewController.h"

class HCAnnouncementDetailHeaderController : public platform::ui::ViewController {
public:
    static constexpr double kToolbarHeight = 30.0;

    const std::shared_ptr<platform::ui::Label>& titleLabel() const { return titleLabel_; }
    const std::shared_ptr<platform::ui::Label>& bodyLabel() const { return bodyLabel_; }
    const std::shared_ptr<platform::ui::Label>& discussionLabel() const { return discussionLabel_; }
    const std::shared_ptr<platform::ui::Button>& buyButton() const { return buyButton_; }
    const platform::ui::ViewPtr& bodyWrapperView() const { return bodyWrapperView_; }
    const platform::ui::ViewPtr& detailWrapperView() const { return detailWrapperView_; }
    const platform::ui::ViewPtr& headerToolbarView() const { return headerToolbarView_; }

    void loadView() override;
    std::string kindName() const override { return "HCAnnouncementDetailHeaderController"; }

private:
    std::shared_ptr<platform::ui::Label> titleLabel_, bodyLabel_, discussionLabel_;
    std::shared_ptr<platform::ui::Button> buyButton_;
    platform::ui::ViewPtr bodyWrapperView_, detailWrapperView_, headerToolbarView_;
};
