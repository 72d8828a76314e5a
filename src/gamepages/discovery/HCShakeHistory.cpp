#include "gamepages/discovery/HCShakeHistory.h"

#include <algorithm>

namespace {
void push(std::array<float, HCShakeHistory::kSamples>& axis, float value)
{
    std::move_backward(axis.begin(), axis.end() - 1, axis.end());
    axis[0] = value;
}
}  // namespace

bool HCShakeHistory::addSampleAndTestShake(float x, float y, float z)
{
    push(x_, x);
    push(y_, y);
    push(z_, z);
    return shakes(x_) || shakes(y_) || shakes(z_);
}

void HCShakeHistory::clear()
{
    x_.fill(0);
    y_.fill(0);
    z_.fill(0);
}

bool HCShakeHistory::shakes(const Axis& axis)
{
    // Compared from 0: an axis that never crossed zero does not shake.
    const float highest = std::max(0.0F, *std::max_element(axis.begin(), axis.end()));
    const float lowest = std::min(0.0F, *std::min_element(axis.begin(), axis.end()));
    return highest > 1.0F && lowest < -1.0F;
}
