#include "uiframework/widgets/HCMultilineTextField.h"

#include "platform/ui/Layer.h"

HCMultilineTextField::HCMultilineTextField(const platform::ui::Rect& frame) : platform::ui::TextView(frame)
{
    layer()->setCornerRadius(6);
    layer()->setBorderWidth(1);
    layer()->setBorderColor(platform::ui::Color::grayColor());
    setFont(platform::ui::Font::systemFontOfSize(14));
}
