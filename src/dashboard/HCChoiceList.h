#pragma once
// A small pop-up list of text choices over a dimmed backdrop, presented
// modally (without animation) on the dashboard's root controller. The
// delegate hears the index of the choice tapped, or -1 for a tap beside the
// list; it hears -1 at once when there is no dashboard to show the list on,
// and -1 when something else takes the list away (the dashboard closing or
// going offline dismisses its modals), even unseen under another screen.
// The delegate hears exactly one answer.
//
// Thread: main thread.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Button.h"
#include "platform/ui/ViewController.h"

class HCChoiceListDelegate {
public:
    virtual ~HCChoiceListDelegate() = default;
    virtual void userDidChoiceListWithAnswer(int answer) = 0;
};

class HCChoiceListController final : public platform::ui::ViewController {
public:
    static constexpr double kButtonWidth = 100;
    static constexpr double kButtonHeight = 20;
    static constexpr double kBackdropAlpha = 0.85;

    HCChoiceListController(std::shared_ptr<HCChoiceListDelegate> delegate, platform::ui::Point location,
                           std::vector<std::string> choices);
    // A list dropped without an answer (dismissed under another modal, so it
    // never disappeared on screen) declines.
    ~HCChoiceListController() override;
    static std::shared_ptr<HCChoiceListController> initWithDelegate(std::shared_ptr<HCChoiceListDelegate> delegate,
                                                                    platform::ui::Point location,
                                                                    std::vector<std::string> choices);

    void loadView() override;
    // Tells the delegate (once), then dismisses the list without animation.
    void dismissWithAnswer(int answer);
    void dismissSelf() { dismissWithAnswer(-1); }
    // Gone from the screen without an answer because someone else dismissed it.
    void viewDidDisappear(bool animated) override;
    std::string kindName() const override { return "HCChoiceListController"; }

private:
    std::shared_ptr<HCChoiceListDelegate> delegate_;
    platform::ui::Point location_;
    std::vector<std::string> choices_;
};

class HCChoiceButton final : public platform::ui::Button {
public:
    // Not retained: the controller's view holds the button.
    HCChoiceButton(const std::shared_ptr<HCChoiceListController>& controller, const std::string& text, int value);
    static std::shared_ptr<HCChoiceButton> initWithList(const std::shared_ptr<HCChoiceListController>& controller,
                                                        const std::string& text, int value);
    int returnValue() const { return returnValue_; }
    void processButton();

private:
    std::weak_ptr<HCChoiceListController> controller_;
    int returnValue_;
};

class HCChoiceList {
public:
    static void showChoiceListWithDelegate(const std::shared_ptr<HCChoiceListDelegate>& delegate,
                                           platform::ui::Point location, const std::vector<std::string>& choices);
};
