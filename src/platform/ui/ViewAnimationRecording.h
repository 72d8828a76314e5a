#pragma once
// Internal to the UI library: how View's setters tell the open animation
// block what changed, so that committing the block can attach the matching
// layer animations.
//
// Thread: main thread only.
#include <memory>
#include <string>

#include "platform/ui/Animation.h"

namespace platform::ui {

class Layer;

namespace viewanimation {

// True while an animation block is open and animations are enabled.
bool isRecording();
// Notes that `keyPath` of `layer` goes from `from` to `to` in the innermost
// open block; a second change of the same property keeps the first `from`.
void recordChange(const std::shared_ptr<Layer>& layer, const std::string& keyPath, AnimationValue from,
                  AnimationValue to);

}  // namespace viewanimation
}  // namespace platform::ui
