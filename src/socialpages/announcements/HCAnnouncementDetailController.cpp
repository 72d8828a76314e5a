#include "socialpages/announcements/HCAnnouncementDetailController.h"

#include <algorithm>
#include <optional>
#include <string>

#include "core/halcyon/Halcyon.h"
#include "core/images/HCImageLoader.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SegmentedControl.h"
#include "social/announcements/HCAnnouncementService.h"
#include "social/forums/HCForumTopic.h"
#include "socialpages/announcements/HCAnnouncementDetailHeaderController.h"
#include "socialpages/announcements/HCApplicationDescriptionController.h"
#include "uiframework/HCContentWrapping.h"
#include "uiframework/HCControllerLoader.h"

std::shared_ptr<HCAnnouncementDetailController> HCAnnouncementDetailController::announcementDetail(
    const HCAnnouncementPtr& announcement)
{
    auto page = HCControllerLoader::load<HCAnnouncementDetailController>("AnnouncementDetail");
    if (!page) return nullptr;
    page->setThread(announcement);
    page->setTopic(HCForumTopic::announcementsTopic());
    return page;
}

std::shared_ptr<HCService> HCAnnouncementDetailController::getService()
{
    return HCAnnouncementService::sharedInstance();
}

void HCAnnouncementDetailController::doIndexActionWithPage(int page, const HCDelegate& onSuccess,
                                                           const HCDelegate& onFailure)
{
    HC_CHECK_MAIN_THREAD();
    HCAnnouncementService::getPostsForAnnouncement(thread() ? thread()->resourceId() : std::nullopt, page, onSuccess,
                                                   onFailure);
}

void HCAnnouncementDetailController::onHeaderResourceDownloaded(const platform::ObjectPtr& resource)
{
    firstPost_ = platform::as<HCForumPost>(resource);
}

void HCAnnouncementDetailController::onSectionsCreated(const Sections& sections)
{
    HCForumThreadViewController::onSectionsCreated(sections);
    const size_t index = getHeaderResourceSectionIndex();
    if (Halcyon::allowUserGeneratedContent() || index >= sections.size()) return;
    for (size_t i = 0; i < sections.size(); ++i) {
        auto page = sections[i]->page();
        if (!page) continue;
        if (i != index)
            page->setObjects({});
        else if (!page->objects().empty())
            page->setObjects({page->objects().front()});
    }
}

bool HCAnnouncementDetailController::shouldEnableNextButtonWithSection(const HCTableSectionDescription& section,
                                                                       const IndexPath& indexPath)
{
    return indexPath.row >= 0 && section.isRowLastObject(static_cast<size_t>(indexPath.row) + 1);
}

std::string HCAnnouncementDetailController::getNoDataFoundMessage()
{
    if (!Halcyon::allowUserGeneratedContent()) return "Disabled by Parental Controls";
    if (isLocked()) return kLockedText;
    return "No one is discussing this announcement.";
}

std::string HCAnnouncementDetailController::getLoadFailedMessage()
{
    return isLocked() ? getNoDataFoundMessage() : HCForumThreadViewController::getLoadFailedMessage();
}

