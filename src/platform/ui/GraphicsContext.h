#pragma once
// The current graphics context: the bitmap that drawing code draws into
// without being handed one, as the platform's drawRect and image-context code
// do. Contexts form a stack: a view's display pushes the view's own bitmap
// around its drawRect; beginImageContext pushes a fresh bitmap that
// imageFromCurrentImageContext reads and endImageContext pops.
//
// Thread: main thread only (the stack is the main thread's).
#include <functional>
#include <memory>

#include "platform/ui/BitmapContext.h"

namespace platform::ui {

// The context on top of the stack, or nullptr when none is pushed. A context
// pushed with a maker is made on the first ask, so drawing code that never
// draws costs no bitmap.
BitmapContext* currentContext();
// `context` stays owned by the caller until it is popped.
void pushContext(BitmapContext& context);
void pushContext(std::function<BitmapContext*()> maker);
void popContext();

void beginImageContext(Size size, bool opaque = false, double scale = 1.0);
// The bitmap of the image context on top, or nullptr when the top is not an
// image context (or it is empty).
std::shared_ptr<Image> imageFromCurrentImageContext();
// Pops the image context on top; nothing when the top is not one.
void endImageContext();

}  // namespace platform::ui
