#include "platform/ui/Responder.h"

#include "platform/ui/Keyboard.h"

namespace platform::ui {

namespace {

// The one focus of the application (main thread only, so no lock).
struct Focus {
    Responder* responder = nullptr;
    std::weak_ptr<View> view;
};

Focus& focus()
{
    static Focus f;
    return f;
}

}  // namespace

Responder::~Responder()
{
    // A focused input that goes away takes the keyboard with it.
    if (focus().responder != this) return;
    focus() = Focus{};
    if (Keyboard::isVisible()) Keyboard::hide();
}

bool Responder::isFirstResponder() const { return focus().responder == this; }

bool Responder::becomeFirstResponder()
{
    if (isFirstResponder()) return true;
    const auto keepAlive = responderView().weak_from_this().lock();
    if (!shouldBeginEditing()) return false;
    if (Responder* previous = focus().responder) {
        if (!previous->resign(true, false)) return false;
        // The previous holder's callbacks gave the focus to someone else.
        if (focus().responder != nullptr) return false;
    }
    focus() = Focus{this, std::static_pointer_cast<View>(keepAlive)};
    didBeginEditing();
    if (isFirstResponder() && !Keyboard::isVisible()) Keyboard::show();
    return isFirstResponder();
}

bool Responder::resignFirstResponder() { return resign(true, true); }

bool Responder::resign(bool ask, bool hideKeyboard)
{
    if (!isFirstResponder()) return true;
    const auto keepAlive = responderView().weak_from_this().lock();
    if (ask && !shouldEndEditing()) return false;
    if (!isFirstResponder()) return true;  // shouldEndEditing moved the focus itself
    focus() = Focus{};
    didEndEditing();
    if (hideKeyboard && focus().responder == nullptr && Keyboard::isVisible()) Keyboard::hide();
    return true;
}

void Responder::resignIfOffWindow()
{
    if (isFirstResponder() && !responderView().window()) resign(false, true);
}

ViewPtr FirstResponder::currentView() { return focus().responder ? focus().view.lock() : nullptr; }

Responder* FirstResponder::current() { return focus().responder; }

bool FirstResponder::resignCurrent()
{
    Responder* r = focus().responder;
    return r == nullptr || r->resignFirstResponder();
}

bool FirstResponder::resignWithin(const View& root)
{
    const ViewPtr holder = currentView();
    if (!holder) return true;
    for (ViewPtr v = holder; v; v = v->superview()) {
        if (v.get() == &root) return resignCurrent();
    }
    return true;
}

}  // namespace platform::ui
