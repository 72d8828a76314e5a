#include "platform/ui/GraphicsContext.h"

#include <vector>

#include "platform/runtime/ThreadChecker.h"

namespace platform::ui {

namespace {

struct Entry {
    BitmapContext* context = nullptr;
    std::function<BitmapContext*()> maker;
    std::unique_ptr<BitmapContext> owned;  // image contexts only
};

std::vector<Entry>& stack()
{
    static std::vector<Entry> entries;
    return entries;
}

}  // namespace

BitmapContext* currentContext()
{
    HC_CHECK_MAIN_THREAD();
    if (stack().empty()) return nullptr;
    Entry& top = stack().back();
    if (!top.context && top.maker) top.context = std::exchange(top.maker, nullptr)();
    return top.context;
}

void pushContext(BitmapContext& context)
{
    HC_CHECK_MAIN_THREAD();
    stack().push_back({&context, nullptr, nullptr});
}

void pushContext(std::function<BitmapContext*()> maker)
{
    HC_CHECK_MAIN_THREAD();
    stack().push_back({nullptr, std::move(maker), nullptr});
}

void popContext()
{
    HC_CHECK_MAIN_THREAD();
    if (!stack().empty()) stack().pop_back();
}

void beginImageContext(Size size, bool opaque, double scale)
{
    HC_CHECK_MAIN_THREAD();
    auto owned = std::make_unique<BitmapContext>(size, opaque, scale);
    BitmapContext* context = owned.get();
    stack().push_back({context, nullptr, std::move(owned)});
}

std::shared_ptr<Image> imageFromCurrentImageContext()
{
    HC_CHECK_MAIN_THREAD();
    if (stack().empty() || !stack().back().owned) return nullptr;
    return stack().back().owned->makeImage();
}

void endImageContext()
{
    HC_CHECK_MAIN_THREAD();
    if (!stack().empty() && stack().back().owned) stack().pop_back();
}

}  // namespace platform::ui
