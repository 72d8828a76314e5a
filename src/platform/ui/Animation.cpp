#include "platform/ui/Animation.h"

namespace platform::ui {

namespace {

std::string valueText(const AnimationValue& v)
{
    struct Visitor {
        std::string operator()(std::monostate) const { return "nil"; }
        std::string operator()(double d) const { return formatNumber(d); }
        std::string operator()(Point p) const { return toString(p); }
        std::string operator()(Size s) const { return toString(s); }
        std::string operator()(const Rect& r) const { return toString(r); }
        std::string operator()(const AffineTransform& t) const { return toString(t); }
        std::string operator()(const Color& c) const { return c.toString(); }
    };
    return std::visit(Visitor{}, v);
}

const char* typeName(TransitionType t)
{
    switch (t) {
    case TransitionType::Fade: return "fade";
    case TransitionType::MoveIn: return "moveIn";
    case TransitionType::Push: return "push";
    case TransitionType::Reveal: return "reveal";
    }
    return "?";
}

const char* subtypeName(TransitionSubtype s)
{
    switch (s) {
    case TransitionSubtype::None: return "";
    case TransitionSubtype::FromLeft: return " fromLeft";
    case TransitionSubtype::FromRight: return " fromRight";
    case TransitionSubtype::FromTop: return " fromTop";
    case TransitionSubtype::FromBottom: return " fromBottom";
    }
    return "";
}

}  // namespace

void Animation::copySettingsTo(Animation& other) const
{
    other.duration_ = duration_;
    other.delay_ = delay_;
    other.timing_ = timing_;
    other.removedOnCompletion_ = removedOnCompletion_;
    other.fillMode_ = fillMode_;
    other.delegate_ = delegate_;
    other.stopObserver_ = stopObserver_;
}

std::shared_ptr<Animation> BasicAnimation::copy() const
{
    auto c = std::make_shared<BasicAnimation>(keyPath_);
    copySettingsTo(*c);
    c->from_ = from_;
    c->to_ = to_;
    return c;
}

std::string BasicAnimation::description() const
{
    return "BasicAnimation " + keyPath_ + " " + valueText(from_) + " -> " + valueText(to_) + " over " +
           formatNumber(duration()) + "s";
}

std::shared_ptr<Animation> Transition::copy() const
{
    auto c = std::make_shared<Transition>(type_, subtype_);
    copySettingsTo(*c);
    return c;
}

std::string Transition::description() const
{
    return std::string("Transition ") + typeName(type_) + subtypeName(subtype_) + " over " +
           formatNumber(duration()) + "s";
}

}  // namespace platform::ui
