#pragma once
// A page that keeps a view at the bottom of the dashboard's frame (a chat
// room's message box) answers getBottomView; the navigation controller that
// shows it (an HCBottomViewHost) places that view and moves it above the
// keyboard while the keyboard shows. A host asks its top page again on
// refreshBottomView, which every page's appearance triggers, so the view
// goes away with the page that gave it.
//
// Thread: main thread.
#include "platform/ui/View.h"

class HCCustomBottomView {
public:
    virtual ~HCCustomBottomView() = default;
    virtual platform::ui::ViewPtr getBottomView() = 0;
};

class HCBottomViewHost {
public:
    virtual ~HCBottomViewHost() = default;
    // Takes the shown bottom view away and shows the top page's, if it has one.
    virtual void refreshBottomView() = 0;
    // The keyboard came up (`shown`) or went down, `height` points tall.
    virtual void adjustForKeyboard(bool shown, double height) = 0;
};
