#pragma once
// Wires a button of a page to one of the page's actions; the button does
// not keep the page alive.
//
// Thread: main thread.
#include <memory>

#include "platform/runtime/Object.h"
#include "platform/ui/Button.h"

template <class T>
void wirePageAction(const platform::ui::ButtonPtr& button, T* page, void (T::*action)())
{
    std::weak_ptr<T> weakPage = platform::self(page);
    button->addTarget(page, [weakPage, action](platform::ui::Control&) {
        if (auto strong = weakPage.lock()) ((*strong).*action)();
    }, platform::ui::ControlEventTouchUpInside);
}
