#pragma once
// The root of a view tree that the application shows. Windows start hidden,
// as on the platform; makeKeyAndVisible shows one and makes it the key window.
// The application keeps windows weakly: the host owns its window.
//
// Thread: main thread only.
#include <memory>

#include "platform/runtime/ThreadChecker.h"
#include "platform/ui/View.h"

namespace platform::ui {

class Window : public View {
public:
    explicit Window(const Rect& frame = Rect());
    // Makes a window and lists it in Application::windows().
    static std::shared_ptr<Window> make(const Rect& frame);

    void makeKeyAndVisible();
    void makeKeyWindow();
    bool isKeyWindow() const;

    // The controller whose view fills the window; opaque at this level.
    const ObjectPtr& rootViewController() const { return rootViewController_; }
    void setRootViewController(ObjectPtr controller)
    {
        HC_CHECK_MAIN_THREAD();
        rootViewController_ = std::move(controller);
    }

    std::string kindName() const override { return "Window"; }

private:
    ObjectPtr rootViewController_;
};

}  // namespace platform::ui