void HCAnnouncementDetailController::onTableHeaderCreated(const platform::ObjectPtr& object)
{
    HC_CHECK_MAIN_THREAD();
    auto header = platform::as<HCAnnouncementDetailHeaderController>(object);
    if (!header) return;
    auto headerView = header->view();
    auto pageView = view();
    if (auto wrapper = std::dynamic_pointer_cast<HCContentWrapping>(pageView->superview())) {
        if (auto wrapped = wrapper->wrappedView()) pageView = wrapped;
    }
    const double width = pageView->frame().width();
    auto announcement = platform::as<HCAnnouncement>(thread());
    header->titleLabel()->setText(thread() ? thread()->title().value_or("") : std::string());
    std::optional<std::string> ownText;
    if (firstPost_) {
        ownText = firstPost_->body();
    } else if (announcement) {
        ownText = announcement->body();
    }
    const std::string body = ownText.value_or("");
    auto bodyLabel = header->bodyLabel();
    bodyLabel->setText(body);
    const double bodyHeight = bodyLabel->sizeThatFits(platform::ui::Size(width - 24, 0)).height;
    header->headerToolbarView()->setHidden(isLocked());
    const double detailHeight =
        std::max(kMinimumDetailHeight, header->bodyWrapperView()->frame().origin.y + 12 + bodyHeight);
    const double toolbar = isLocked() ? 0 : header->headerToolbarView()->frame().height() - 1;
    headerView->setFrame(platform::ui::Rect(0, 0, width, detailHeight + toolbar));
    auto bodyFrame = bodyLabel->frame();
    bodyFrame.size.height = bodyHeight;
    bodyLabel->setFrame(bodyFrame);
    auto detail = header->detailWrapperView()->frame();
    detail.size.height = detailHeight;
    header->detailWrapperView()->setFrame(detail);
    auto toolbarFrame = header->headerToolbarView()->frame();
    toolbarFrame.origin.y = detailHeight;
    header->headerToolbarView()->setFrame(toolbarFrame);
    const bool linked = announcement && announcement->linkedClientApplicationId() &&
                        !announcement->linkedClientApplicationId()->empty();
    header->buyButton()->setHidden(!linked);
    std::weak_ptr<HCAnnouncementDetailController> weakSelf =
        std::static_pointer_cast<HCAnnouncementDetailController>(platform::self(this));
    header->buyButton()->removeTarget(nullptr, platform::ui::ControlEventTouchUpInside);
    header->buyButton()->addTarget(
        this, [weakSelf](auto&) { if (auto page = weakSelf.lock()) page->pressedBuy(); },
        platform::ui::ControlEventTouchUpInside);
}

void HCAnnouncementDetailController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    setHideSubscribeAndReplyButtons(true);
    HCForumThreadViewController::viewWillAppear(animated);
    std::vector<platform::ui::SegmentedControl::Item> items;
    // Made in place: gcc's optimiser takes a moved temporary of the item's
    // variant for an uninitialised read.
    if (!isLocked()) items.emplace_back(HCImageLoader::loadImage("HCButtonReplyToThread.png"));
    if (showCloseButton_) items.emplace_back(std::string("Close"));
    if (items.empty()) return;
    auto segments = platform::ui::SegmentedControl::make(items);
    segments->setMomentary(true);
    segments->setSegmentedControlStyle(platform::ui::SegmentedControl::Style::Bar);
    std::weak_ptr<HCAnnouncementDetailController> weakSelf =
        std::static_pointer_cast<HCAnnouncementDetailController>(platform::self(this));
    segments->addTarget(
        this,
        [weakSelf](platform::ui::Control& control) {
            auto page = weakSelf.lock();
            auto* bar = dynamic_cast<platform::ui::SegmentedControl*>(&control);
            if (page && bar) page->segmentTapped(bar->selectedSegmentIndex());
        },
        platform::ui::ControlEventValueChanged);
    navigationItem()->setRightBarButtonItem(platform::ui::BarButtonItem::withCustomView(segments));
}

void HCAnnouncementDetailController::segmentTapped(int index)
{
    HC_CHECK_MAIN_THREAD();
    if (!isLocked() && index == 0) {
        _reply();
        return;
    }
    Halcyon::dismissRootControllerOrItsModal();
}

void HCAnnouncementDetailController::pressedBuy()
{
    HC_CHECK_MAIN_THREAD();
    auto announcement = platform::as<HCAnnouncement>(thread());
    auto navigation = navigationController();
    if (!announcement || !navigation) return;
    auto page = HCApplicationDescriptionController::applicationDescriptionForId(
        announcement->linkedClientApplicationId(), std::string("announcementDetailBuy"));
    if (page) navigation->pushViewController(page, true);
}
