#include "socialpages/invitations/HCSelectInviteTypeController.h"

#include "core/halcyon/Halcyon.h"
#include "dashboard/HCFramedNavigationController.h"
#include "dashboard/HCRootController.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/NavigationItem.h"
#include "social/invitations/HCInviteService.h"
#include "socialpages/invitations/HCInviteFriendsController.h"
#include "socialpages/invitations/HCInviteHeaderViews.h"
#include "uiframework/HCPageRequestDelegates.h"
#include "socialpages/invitations/HCSelectContactsToInviteController.h"
#include "socialpages/invitations/HCSelectFriendsToInviteController.h"
#include "uiframework/HCControllerLoader.h"

namespace {

template <class Page>
std::weak_ptr<Page> weakOf(Page* page)
{
    return std::static_pointer_cast<Page>(platform::self(page));
}

}  // namespace

std::shared_ptr<HCSelectInviteTypeController> HCSelectInviteTypeController::inviteTypeControllerWithInviteIdentifier(
    const std::optional<std::string>& inviteId)
{
    auto page = HCControllerLoader::load<HCSelectInviteTypeController>("SelectInviteType");
    if (page) page->setInviteId(inviteId);
    return page;
}

void HCSelectInviteTypeController::setInviteId(const std::optional<std::string>& inviteId)
{
    inviteId_ = inviteId && !inviteId->empty() ? inviteId : std::nullopt;
}

void HCSelectInviteTypeController::configurePicker(const std::shared_ptr<platform::ui::ViewController>& picker,
                                                   const std::string& title, std::function<void()> done)
{
    picker->setTitle(title);
    picker->navigationItem()->setRightBarButtonItem(platform::ui::BarButtonItem::withTitle(
        "Done", platform::ui::BarButtonStyle::Plain, [done = std::move(done)](auto&) { done(); }));
    picker->navigationItem()->setHidesBackButton(true);
}

void HCSelectInviteTypeController::openAsModal()
{
    HC_CHECK_MAIN_THREAD();
    navigationItem()->setLeftBarButtonItem(platform::ui::BarButtonItem::withSystemItem(
        platform::ui::SystemItem::Cancel, [](auto&) { Halcyon::dismissDashboard(); }));
    HalcyonDashboard::presentRootControllerWithModal(
        HCFramedNavigationController::withRootViewController(platform::self(this)));
}

void HCSelectInviteTypeController::openAsModalInDashboard()
{
    HC_CHECK_MAIN_THREAD();
    auto root = HalcyonDashboard::getRootController();
    if (!root) return;
    std::weak_ptr<HCRootController> weakRoot = root;
    navigationItem()->setLeftBarButtonItem(
        platform::ui::BarButtonItem::withSystemItem(platform::ui::SystemItem::Cancel, [weakRoot](auto&) {
            if (auto shown = weakRoot.lock()) shown->dismissModalViewController(true);
        }));
    root->presentModalViewController(HCFramedNavigationController::withRootViewController(platform::self(this)), true);
}

void HCSelectInviteTypeController::viewDidLoad()
{
    HC_CHECK_MAIN_THREAD();
    HCTableStaticControllerHelper::viewDidLoad();
    setTitle("Invite");
    auto weakSelf = weakOf(this);
    navigationItem()->setRightBarButtonItem(
        platform::ui::BarButtonItem::withTitle("Invite", platform::ui::BarButtonStyle::Plain, [weakSelf](auto&) {
            if (auto page = weakSelf.lock()) page->advance();
        }));
}

HCTableControllerHelper::Sections HCSelectInviteTypeController::buildTableSectionDescriptions()
{
    HC_CHECK_MAIN_THREAD();
    struct Row {
        const char* title;
        const char* icon;
        void (HCSelectInviteTypeController::*open)();
    };
    static constexpr Row kRows[] = {
        {"Halcyon Friends", "HCSelectInviteTypeLeaf.png", &HCSelectInviteTypeController::inviteHalcyonFriends},
        {"Contacts", "HCSelectInviteTypePhone.png", &HCSelectInviteTypeController::inviteContacts},
    };
    std::vector<platform::ui::TableViewCellPtr> rows;
    auto weakSelf = weakOf(this);
    for (size_t kind = 0; kind < std::size(kRows); ++kind) {
        auto cell = std::dynamic_pointer_cast<HCSelectInviteTypeCell>(
            HCControllerLoader::loadCell("SelectInviteType", platform::self(this)));
        if (!cell) continue;
        const auto open = kRows[kind].open;
        cell->setUp(kRows[kind].title, std::string(kRows[kind].icon), [weakSelf, open] {
            if (auto page = weakSelf.lock()) ((*page).*open)();
        });
        cell->setSelectedCount(selected_[kind].size());
        cells_[kind] = cell;
        rows.push_back(cell);
    }
    return {HCTableSectionDescription::sectionWithTitleAndStaticCells(std::string("Select Friends To Invite"), rows)};
}

void HCSelectInviteTypeController::onTableHeaderCreated(const platform::ObjectPtr& header)
{
    auto typed = std::dynamic_pointer_cast<HCSelectInviteTypeHeaderController>(header);
    header_ = typed;
    if (typed) typed->enticeLabel()->setText("");
}

