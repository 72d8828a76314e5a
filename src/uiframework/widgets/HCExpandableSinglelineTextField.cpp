#include "uiframework/widgets/HCExpandableSinglelineTextField.h"

#include <algorithm>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/TextMetrics.h"

class HCExpandableSinglelineTextField::Watcher final : public platform::ui::TextViewDelegate {
public:
    explicit Watcher(HCExpandableSinglelineTextField& field) : field_(field) {}
    void textViewDidChange(platform::ui::TextView&) override { field_.fitToText(); }

private:
    HCExpandableSinglelineTextField& field_;
};

HCExpandableSinglelineTextField::HCExpandableSinglelineTextField(const platform::ui::Rect& frame)
    : platform::ui::View(frame),
      textView_(platform::ui::TextView::make(platform::ui::Rect(0, 0, frame.width(), frame.height())))
{
    textView_->setAutoresizingMask(platform::ui::AutoresizingFlexibleWidth | platform::ui::AutoresizingFlexibleHeight);
    watcher_ = std::make_shared<Watcher>(*this);
    textView_->setDelegate(watcher_);
}

HCExpandableSinglelineTextField::~HCExpandableSinglelineTextField() = default;

std::shared_ptr<HCExpandableSinglelineTextField> HCExpandableSinglelineTextField::make(const platform::ui::Rect& frame)
{
    HC_CHECK_MAIN_THREAD();
    auto field = std::make_shared<HCExpandableSinglelineTextField>(frame);
    field->addSubview(field->textView_);
    auto oneLine = frame;
    oneLine.size.height = field->lineHeight() + 2 * platform::ui::TextView::kTextInset;
    field->setFrame(oneLine);
    return field;
}

void HCExpandableSinglelineTextField::setText(std::string text)
{
    HC_CHECK_MAIN_THREAD();
    textView_->setText(std::move(text));
    fitToText();
}

void HCExpandableSinglelineTextField::setMinLines(unsigned lines)
{
    HC_CHECK_MAIN_THREAD();
    minLines_ = std::max(1u, lines);
    maxLines_ = std::max(maxLines_, minLines_);
    fitToText();
}

void HCExpandableSinglelineTextField::setMaxLines(unsigned lines)
{
    HC_CHECK_MAIN_THREAD();
    maxLines_ = std::max({1u, lines, minLines_});
    fitToText();
}

double HCExpandableSinglelineTextField::lineHeight() const
{
    return textView_->font()->lineHeight();
}

void HCExpandableSinglelineTextField::fitToText()
{
    const double width = std::max(1.0, bounds().width() - 2 * platform::ui::TextView::kTextInset);
    const auto layout = platform::ui::layoutText(text(), *textView_->font(), width, 0, platform::ui::LineBreakMode::WordWrap);
    const auto needed = static_cast<unsigned>(layout.lines.size());
    const unsigned lines = std::clamp(needed, minLines_, maxLines_);
    if (lines == visibleLines_) return;
    auto frame = this->frame();
    const double change = (static_cast<double>(lines) - static_cast<double>(visibleLines_)) * lineHeight();
    frame.size.height = std::max(0.0, frame.height() + change);
    visibleLines_ = lines;
    setFrame(frame);
    if (auto delegate = delegate_.lock()) delegate->multilineTextFieldDidResize(*this);
}
