#pragma once
// A typeface at a point size. There is no font file behind it: the text
// metrics give every character a fixed advance by its class, so sizes are
// the same on every machine and in every test run.
//
// Names containing "Bold" are bold; the system fonts are "System" and
// "System-Bold".
//
// Thread: immutable; any thread.
#include <memory>
#include <string>

#include "platform/runtime/Object.h"

namespace platform::ui {

class Font final : public Object {
public:
    Font(std::string name, double pointSize);

    static std::shared_ptr<Font> systemFontOfSize(double pointSize);
    static std::shared_ptr<Font> boldSystemFontOfSize(double pointSize);
    static std::shared_ptr<Font> fontWithName(const std::string& name, double pointSize);

    const std::string& fontName() const { return name_; }
    double pointSize() const { return pointSize_; }
    bool isBold() const { return bold_; }
    // The height of one line of text.
    double lineHeight() const;
    std::shared_ptr<Font> fontWithSize(double pointSize) const;

    // "System-Bold 11"
    std::string description() const override;

private:
    std::string name_;
    double pointSize_;
    bool bold_;
};

using FontPtr = std::shared_ptr<Font>;

}  // namespace platform::ui
