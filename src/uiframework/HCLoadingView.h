#pragma once
// The dashboard's loading screen: a dimmed cover with a spinning sign and
// "Loading..." that a page puts over its view while a request runs, so the
// player cannot act on a page that is about to change.
//
// Thread: main thread.
#include <memory>

#include "platform/ui/ActivityIndicatorView.h"
#include "platform/ui/Label.h"
#include "platform/ui/View.h"

class HCLoadingView final : public platform::ui::View {
public:
    static constexpr const char* kText = "Loading...";

    explicit HCLoadingView(const platform::ui::Rect& frame);
    static std::shared_ptr<HCLoadingView> make(const platform::ui::Rect& frame);

    const std::shared_ptr<platform::ui::ActivityIndicatorView>& activityIndicator() const { return indicator_; }
    std::string kindName() const override { return "HCLoadingView"; }
    void layoutSubviews() override;

private:
    std::shared_ptr<platform::ui::ActivityIndicatorView> indicator_;
    std::shared_ptr<platform::ui::Label> label_;
};
