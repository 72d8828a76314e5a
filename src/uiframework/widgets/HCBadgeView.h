#pragma once
// A count in a coloured bubble (unread messages, pending friends, a rank on
// the map). It hides itself while it has nothing to say: at 0 (or "0", or
// no text), and grows sideways to fit longer texts.
//
// Thread: main thread.
#include <memory>
#include <string>

#include "platform/ui/Label.h"
#include "platform/ui/View.h"

class HCBadgeView final : public platform::ui::View {
public:
    static constexpr double kHeight = 22;

    explicit HCBadgeView(const platform::ui::Color& color);
    static std::shared_ptr<HCBadgeView> greenBadge();
    static std::shared_ptr<HCBadgeView> redBadge();

    void setValue(int value);
    void setValueText(const std::string& text);
    const std::string& valueText() const { return label_->text(); }

    std::string kindName() const override { return "HCBadgeView"; }
    std::string describe() const override { return "\"" + valueText() + "\""; }

private:
    static std::shared_ptr<HCBadgeView> make(const platform::ui::Color& color);

    std::shared_ptr<platform::ui::Label> label_ = platform::ui::Label::make();
};
