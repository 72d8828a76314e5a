#pragma once
// The rows of the forum pages: a topic (the chat rooms' own icon for the
// topic without an id), a discussion (sticky, locked, followed), a post
// (its author, the author's last game, the body at full height), and the
// leading row of a discussion that carries its star button.
//
// Thread: main thread.
#include <memory>

#include "core/images/HCImageView.h"
#include "core/users/HCUser.h"
#include "platform/ui/Button.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "uiframework/table/HCTableCellHelper.h"

class HCForumTopicCell : public HCTableCellHelper {
public:
    HCForumTopicCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    const std::shared_ptr<platform::ui::ImageView>& topicIcon() const { return topicIcon_; }
    std::string kindName() const override { return "HCForumTopicCell"; }

private:
    std::shared_ptr<platform::ui::Label> titleLabel_;
    std::shared_ptr<platform::ui::ImageView> topicIcon_;
};

class HCForumThreadCell : public HCTableCellHelper {
public:
    HCForumThreadCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    const std::shared_ptr<platform::ui::Label>& titleLabel() const { return titleLabel_; }
    const std::shared_ptr<platform::ui::Label>& stickyLabel() const { return stickyLabel_; }
    const std::shared_ptr<platform::ui::Label>& postsCountLabel() const { return postsCountLabel_; }
    const std::shared_ptr<platform::ui::ImageView>& threadStatusIcon() const { return threadStatusIcon_; }
    const std::shared_ptr<platform::ui::ImageView>& favoritedIcon() const { return favoritedIcon_; }
    std::string kindName() const override { return "HCForumThreadCell"; }

private:
    std::shared_ptr<platform::ui::Label> titleLabel_, stickyLabel_, postsCountLabel_, lastPostByLabel_;
    std::shared_ptr<platform::ui::ImageView> favoritedIcon_, threadStatusIcon_;
};

class HCForumPostCell : public HCTableCellHelper {
public:
    static constexpr double kMinimumHeight = 58.0;
    HCForumPostCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    void layoutSubviews() override;
    const std::shared_ptr<platform::ui::Label>& authorLabel() const { return authorLabel_; }
    const HCUserPtr& author() const { return author_; }
    // A touch on the author's picture opens the author's profile.
    const std::shared_ptr<platform::ui::Button>& authorButton() const { return authorButton_; }
    void _goToProfile();
    std::string kindName() const override { return "HCForumPostCell"; }

private:
    void placeBody();

    std::shared_ptr<platform::ui::View> contentWrapperView_;
    std::shared_ptr<HCImageView> authorPictureView_;
    std::shared_ptr<platform::ui::Label> authorLabel_, gameLabel_, bodyLabel_;
    std::shared_ptr<platform::ui::Button> authorButton_;
    HCUserPtr author_;
};

// The star button of a discussion; the page wires it when the row loads.
class HCForumSubscribeButtonCell : public HCTableCellHelper {
public:
    HCForumSubscribeButtonCell();
    void onResourceChanged(const platform::ObjectPtr& resource) override;
    bool hasConstantHeight() const override { return true; }
    const std::shared_ptr<platform::ui::Button>& button() const { return button_; }
    std::string kindName() const override { return "HCForumSubscribeButtonCell"; }

private:
    std::shared_ptr<platform::ui::Button> button_;
};
