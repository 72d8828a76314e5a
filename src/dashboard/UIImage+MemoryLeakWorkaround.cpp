#include "dashboard/UIImage+MemoryLeakWorkaround.h"

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/GraphicsContext.h"

void drawAsPatternInRectNoMemLeak(const platform::ui::Image& image, const platform::ui::Rect& /*rect*/)
{
    HC_CHECK_MAIN_THREAD();
    platform::ui::BitmapContext* context = platform::ui::currentContext();
    if (!context) {
        return;
    }
    const platform::ui::Size size = image.size();
    context->saveGState();
    context->setBlendMode(platform::ui::BlendMode::Normal);
    // The tiled draw works in image coordinates, y up: flip so tiles come out upright.
    context->translateCTM(0, size.height);
    context->scaleCTM(1, -1);
    context->drawTiledImage(image, platform::ui::Rect(0, 0, size.width, size.height));
    context->restoreGState();
}
