#include "platform/ui/SegmentedControl.h"

#include <algorithm>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/TextInput.h"

namespace platform::ui {

SegmentedControl::SegmentedControl(const std::vector<Item>& items, const Rect& frame) : Control(frame)
{
    for (const Item& item : items) segments_.push_back(Segment{item, true});
}

void SegmentedControl::insert(Segment segment, size_t index)
{
    if (index > segments_.size()) index = segments_.size();
    segments_.insert(segments_.begin() + static_cast<std::ptrdiff_t>(index), std::move(segment));
    if (selected_ != kNoSegment && static_cast<size_t>(selected_) >= index) ++selected_;
}

void SegmentedControl::insertSegmentWithTitle(const std::string& title, size_t index, bool animated)
{
    (void)animated;
    insert(Segment{title, true}, index);
}

void SegmentedControl::insertSegmentWithImage(ImagePtr image, size_t index, bool animated)
{
    (void)animated;
    insert(Segment{std::move(image), true}, index);
}

void SegmentedControl::removeSegmentAtIndex(size_t index, bool animated)
{
    (void)animated;
    if (index >= segments_.size()) return;
    segments_.erase(segments_.begin() + static_cast<std::ptrdiff_t>(index));
    if (selected_ == static_cast<int>(index)) {
        selected_ = kNoSegment;
    } else if (selected_ > static_cast<int>(index)) {
        --selected_;
    }
}

void SegmentedControl::removeAllSegments()
{
    segments_.clear();
    selected_ = kNoSegment;
}

void SegmentedControl::setTitle(const std::string& title, size_t segment)
{
    HC_CHECK_MAIN_THREAD();
    if (segment < segments_.size()) segments_[segment].content = title;
}

std::optional<std::string> SegmentedControl::titleForSegmentAtIndex(size_t segment) const
{
    if (segment >= segments_.size()) return std::nullopt;
    if (const auto* title = std::get_if<std::string>(&segments_[segment].content)) return *title;
    return std::nullopt;
}

void SegmentedControl::setImage(ImagePtr image, size_t segment)
{
    HC_CHECK_MAIN_THREAD();
    if (segment < segments_.size()) segments_[segment].content = std::move(image);
}

ImagePtr SegmentedControl::imageForSegmentAtIndex(size_t segment) const
{
    if (segment >= segments_.size()) return nullptr;
    if (const auto* image = std::get_if<ImagePtr>(&segments_[segment].content)) return *image;
    return nullptr;
}

void SegmentedControl::setEnabled(bool enabled, size_t segment)
{
    HC_CHECK_MAIN_THREAD();
    if (segment < segments_.size()) segments_[segment].enabled = enabled;
}

bool SegmentedControl::isEnabledForSegmentAtIndex(size_t segment) const
{
    return segment < segments_.size() && segments_[segment].enabled;
}

void SegmentedControl::setSelectedSegmentIndex(int index)
{
    HC_CHECK_MAIN_THREAD();
    selected_ = (index >= 0 && static_cast<size_t>(index) < segments_.size()) ? index : kNoSegment;
}

bool SegmentedControl::tapSegment(size_t segment)
{
    if (!acceptsTouches() || segment >= segments_.size() || !segments_[segment].enabled) return false;
    if (!momentary_ && selected_ == static_cast<int>(segment)) return false;
    const auto keepAlive = weak_from_this().lock();
    selected_ = static_cast<int>(segment);
    sendActionsForControlEvents(ControlEventValueChanged);
    if (momentary_) selected_ = kNoSegment;
    return true;
}

void SegmentedControl::touchesEnded(const TouchSet& touches, const Event&)
{
    if (touches.empty() || segments_.empty()) return;
    const Point p = touches.front()->locationInView(platform::self(this));
    const Rect b = bounds();
    if (!b.contains(p)) return;
    const double width = b.width() / static_cast<double>(segments_.size());
    tapSegment(std::min(segments_.size() - 1, static_cast<size_t>((p.x - b.minX()) / width)));
}

std::string SegmentedControl::describe() const
{
    std::string text;
    for (size_t i = 0; i < segments_.size(); ++i) {
        if (i > 0) text += " | ";
        std::string item;
        if (const auto* title = std::get_if<std::string>(&segments_[i].content)) {
            item = quotedForDump(*title);
        } else {
            const auto& image = std::get<ImagePtr>(segments_[i].content);
            item = image && !image->name().empty() ? image->name() : "(image)";
        }
        if (!segments_[i].enabled) item += " disabled";
        text += static_cast<int>(i) == selected_ ? "[" + item + "]" : item;
    }
    return text;
}

}  // namespace platform::ui
