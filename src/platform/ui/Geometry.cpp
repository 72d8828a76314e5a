#include "platform/ui/Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace platform::ui {

double Rect::minX() const { return size.width < 0 ? origin.x + size.width : origin.x; }
double Rect::maxX() const { return size.width < 0 ? origin.x : origin.x + size.width; }
double Rect::midX() const { return origin.x + size.width / 2; }
double Rect::minY() const { return size.height < 0 ? origin.y + size.height : origin.y; }
double Rect::maxY() const { return size.height < 0 ? origin.y : origin.y + size.height; }
double Rect::midY() const { return origin.y + size.height / 2; }
double Rect::width() const { return std::fabs(size.width); }
double Rect::height() const { return std::fabs(size.height); }

bool Rect::isEmpty() const { return !(size.width != 0 && size.height != 0); }

Rect Rect::standardized() const { return Rect(minX(), minY(), width(), height()); }

Rect Rect::integral() const
{
    if (isEmpty()) return standardized();
    double x0 = std::floor(minX()), y0 = std::floor(minY());
    return Rect(x0, y0, std::ceil(maxX()) - x0, std::ceil(maxY()) - y0);
}

Rect Rect::offsetBy(double dx, double dy) const { return Rect(origin.x + dx, origin.y + dy, size.width, size.height); }

Rect Rect::insetBy(double dx, double dy) const
{
    Rect s = standardized();
    double w = s.size.width - 2 * dx, h = s.size.height - 2 * dy;
    if (w < 0 || h < 0) return Rect(s.midX(), s.midY(), 0, 0);
    return Rect(s.origin.x + dx, s.origin.y + dy, w, h);
}

bool Rect::contains(Point p) const
{
    return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
}

bool Rect::contains(const Rect& r) const
{
    return r.minX() >= minX() && r.maxX() <= maxX() && r.minY() >= minY() && r.maxY() <= maxY();
}

bool Rect::intersects(const Rect& r) const
{
    return !intersection(r).isEmpty();
}

Rect Rect::intersection(const Rect& r) const
{
    double x0 = std::max(minX(), r.minX()), x1 = std::min(maxX(), r.maxX());
    double y0 = std::max(minY(), r.minY()), y1 = std::min(maxY(), r.maxY());
    if (x1 <= x0 || y1 <= y0) return Rect();
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

Rect Rect::unionWith(const Rect& r) const
{
    if (isEmpty()) return r.standardized();
    if (r.isEmpty()) return standardized();
    double x0 = std::min(minX(), r.minX()), x1 = std::max(maxX(), r.maxX());
    double y0 = std::min(minY(), r.minY()), y1 = std::max(maxY(), r.maxY());
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

Rect insetRect(const Rect& r, const EdgeInsets& in)
{
    return Rect(r.origin.x + in.left, r.origin.y + in.top, r.size.width - in.left - in.right,
                r.size.height - in.top - in.bottom);
}

AffineTransform AffineTransform::quarterTurns(int n)
{
    switch (((n % 4) + 4) % 4) {
    case 1: return {0, 1, -1, 0, 0, 0};
    case 2: return {-1, 0, 0, -1, 0, 0};
    case 3: return {0, -1, 1, 0, 0, 0};
    default: return {};
    }
}

AffineTransform AffineTransform::rotation(double radians)
{
    // Multiples of a quarter turn come out exact, so frames of rotated views
    // are whole numbers rather than 1e-14 away from them.
    double turns = radians / (std::numbers::pi / 2);
    double nearest = std::round(turns);
    if (std::fabs(turns - nearest) < 1e-12 && std::fabs(nearest) < 1e9) {
        return quarterTurns(static_cast<int>(std::fmod(nearest, 4.0)));
    }
    double c = std::cos(radians), s = std::sin(radians);
    return {c, s, -s, c, 0, 0};
}

AffineTransform AffineTransform::concat(const AffineTransform& t) const
{
    return {a * t.a + b * t.c,
            a * t.b + b * t.d,
            c * t.a + d * t.c,
            c * t.b + d * t.d,
            tx * t.a + ty * t.c + t.tx,
            tx * t.b + ty * t.d + t.ty};
}

AffineTransform AffineTransform::inverted() const
{
    double det = a * d - b * c;
    if (det == 0) return *this;
    double ia = d / det, ib = -b / det, ic = -c / det, id = a / det;
    return {ia, ib, ic, id, -(tx * ia + ty * ic), -(tx * ib + ty * id)};
}

Point AffineTransform::apply(Point p) const
{
    return {a * p.x + c * p.y + tx, b * p.x + d * p.y + ty};
}

Size AffineTransform::apply(Size s) const
{
    return {a * s.width + c * s.height, b * s.width + d * s.height};
}

Rect AffineTransform::apply(const Rect& r) const
{
    Rect s = r.standardized();
    Point corners[4] = {apply(Point(s.minX(), s.minY())), apply(Point(s.maxX(), s.minY())),
                        apply(Point(s.minX(), s.maxY())), apply(Point(s.maxX(), s.maxY()))};
    double x0 = corners[0].x, x1 = corners[0].x, y0 = corners[0].y, y1 = corners[0].y;
    for (const Point& p : corners) {
        x0 = std::min(x0, p.x);
        x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y);
        y1 = std::max(y1, p.y);
    }
    return Rect(x0, y0, x1 - x0, y1 - y0);
}

std::string formatNumber(double v)
{
    if (std::isnan(v)) return "nan";
    double r = std::round(v * 100) / 100;
    if (r == 0) r = 0;  // no "-0"
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", r);
    std::string s = buf;
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

std::string toString(Point p) { return "(" + formatNumber(p.x) + "," + formatNumber(p.y) + ")"; }

std::string toString(Size s) { return "(" + formatNumber(s.width) + "x" + formatNumber(s.height) + ")"; }

std::string toString(const Rect& r)
{
    return "(" + formatNumber(r.origin.x) + "," + formatNumber(r.origin.y) + "," + formatNumber(r.size.width) + "," +
           formatNumber(r.size.height) + ")";
}

std::string toString(const AffineTransform& t)
{
    return "(" + formatNumber(t.a) + "," + formatNumber(t.b) + "," + formatNumber(t.c) + "," + formatNumber(t.d) +
           "," + formatNumber(t.tx) + "," + formatNumber(t.ty) + ")";
}

}  // namespace platform::ui