void HCSelectInviteTypeController::onCellWasClicked(const platform::ObjectPtr&, const IndexPath& indexPathInTable)
{
    HC_CHECK_MAIN_THREAD();
    if (!sections().empty() && indexPathInTable.section == 0 &&
        static_cast<size_t>(indexPathInTable.row) < sections()[0]->staticCells().size()) {
        auto cell = std::dynamic_pointer_cast<HCSelectInviteTypeCell>(
            sections()[0]->staticCells()[static_cast<size_t>(indexPathInTable.row)]);
        if (cell && cell->createControllerSelector) cell->createControllerSelector();
    }
    tableView()->deselectRowAtIndexPath(indexPathInTable, true);
}

void HCSelectInviteTypeController::inviteHalcyonFriends()
{
    auto navigation = navigationController();
    auto picker = HCSelectFriendsToInviteController::inviteController(
        std::static_pointer_cast<HCSelectInviteTypeController>(platform::self(this)), selected_[kFriends]);
    if (navigation && picker) navigation->pushViewController(picker, true);
}

void HCSelectInviteTypeController::inviteContacts()
{
    auto navigation = navigationController();
    auto picker = HCSelectContactsToInviteController::inviteController(
        std::static_pointer_cast<HCSelectInviteTypeController>(platform::self(this)), addedContacts_,
        selected_[kContacts]);
    if (navigation && picker) navigation->pushViewController(picker, true);
}

void HCSelectInviteTypeController::updateSelectedType(ReceiverKind kind, const std::vector<platform::ObjectPtr>& list)
{
    HC_CHECK_MAIN_THREAD();
    selected_[kind] = list;
    if (auto cell = cells_[kind].lock()) cell->setSelectedCount(list.size());
}

const std::vector<platform::ObjectPtr>& HCSelectInviteTypeController::getSelectedListForType(ReceiverKind kind) const
{
    return selected_[kind];
}

void HCSelectInviteTypeController::viewWillAppear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    HCTableStaticControllerHelper::viewWillAppear(animated);
    askForDefinition();
}

void HCSelectInviteTypeController::askForDefinition()
{
    showLoadingScreen();
    const unsigned question = ++definitionQuestion_;
    auto self = std::static_pointer_cast<HCSelectInviteTypeController>(platform::self(this));
    auto [success, failure] = pageRequestDelegates<HCSelectInviteTypeController>(
        self,
        [question](auto& page, const auto& reply) {
            if (question == page.definitionQuestion_) page.didGetInviteDefinition(platform::as<HCPaginatedSeries>(reply));
        },
        [question](auto& page, const auto& failed) {
            if (question == page.definitionQuestion_) page.didFailGetInviteDefinition(failed);
        });
    if (inviteId_) {
        HCInviteService::getInviteDefinition(inviteId_, success, failure);
    } else {
        HCInviteService::getDefaultInviteDefinitionForApplication(success, failure);
    }
}

void HCSelectInviteTypeController::didGetInviteDefinition(std::shared_ptr<HCPaginatedSeries> series)
{
    HC_CHECK_MAIN_THREAD();
    auto definition = series && series->count() > 0 ? platform::as<HCInviteDefinition>(series->objects().front())
                                                    : nullptr;
    if (!definition) {
        didFailGetInviteDefinition(nullptr);
        return;
    }
    hideLoadingScreen();
    definition_ = definition;
    if (auto header = header_.lock()) {
        const auto& icon = definition_->inviteIconURL();
        if (icon && !icon->empty()) header->inviteIcon()->setImageUrl(icon);
        header->enticeLabel()->setText(definition_->senderIncentiveText().value_or(""));
    }
}

void HCSelectInviteTypeController::didFailGetInviteDefinition(std::shared_ptr<platform::Object>)
{
    hideLoadingScreen();
}

void HCSelectInviteTypeController::advance()
{
    HC_CHECK_MAIN_THREAD();
    if (selected_[kFriends].empty() && selected_[kContacts].empty()) {
        HCInviteFriendsController::showNoFriendsSelectedMessage();
        return;
    }
    std::vector<platform::ObjectPtr> receivers = selected_[kFriends];
    receivers.insert(receivers.end(), selected_[kContacts].begin(), selected_[kContacts].end());
    auto compose = HCControllerLoader::load<HCInviteFriendsController>("InviteFriends");
    auto navigation = navigationController();
    if (!compose || !navigation) return;
    compose->setSelectedUsers(std::move(receivers));
    compose->setDefinition(definition_);
    compose->setCloseAction(makeCloseAction());
    navigation->pushViewController(compose, true);
}

std::function<void()> HCSelectInviteTypeController::makeCloseAction()
{
    // A modal start page carries Cancel: ending the flow is the same.
    if (auto cancel = navigationItem()->leftBarButtonItem()) {
        std::weak_ptr<platform::ui::BarButtonItem> weakCancel = cancel;
        return [weakCancel] {
            if (auto item = weakCancel.lock()) item->sendAction();
        };
    }
    std::weak_ptr<platform::ui::NavigationController> weakNavigation = navigationController();
    std::weak_ptr<platform::ui::ViewController> below;
    if (auto navigation = navigationController()) below = navigation->previousViewController(platform::self(this));
    const bool hasBelow = !below.expired();
    return [weakNavigation, below, hasBelow] {
        auto navigation = weakNavigation.lock();
        if (!navigation) return;
        auto target = below.lock();
        if (hasBelow && target) {
            navigation->popToViewController(target, true);
        } else {
            navigation->popToRootViewController(true);
        }
    };
}
