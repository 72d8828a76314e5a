#include "platform/ui/ProgressView.h"

#include <algorithm>
#include <cmath>

#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {

ProgressView::ProgressView(ProgressViewStyle style) : View(Rect(0, 0, 150, 9)), style_(style) {}

void ProgressView::setProgress(double progress)
{
    HC_CHECK_MAIN_THREAD();
    progress_ = std::isnan(progress) ? 0.0 : std::clamp(progress, 0.0, 1.0);
}

std::string ProgressView::describe() const { return formatNumber(progress_ * 100.0) + "%"; }

}  // namespace platform::ui
