#pragma once
// Keyboard focus. At most one view of the application is the first
// responder: the text input that takes what the person types. Becoming first
// responder first asks the view itself (its delegate may refuse), then makes
// the current holder resign (it may refuse too, and then nothing changes).
// The keyboard shows while a responder holds the focus and hides when the
// focus is given up; moving the focus from one input to another keeps it
// shown (see Keyboard.h).
//
// Text inputs derive from Responder beside their view base and implement the
// four hooks; FirstResponder answers who holds the focus.
//
// Thread: main thread only.
#include <memory>

#include "platform/ui/View.h"

namespace platform::ui {

class Responder {
public:
    virtual ~Responder();

    bool isFirstResponder() const;
    // Answers whether this input holds the focus afterwards.
    bool becomeFirstResponder();
    // Answers whether this input is without the focus afterwards (true when
    // it did not hold it).
    bool resignFirstResponder();

protected:
    // The view that is this responder (the object itself).
    virtual View& responderView() = 0;
    // May the input take the focus now? (Asks the delegate.)
    virtual bool shouldBeginEditing() = 0;
    virtual void didBeginEditing() = 0;
    // May the input give the focus up? (Asks the delegate.) Not asked when the
    // input leaves its window: the focus goes regardless.
    virtual bool shouldEndEditing() = 0;
    virtual void didEndEditing() = 0;

    // For didMoveToWindow of the implementing view: a responder taken off its
    // window gives up the focus without being asked.
    void resignIfOffWindow();

private:
    friend class FirstResponder;
    bool resign(bool ask, bool hideKeyboard);
};

class FirstResponder {
public:
    // The view that holds the focus, or nullptr.
    static ViewPtr currentView();
    static Responder* current();
    // Makes the current holder resign; answers whether the focus is free afterwards.
    static bool resignCurrent();
    // Makes the holder resign when it is `root` or lies inside it (a page
    // "ending editing" in its view); true when no such holder is left.
    static bool resignWithin(const View& root);
};

}  // namespace platform::ui
