#pragma once
// A thin strip (21 points) across the screen with a centred text and a
// disclosure arrow, for a game that wants a banner inside its own screens.
// No part of the client shows one.
//
// Thread: main thread only.
#include <memory>
#include <string>

#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

class HCDashboardNotificationView final : public platform::ui::View {
public:
    static constexpr double kHeight = 21;

    using View::View;
    static std::shared_ptr<HCDashboardNotificationView> notificationWithText(const std::string& text);

    std::string kindName() const override { return "HCDashboardNotificationView"; }

    std::shared_ptr<platform::ui::Label> label;
    std::shared_ptr<platform::ui::ImageView> arrow;

private:
    void initWithText(const std::string& text);
};
