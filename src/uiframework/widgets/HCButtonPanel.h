#pragma once
// A grid of equal buttons under an optional header view (the game page's
// leaderboards, achievements, challenges ... buttons). The panel is set up
// for a number of slots of one size with a spacing between them; buttons go
// into slots by position (row-major), and slots without a button show the
// empty image when there is one. The columns are fixed, or as many as fit
// the panel's width; the grid is centred across, and also vertically in the
// room left below the header when asked. With a navigation bar over the
// panel, the grid starts below it.
//
// A disabled button stays in its slot, dimmed, with an optional decoration
// image over it; removeAllButtons gives the buttons it disabled back enabled.
//
// Thread: main thread.
#include <map>
#include <memory>
#include <vector>

#include "platform/ui/Button.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"

class HCButtonPanel final : public platform::ui::View {
public:
    static constexpr double kNavigationBarHeight = 44;
    static constexpr double kDisabledAlpha = 0.4;

    explicit HCButtonPanel(const platform::ui::Rect& frame = platform::ui::Rect());

    void configureMaxButtonCount(unsigned maxButtons, platform::ui::Size buttonSize, double buttonSpacing,
                                 platform::ui::ImagePtr emptyImage);
    // 0: as many columns as fit.
    void setFixedNumColumns(unsigned columns);
    void setCenteredVertically(bool centered);
    void setWithNavBar(bool withNavBar);
    void setHeaderView(const platform::ui::ViewPtr& header);
    const platform::ui::ViewPtr& headerView() const { return header_; }

    // Puts the button in the slot (replacing one there); a position past the
    // configured slots is refused (false).
    bool setButton(const platform::ui::ButtonPtr& button, unsigned position);
    // The button of a slot; nil when empty.
    platform::ui::ButtonPtr buttonAtPosition(unsigned position) const;
    void disableButton(const platform::ui::ButtonPtr& button, const platform::ui::ImagePtr& decorationImage);
    void removeAllButtons();

    // The columns the grid has now.
    unsigned numColumns() const;
    // Where a slot lies in the panel.
    platform::ui::Rect frameForPosition(unsigned position) const;

    void layoutSubviews() override;
    std::string kindName() const override { return "HCButtonPanel"; }

private:
    void relayout();

    unsigned maxButtons_ = 0;
    platform::ui::Size buttonSize_;
    double spacing_ = 0;
    platform::ui::ImagePtr emptyImage_;
    unsigned fixedColumns_ = 0;
    bool centeredVertically_ = false;
    bool withNavBar_ = false;
    platform::ui::ViewPtr header_;
    std::map<unsigned, platform::ui::ButtonPtr> buttons_;
    std::map<unsigned, std::shared_ptr<platform::ui::ImageView>> emptySlots_;
    std::map<const platform::ui::Button*, std::shared_ptr<platform::ui::ImageView>> decorations_;
    std::vector<platform::ui::ButtonPtr> disabled_;
};
