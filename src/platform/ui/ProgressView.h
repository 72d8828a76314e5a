#pragma once
// A bar that shows how far something has come, from 0 to 1.
//
// Thread: main thread only.
#include <string>

#include "platform/ui/View.h"

namespace platform::ui {

// Numbers match the platform's styles.
enum class ProgressViewStyle : int { Default = 0, Bar = 1 };

class ProgressView : public View {
public:
    explicit ProgressView(ProgressViewStyle style = ProgressViewStyle::Default);
    static std::shared_ptr<ProgressView> make(ProgressViewStyle style = ProgressViewStyle::Default)
    {
        return std::make_shared<ProgressView>(style);
    }

    ProgressViewStyle style() const { return style_; }
    double progress() const { return progress_; }
    // Clamped to 0...1; not-a-number counts as 0.
    void setProgress(double progress);

    std::string kindName() const override { return "ProgressView"; }
    // The progress in percent: "40%".
    std::string describe() const override;

private:
    ProgressViewStyle style_;
    double progress_ = 0;
};

}  // namespace platform::ui
