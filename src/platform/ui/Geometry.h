#pragma once
// Plane geometry of the headless UI: points, sizes, rectangles, edge insets
// and 2-D affine transforms, in points with y growing downwards.
//
// AffineTransform follows the handheld platform's row-vector convention:
//   x' = a*x + c*y + tx,   y' = b*x + d*y + ty
// so rotation(angle) is (cos, sin, -sin, cos, 0, 0), and t1.concat(t2)
// means "first t1, then t2". Quarter and half turns are exact (no 6e-17
// residue), so a rotated frame compares equal in tests.
//
// Thread: plain values; use them anywhere.
#include <string>

namespace platform::ui {

struct Point {
    double x = 0;
    double y = 0;

    constexpr Point() = default;
    constexpr Point(double x_, double y_) : x(x_), y(y_) {}
    bool operator==(const Point&) const = default;
};

struct Size {
    double width = 0;
    double height = 0;

    constexpr Size() = default;
    constexpr Size(double w, double h) : width(w), height(h) {}
    bool operator==(const Size&) const = default;
};

struct Rect {
    Point origin;
    Size size;

    constexpr Rect() = default;
    constexpr Rect(Point o, Size s) : origin(o), size(s) {}
    constexpr Rect(double x, double y, double w, double h) : origin(x, y), size(w, h) {}
    bool operator==(const Rect&) const = default;

    // The edges of the standardized rectangle (a negative width or height
    // counts from the other side, as on the platform).
    double minX() const;
    double midX() const;
    double maxX() const;
    double minY() const;
    double midY() const;
    double maxY() const;
    double width() const;
    double height() const;
    Point center() const { return {midX(), midY()}; }

    bool isEmpty() const;  // zero width or height
    Rect standardized() const;
    // The smallest rectangle with integral edges that contains this one.
    Rect integral() const;
    Rect offsetBy(double dx, double dy) const;
    // Shrinks (positive) or grows (negative) every edge; an inset past the
    // middle leaves an empty rectangle at the centre rather than a negative size.
    Rect insetBy(double dx, double dy) const;
    // Half-open: the max edges are outside, as with the platform's hit tests.
    bool contains(Point p) const;
    bool contains(const Rect& r) const;
    bool intersects(const Rect& r) const;
    // The overlap, or an empty rectangle at the origin when there is none.
    Rect intersection(const Rect& r) const;
    Rect unionWith(const Rect& r) const;
};

struct EdgeInsets {
    double top = 0;
    double left = 0;
    double bottom = 0;
    double right = 0;

    constexpr EdgeInsets() = default;
    constexpr EdgeInsets(double t, double l, double b, double r) : top(t), left(l), bottom(b), right(r) {}
    bool operator==(const EdgeInsets&) const = default;
};

// The rectangle with the insets taken off its edges.
Rect insetRect(const Rect& r, const EdgeInsets& insets);

struct AffineTransform {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;

    constexpr AffineTransform() = default;
    constexpr AffineTransform(double a_, double b_, double c_, double d_, double tx_, double ty_)
        : a(a_), b(b_), c(c_), d(d_), tx(tx_), ty(ty_) {}
    bool operator==(const AffineTransform&) const = default;

    static constexpr AffineTransform identity() { return {}; }
    // Angle in radians, positive turns +x towards +y (clockwise on screen).
    static AffineTransform rotation(double radians);
    // Exact rotation by n quarter turns (n may be negative).
    static AffineTransform quarterTurns(int n);
    static constexpr AffineTransform scale(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }
    static constexpr AffineTransform translation(double dx, double dy) { return {1, 0, 0, 1, dx, dy}; }

    bool isIdentity() const { return *this == AffineTransform{}; }
    // First this, then `then`.
    AffineTransform concat(const AffineTransform& then) const;
    // The platform's "rotate/scale/translate the transform": the new operation
    // is applied to points before the existing transform.
    AffineTransform rotated(double radians) const { return rotation(radians).concat(*this); }
    AffineTransform scaled(double sx, double sy) const { return scale(sx, sy).concat(*this); }
    AffineTransform translated(double dx, double dy) const { return translation(dx, dy).concat(*this); }
    // The inverse; a singular transform is returned unchanged, as on the platform.
    AffineTransform inverted() const;
    bool isInvertible() const { return a * d - b * c != 0; }

    Point apply(Point p) const;
    // Linear part only: a size has no position.
    Size apply(Size s) const;
    // The bounding box of the transformed corners.
    Rect apply(const Rect& r) const;
};

// Stable texts for dumps and test messages: "(10,20)", "(100x30)",
// "(10,20,100,30)"; whole numbers print without decimals, others with at most
// two (trailing zeros dropped).
std::string formatNumber(double v);
std::string toString(Point p);
std::string toString(Size s);
std::string toString(const Rect& r);
std::string toString(const AffineTransform& t);

}  // namespace platform::ui
