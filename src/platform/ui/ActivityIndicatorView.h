#pragma once
// The spinning "busy" sign. Only its state is kept: animating or not, and
// whether it hides itself while stopped.
//
// Thread: main thread only.
#include <string>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/View.h"

namespace platform::ui {

// Numbers match the platform's styles.
enum class ActivityIndicatorStyle : int { WhiteLarge = 0, White = 1, Gray = 2 };

class ActivityIndicatorView : public View {
public:
    explicit ActivityIndicatorView(ActivityIndicatorStyle style = ActivityIndicatorStyle::White);
    static std::shared_ptr<ActivityIndicatorView> make(ActivityIndicatorStyle style = ActivityIndicatorStyle::White)
    {
        return std::make_shared<ActivityIndicatorView>(style);
    }

    ActivityIndicatorStyle style() const { return style_; }
    void setStyle(ActivityIndicatorStyle style) { HC_CHECK_MAIN_THREAD(); style_ = style; }
    // Starting shows the view; stopping hides it while hidesWhenStopped is on.
    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return animating_; }
    bool hidesWhenStopped() const { return hidesWhenStopped_; }
    void setHidesWhenStopped(bool hides);

    Size sizeThatFits(Size size) const override;
    std::string kindName() const override { return "ActivityIndicator"; }
    // "animating" or "stopped".
    std::string describe() const override { return animating_ ? "animating" : "stopped"; }

private:
    ActivityIndicatorStyle style_;
    bool animating_ = false;
    bool hidesWhenStopped_ = true;
};

}  // namespace platform::ui
