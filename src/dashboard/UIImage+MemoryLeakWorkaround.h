#pragma once
// Draws an image as a repeating pattern into the current graphics context:
// whole tiles from the origin over the context's whole clip area, upright.
// The rectangle does not limit the drawing; a caller that wants less clips
// the context first. Nothing happens without a current context.
//
// Thread: main thread (the current context is the main thread's).
#include "platform/ui/Geometry.h"
#include "platform/ui/Image.h"

void drawAsPatternInRectNoMemLeak(const platform::ui::Image& image, const platform::ui::Rect& rect);
