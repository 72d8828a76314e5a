#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ViewTestFixture.h"
#include "platform/ui/Window.h"

using namespace platform::ui;

namespace {

using ViewHierarchyTest = uitest::ViewTest;

// Records the move hooks with a name, in order, into a shared log.
class LoggingView : public View {
public:
    LoggingView(std::string name, std::vector<std::string>* log) : name_(std::move(name)), log_(log) {}
    void willMoveToSuperview(const ViewPtr& s) override { add(s ? "willMoveToSuperview" : "willMoveToSuperview(nil)"); }
    void didMoveToSuperview() override { add("didMoveToSuperview"); }
    void willMoveToWindow(const std::shared_ptr<Window>& w) override { add(w ? "willMoveToWindow" : "willMoveToWindow(nil)"); }
    void didMoveToWindow() override { add(window() ? "didMoveToWindow" : "didMoveToWindow(nil)"); }
    void didAddSubview(const ViewPtr&) override { add("didAddSubview"); }
    void willRemoveSubview(const ViewPtr&) override { add("willRemoveSubview"); }
    void layoutSubviews() override { add("layoutSubviews"); }

private:
    void add(const std::string& what) { log_->push_back(name_ + "." + what); }
    std::string name_;
    std::vector<std::string>* log_;
};

ViewPtr tagged(int tag)
{
    auto v = View::make();
    v->setTag(tag);
    return v;
}

TEST_F(ViewHierarchyTest, ViewWithTagChecksTheRootFirstThenDepthFirstInSubviewOrder)
{
    auto root = tagged(7);
    auto first = tagged(1);
    auto deepInFirst = tagged(2);
    auto second = tagged(2);
    auto deepInSecond = tagged(3);
    root->addSubview(first);
    first->addSubview(deepInFirst);
    root->addSubview(second);
    second->addSubview(deepInSecond);

    EXPECT_EQ(root->viewWithTag(7), root);
    // Depth-first: the grandchild under the first child wins over the second child.
    EXPECT_EQ(root->viewWithTag(2), deepInFirst);
    EXPECT_EQ(root->viewWithTag(3), deepInSecond);
    EXPECT_EQ(root->viewWithTag(99), nullptr);
    // A subtree is searched from its own root; ancestors are not.
    EXPECT_EQ(second->viewWithTag(7), nullptr);
    // Tag 0 is every untagged view's tag: the first one in the same order.
    deepInFirst->setTag(0);
    EXPECT_EQ(root->viewWithTag(0), deepInFirst);
}

TEST_F(ViewHierarchyTest, OrderingOperationsAndOneParentWithoutCycles)
{
    auto parent = View::make();
    auto a = tagged(1), b = tagged(2), c = tagged(3);
    parent->addSubview(a);
    parent->addSubview(b);
    parent->addSubview(c);
    auto tags = [&] {
        std::string s;
        for (const auto& v : parent->subviews()) s += std::to_string(v->tag());
        return s;
    };
    parent->bringSubviewToFront(a);
    EXPECT_EQ(tags(), "231");
    parent->sendSubviewToBack(c);
    EXPECT_EQ(tags(), "321");
    parent->exchangeSubviews(0, 2);
    EXPECT_EQ(tags(), "123");
    parent->exchangeSubviews(0, 9);  // out of range: nothing
    EXPECT_EQ(tags(), "123");
    // Re-inserting a subview only moves it; the sibling index is taken after it left.
    parent->insertSubviewAbove(a, c);
    EXPECT_EQ(tags(), "231");
    parent->insertSubviewBelow(a, b);
    EXPECT_EQ(tags(), "123");
    parent->insertSubview(c, 0);
    EXPECT_EQ(tags(), "312");
    parent->insertSubview(tagged(4), 100);
    EXPECT_EQ(tags(), "3124");
    // Adding an existing subview again brings it to the front.
    parent->addSubview(c);
    EXPECT_EQ(tags(), "1243");

    // A view has one parent, and cycles are refused.
    auto other = View::make();
    other->addSubview(a);
    EXPECT_EQ(tags(), "243");
    a->addSubview(other);
    EXPECT_EQ(a->superview(), other);
    EXPECT_TRUE(a->subviews().empty());
    a->addSubview(a);
    a->addSubview(nullptr);
    EXPECT_TRUE(a->subviews().empty());
}

TEST_F(ViewHierarchyTest, RemovingTheLastReferenceFromItsSuperviewIsSafe)
{
    // Only the superview holds the child; the removal must not touch it after it is released.
    class Tracked : public View {
    public:
        explicit Tracked(bool* gone) : gone_(gone) {}
        ~Tracked() override { *gone_ = true; }

    private:
        bool* gone_;
    };
    bool gone = false;
    auto parent = View::make();
    parent->addSubview(std::make_shared<Tracked>(&gone));
    auto* raw = static_cast<Tracked*>(parent->subviews()[0].get());
    raw->removeFromSuperview();
    EXPECT_TRUE(gone);
    EXPECT_TRUE(parent->subviews().empty());
}

TEST_F(ViewHierarchyTest, MoveHooksRunInPlatformOrderAndReachTheWholeSubtree)
{
    std::vector<std::string> log;
    auto window = Window::make(Rect(0, 0, 320, 480));
    auto holder = std::make_shared<LoggingView>("holder", &log);
    auto child = std::make_shared<LoggingView>("child", &log);
    holder->addSubview(child);
    log.clear();

    window->addSubview(holder);
    EXPECT_EQ(log, (std::vector<std::string>{"holder.willMoveToSuperview", "holder.willMoveToWindow",
                                             "child.willMoveToWindow", "holder.didMoveToWindow",
                                             "child.didMoveToWindow", "holder.didMoveToSuperview"}));
    EXPECT_EQ(child->window(), window);

    log.clear();
    holder->removeFromSuperview();
    EXPECT_EQ(log,
              (std::vector<std::string>{"holder.willMoveToSuperview(nil)", "holder.willMoveToWindow(nil)",
                                        "child.willMoveToWindow(nil)", "holder.didMoveToWindow(nil)",
                                        "child.didMoveToWindow(nil)", "holder.didMoveToSuperview"}));
    EXPECT_EQ(child->window(), nullptr);

    // Moving within one window does not send window hooks; the superviews hear of it.
    auto other = std::make_shared<LoggingView>("other", &log);
    window->addSubview(other);
    window->addSubview(holder);
    log.clear();
    other->addSubview(holder);
    EXPECT_EQ(log, (std::vector<std::string>{"holder.willMoveToSuperview", "holder.didMoveToSuperview",
                                             "other.didAddSubview"}));
}

TEST_F(ViewHierarchyTest, LayoutRunsOnceAtTheNextTurnForViewsInAWindow)
{
    std::vector<std::string> log;
    auto window = Window::make(Rect(0, 0, 320, 480));
    auto inWindow = std::make_shared<LoggingView>("in", &log);
    auto detached = std::make_shared<LoggingView>("out", &log);
    window->addSubview(inWindow);
    testsupport::drainMain();
    log.clear();

    inWindow->setNeedsLayout();
    inWindow->setNeedsLayout();
    detached->setNeedsLayout();
    EXPECT_TRUE(log.empty());
    testsupport::drainMain();
    EXPECT_EQ(log, (std::vector<std::string>{"in.layoutSubviews"}));
    EXPECT_FALSE(inWindow->needsLayout());

    // Outside a window, only layoutIfNeeded lays out.
    EXPECT_TRUE(detached->needsLayout());
    detached->layoutIfNeeded();
    EXPECT_EQ(log.back(), "out.layoutSubviews");
    detached->layoutIfNeeded();
    EXPECT_EQ(log.size(), 2u);

    // Moving is not resizing; resizing lays out.
    log.clear();
    inWindow->setCenter(Point(5, 5));
    testsupport::drainMain();
    EXPECT_TRUE(log.empty());
    inWindow->setFrame(Rect(0, 0, 100, 100));
    testsupport::drainMain();
    EXPECT_EQ(log, (std::vector<std::string>{"in.layoutSubviews"}));
}

}  // namespace
