#include "dashboard/HCChoiceList.h"

#include "dashboard/HCRootController.h"
#include "dashboard/HalcyonDashboard.h"
#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Screen.h"

HCChoiceListController::HCChoiceListController(std::shared_ptr<HCChoiceListDelegate> delegate,
                                               platform::ui::Point location, std::vector<std::string> choices)
    : delegate_(std::move(delegate)), location_(location), choices_(std::move(choices))
{
}

HCChoiceListController::~HCChoiceListController()
{
    if (delegate_) {
        delegate_->userDidChoiceListWithAnswer(-1);
    }
}

std::shared_ptr<HCChoiceListController> HCChoiceListController::initWithDelegate(
    std::shared_ptr<HCChoiceListDelegate> delegate, platform::ui::Point location, std::vector<std::string> choices)
{
    return std::make_shared<HCChoiceListController>(std::move(delegate), location, std::move(choices));
}

void HCChoiceListController::loadView()
{
    HC_CHECK_MAIN_THREAD();
    using namespace platform::ui;
    auto root = View::make(Screen::mainScreen()->applicationFrame());
    setView(root);
    auto self = std::static_pointer_cast<HCChoiceListController>(shared_from_this());
    std::weak_ptr<HCChoiceListController> weakSelf = self;

    auto backdrop = std::make_shared<Button>(ButtonType::Custom, Screen::mainScreen()->applicationFrame());
    backdrop->addTarget(this, [weakSelf](Control&) {
        if (auto list = weakSelf.lock()) list->dismissSelf();
    }, ControlEventTouchUpInside);
    root->addSubview(backdrop);
    View::beginAnimations("");
    backdrop->setAlpha(kBackdropAlpha);
    backdrop->setBackgroundColor(Color::blackColor());
    View::commitAnimations();

    for (size_t i = 0; i < choices_.size(); ++i) {
        auto button = HCChoiceButton::initWithList(self, choices_[i], static_cast<int>(i));
        button->setFrame(Rect(location_.x, location_.y + kButtonHeight * static_cast<double>(i), kButtonWidth,
                              kButtonHeight));
        root->addSubview(button);
    }
}

void HCChoiceListController::dismissWithAnswer(int answer)
{
    HC_CHECK_MAIN_THREAD();
    auto delegate = std::move(delegate_);
    if (!delegate) {
        return;
    }
    // Kept alive until it has dismissed itself: the delegate may drop it.
    auto self = shared_from_this();
    delegate->userDidChoiceListWithAnswer(answer);
    dismissModalViewController(false);
}

void HCChoiceListController::viewDidDisappear(bool animated)
{
    HC_CHECK_MAIN_THREAD();
    ViewController::viewDidDisappear(animated);
    // Still presented: only covered by another modal, and it comes back.
    if (presentingViewController()) {
        return;
    }
    if (auto delegate = std::move(delegate_)) {
        delegate->userDidChoiceListWithAnswer(-1);
    }
}

HCChoiceButton::HCChoiceButton(const std::shared_ptr<HCChoiceListController>& controller, const std::string& text,
                               int value)
    : Button(platform::ui::ButtonType::Custom), controller_(controller), returnValue_(value)
{
    setTitle(text, platform::ui::ControlStateNormal);
    addTarget(this, [this](platform::ui::Control&) { processButton(); }, platform::ui::ControlEventTouchUpInside);
}

std::shared_ptr<HCChoiceButton> HCChoiceButton::initWithList(const std::shared_ptr<HCChoiceListController>& controller,
                                                             const std::string& text, int value)
{
    return std::make_shared<HCChoiceButton>(controller, text, value);
}

void HCChoiceButton::processButton()
{
    if (auto controller = controller_.lock()) {
        controller->dismissWithAnswer(returnValue_);
    }
}

void HCChoiceList::showChoiceListWithDelegate(const std::shared_ptr<HCChoiceListDelegate>& delegate,
                                              platform::ui::Point location, const std::vector<std::string>& choices)
{
    HC_CHECK_MAIN_THREAD();
    auto root = HalcyonDashboard::getRootController();
    if (!root) {
        // Nothing to show the list on: the question is answered as declined.
        if (delegate) {
            delegate->userDidChoiceListWithAnswer(-1);
        }
        return;
    }
    root->presentModalViewController(HCChoiceListController::initWithDelegate(delegate, location, choices), false);
}
