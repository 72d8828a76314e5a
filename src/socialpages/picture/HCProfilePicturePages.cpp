#include "socialpages/picture/HCProfilePicturePages.h"

#include "platform/runtime/ClassRegistry.h"
#include "platform/ui/Label.h"
#include "platform/ui/NibRegistry.h"
#include "socialpages/picture/HCProfilePictureCell.h"
#include "socialpages/picture/HCSelectProfilePictureController.h"

void registerProfilePicturePageClasses()
{
    platform::registerClass<HCSelectProfilePictureController>("HCSelectProfilePictureController");
    platform::registerClass<HCProfilePictureCell>("HCProfilePictureCell");
    // The header has no controller: a line above the rows.
    platform::ui::NibRegistry::registerNib("SelectProfilePictureHeaderHc", [](const platform::ObjectPtr&) {
        auto header = platform::ui::View::make(platform::ui::Rect(0, 0, 320, 40));
        auto line = platform::ui::Label::make(platform::ui::Rect(10, 0, 300, 40));
        line->setText("Choose where your profile picture comes from");
        header->addSubview(line);
        return std::vector<platform::ObjectPtr>{header};
    });
}
