#pragma once
// An RGBA colour with components in 0...1 (values outside are clamped).
//
// Thread: a plain value; use it anywhere.
#include <string>

namespace platform::ui {

struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    constexpr Color() = default;
    Color(double r, double g, double b, double a = 1.0);
    bool operator==(const Color&) const = default;

    // A grey: the same level in all three channels.
    static Color withWhite(double level, double a = 1.0) { return Color(level, level, level, a); }

    static Color clearColor() { return Color(0, 0, 0, 0); }
    static Color blackColor() { return Color(0, 0, 0, 1); }
    static Color whiteColor() { return Color(1, 1, 1, 1); }
    static Color grayColor() { return Color(0.5, 0.5, 0.5, 1); }
    static Color lightGrayColor() { return withWhite(2.0 / 3.0); }
    static Color darkGrayColor() { return withWhite(1.0 / 3.0); }
    static Color redColor() { return Color(1, 0, 0, 1); }
    static Color greenColor() { return Color(0, 1, 0, 1); }
    static Color blueColor() { return Color(0, 0, 1, 1); }

    Color withAlpha(double a) const { return Color(red, green, blue, a); }
    bool isClear() const { return alpha <= 0; }

    // "rgba(1,0,0,0.5)", components through formatNumber.
    std::string toString() const;
};

}  // namespace platform::ui
