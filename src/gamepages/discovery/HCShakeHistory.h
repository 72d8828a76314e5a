#pragma once
// The last ten accelerometer samples of each axis, newest first, and the
// shake test run on them: an axis shakes when its samples went both above
// 1.0 and below -1.0 g within the last ten.
//
// Thread: used by one thread (the main thread); no lock.
#include <array>

class HCShakeHistory {
public:
    static constexpr int kSamples = 10;

    // Each axis moves one slot older and slot 0 takes the new value;
    // answers whether an axis now shakes (tested x, then y, then z).
    bool addSampleAndTestShake(float x, float y, float z);
    void clear();

private:
    using Axis = std::array<float, kSamples>;
    static bool shakes(const Axis& axis);

    Axis x_{};
    Axis y_{};
    Axis z_{};
};
