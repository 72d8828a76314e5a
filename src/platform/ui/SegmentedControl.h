#pragma once
// A row of segments, each a title or an image, of which at most one is
// selected (-1: none). Selecting in code sends nothing; a person's tap on a
// segment (tapSegment) selects it and sends value changed. A momentary
// control shows the tapped segment selected only while its actions run and
// then returns to none.
//
// Thread: main thread only.
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/Control.h"
#include "platform/ui/Image.h"

namespace platform::ui {

class SegmentedControl : public Control {
public:
    static constexpr int kNoSegment = -1;
    using Item = std::variant<std::string, ImagePtr>;

    explicit SegmentedControl(const std::vector<Item>& items = {}, const Rect& frame = Rect());
    static std::shared_ptr<SegmentedControl> make(const std::vector<Item>& items = {})
    {
        return std::make_shared<SegmentedControl>(items);
    }

    size_t numberOfSegments() const { return segments_.size(); }
    // An index past the end appends. A selection at or after the index moves with its segment.
    void insertSegmentWithTitle(const std::string& title, size_t index, bool animated = false);
    void insertSegmentWithImage(ImagePtr image, size_t index, bool animated = false);
    // Removing the selected segment leaves none selected. Out of range: nothing.
    void removeSegmentAtIndex(size_t index, bool animated = false);
    void removeAllSegments();

    // Out of range: nothing / nullopt / nullptr / false.
    void setTitle(const std::string& title, size_t segment);
    std::optional<std::string> titleForSegmentAtIndex(size_t segment) const;
    void setImage(ImagePtr image, size_t segment);
    ImagePtr imageForSegmentAtIndex(size_t segment) const;
    using Control::setEnabled;
    void setEnabled(bool enabled, size_t segment);
    bool isEnabledForSegmentAtIndex(size_t segment) const;

    int selectedSegmentIndex() const { return selected_; }
    // kNoSegment or a valid index; anything else selects none.
    void setSelectedSegmentIndex(int index);
    bool isMomentary() const { return momentary_; }
    void setMomentary(bool momentary) { HC_CHECK_MAIN_THREAD(); momentary_ = momentary; }

    // A person taps a segment: nothing when the control does not accept
    // touches, the segment does not exist or is disabled, or (not momentary)
    // it is already selected. Answers whether value changed was sent.
    bool tapSegment(size_t segment);
    // A touch ends on the segment under it (segments share the width evenly).
    void touchesEnded(const TouchSet& touches, const Event& event) override;

    // Numbers match the platform's; the bar style is the small one that sits in bars.
    enum class Style : int { Plain = 0, Bordered = 1, Bar = 2, Bezeled = 3 };
    Style segmentedControlStyle() const { return style_; }
    void setSegmentedControlStyle(Style style) { HC_CHECK_MAIN_THREAD(); style_ = style; }

    std::string kindName() const override { return "SegmentedControl"; }
    // The segments separated by " | ", titles quoted, images by name, the
    // selected one in brackets: "[\"All Time\"] | \"Today\"".
    std::string describe() const override;

private:
    struct Segment {
        Item content;
        bool enabled = true;
    };
    void insert(Segment segment, size_t index);

    std::vector<Segment> segments_;
    int selected_ = kNoSegment;
    bool momentary_ = false;
    Style style_ = Style::Plain;
};

using SegmentedControlPtr = std::shared_ptr<SegmentedControl>;

}  // namespace platform::ui
