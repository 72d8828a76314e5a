#include "socialpages/announcements/HCAnnouncementDetailHeaderController.h"

#include "platform/runtime/ThreadChecker.h"

void HCAnnouncementDetailHeaderController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    using platform::ui::Rect;
    auto root = platform::ui::View::make(Rect(0, 0, 320, 124 + kToolbarHeight));
    detailWrapperView_ = platform::ui::View::make(Rect(0, 0, 320, 124));
    titleLabel_ = platform::ui::Label::make(Rect(12, 8, 296, 20));
    bodyWrapperView_ = platform::ui::View::make(Rect(0, 32, 320, 80));
    bodyLabel_ = platform::ui::Label::make(Rect(12, 0, 296, 20));
    bodyLabel_->setNumberOfLines(0);
    buyButton_ = std::make_shared<platform::ui::Button>(platform::ui::ButtonType::RoundedRect, Rect(240, 4, 70, 24));
    buyButton_->setTitle(std::string("Buy"), platform::ui::ControlStateNormal);
    headerToolbarView_ = platform::ui::View::make(Rect(0, 124, 320, kToolbarHeight));
    discussionLabel_ = platform::ui::Label::make(Rect(12, 0, 296, kToolbarHeight));
    discussionLabel_->setText("Discussion");
    bodyWrapperView_->addSubview(bodyLabel_);
    detailWrapperView_->addSubview(titleLabel_);
    detailWrapperView_->addSubview(bodyWrapperView_);
    detailWrapperView_->addSubview(buyButton_);
    headerToolbarView_->addSubview(discussionLabel_);
    root->addSubview(detailWrapperView_);
    root->addSubview(headerToolbarView_);
    setView(root);
}
