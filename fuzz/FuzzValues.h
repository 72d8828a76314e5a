#pragma once
// Deep comparison of platform values, for the round trips of the fuzz
// programs that read values (JSON, property lists, keyed archives).
//
// Thread: the fuzz programs are single-threaded.
#include <cmath>
#include <memory>
#include <typeinfo>

#include "FuzzSupport.h"
#include "platform/foundation/Date.h"
#include "platform/foundation/Values.h"

namespace fuzz {

inline bool sameDouble(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// Equal values of equal kinds: a boolean is not the integer 1, an integer is
// not the real 1.0, and containers keep their order.
inline bool sameValue(const platform::ObjectPtr& a, const platform::ObjectPtr& b)
{
    using namespace platform;
    if (!a || !b) return !a && !b;
    if (auto x = std::dynamic_pointer_cast<String>(a)) {
        auto y = std::dynamic_pointer_cast<String>(b);
        return y && x->value() == y->value();
    }
    if (auto x = std::dynamic_pointer_cast<Number>(a)) {
        auto y = std::dynamic_pointer_cast<Number>(b);
        if (!y || x->isBoolean() != y->isBoolean() || x->isFloatingPoint() != y->isFloatingPoint()) return false;
        return x->isFloatingPoint() ? sameDouble(x->doubleValue(), y->doubleValue())
                                    : x->longLongValue() == y->longLongValue();
    }
    if (auto x = std::dynamic_pointer_cast<Data>(a)) {
        auto y = std::dynamic_pointer_cast<Data>(b);
        return y && *x == *y;
    }
    if (auto x = std::dynamic_pointer_cast<Date>(a)) {
        auto y = std::dynamic_pointer_cast<Date>(b);
        return y && sameDouble(x->timeIntervalSince1970(), y->timeIntervalSince1970());
    }
    if (auto x = std::dynamic_pointer_cast<Array>(a)) {
        auto y = std::dynamic_pointer_cast<Array>(b);
        if (!y || x->count() != y->count()) return false;
        for (size_t i = 0; i < x->count(); ++i) {
            if (!sameValue(x->at(i), y->at(i))) return false;
        }
        return true;
    }
    if (auto x = std::dynamic_pointer_cast<Dictionary>(a)) {
        auto y = std::dynamic_pointer_cast<Dictionary>(b);
        if (!y || x->count() != y->count()) return false;
        for (size_t i = 0; i < x->count(); ++i) {
            const auto& p = x->entries()[i];
            const auto& q = y->entries()[i];
            if (p.first != q.first || !sameValue(p.second, q.second)) return false;
        }
        return true;
    }
    // Any other object: the same class and the same description.
    const Object& x = *a;
    const Object& y = *b;
    return typeid(x) == typeid(y) && x.description() == y.description();
}

}  // namespace fuzz
