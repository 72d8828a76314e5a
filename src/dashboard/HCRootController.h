#pragma once
// The dashboard's frame: the one controller whose view the dashboard puts
// in the game's window. It shows one content controller at a time, sliding
// it in with the "in" transition and out with the "out" one, and when
// either transition has ended it tells the dashboard presentation
// (HalcyonDashboard::animationDidStop), which finishes the appearance or
// destroys the frame. Behind the content lies a drop shadow view, which an
// overlay on a large screen takes away.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "platform/ui/Animation.h"
#include "platform/ui/ViewController.h"

class HCRootController final : public platform::ui::ViewController {
public:
    // How long the content takes to slide in or out.
    static constexpr double kTransitionSeconds = 0.5;
    // The layer key under which the frame's transitions run.
    static constexpr const char* kTransitionKey = "HCRootControllerTransition";

    HCRootController();

    const platform::ui::ViewControllerPtr& contentController() const { return content_; }
    // Adds the controller's view and runs the in transition.
    void showController(const platform::ui::ViewControllerPtr& controller);
    // Runs the out transition; the content goes when it ends.
    void hideController();
    void setTransitionIn(platform::ui::TransitionSubtype subtype) { transitionIn_ = subtype; }
    void setTransitionOut(platform::ui::TransitionSubtype subtype) { transitionOut_ = subtype; }
    platform::ui::TransitionSubtype transitionIn() const { return transitionIn_; }
    platform::ui::TransitionSubtype transitionOut() const { return transitionOut_; }
    const platform::ui::ViewPtr& bgDropShadow() const { return bgDropShadow_; }
    // Takes the content (and anything else) out of the frame.
    void cleanupSubviews();

    void loadView() override;
    std::string kindName() const override { return "HCRootController"; }

protected:
    std::vector<platform::ui::ViewControllerPtr> childrenForAppearance() const override;

private:
    class TransitionEnd;
    void runTransition(platform::ui::TransitionSubtype subtype, bool hiding);
    void transitionEnded(bool hiding, bool finished);

    platform::ui::ViewControllerPtr content_;
    platform::ui::ViewPtr bgDropShadow_;
    platform::ui::TransitionSubtype transitionIn_ = platform::ui::TransitionSubtype::FromTop;
    platform::ui::TransitionSubtype transitionOut_ = platform::ui::TransitionSubtype::FromBottom;
    bool contentShown_ = false;
    unsigned generation_ = 0;
};
