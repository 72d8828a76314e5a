#include "platform/ui/Window.h"

#include "platform/ui/Application.h"

namespace platform::ui {

Window::Window(const Rect& frame) : View(frame)
{
    setHidden(true);
}

std::shared_ptr<Window> Window::make(const Rect& frame)
{
    auto window = std::make_shared<Window>(frame);
    Application::shared()->addWindow(window);
    return window;
}

void Window::makeKeyAndVisible()
{
    setHidden(false);
    makeKeyWindow();
}

void Window::makeKeyWindow()
{
    Application::shared()->setKeyWindow(platform::self(this));
}

bool Window::isKeyWindow() const
{
    return Application::shared()->keyWindow().get() == this;
}

}  // namespace platform::ui
