#include "platform/ui/NibRegistry.h"

#include "ControllerTestFixture.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"

using namespace platform::ui;

namespace {

// A page whose nib connects two outlets and an action through the page's own code.
class ScorePage : public ViewController {
public:
    ScorePage() : ViewController("ScorePage") {}
    void viewDidLoad() override { ++loads; }
    void submit() { ++submitted; }

    std::shared_ptr<Label> titleLabel;
    std::shared_ptr<Button> submitButton;
    int loads = 0;
    int submitted = 0;
};

class NibTest : public uitest::ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        NibRegistry::registerNib("ScorePage", [](const platform::ObjectPtr& owner) -> std::vector<platform::ObjectPtr> {
            auto root = View::make(Rect(0, 0, 320, 460));
            auto label = Label::make(Rect(10, 10, 300, 30));
            label->setText("High Scores");
            auto button = std::make_shared<Button>(ButtonType::RoundedRect, Rect(10, 50, 100, 40));
            button->setTitle("Submit", ControlStateNormal);
            root->addSubview(label);
            root->addSubview(button);
            if (auto page = std::dynamic_pointer_cast<ScorePage>(owner)) {
                page->titleLabel = label;
                page->submitButton = button;
                std::weak_ptr<ScorePage> weakPage = page;
                button->addTarget(page.get(), [weakPage](Control&) {
                    if (auto p = weakPage.lock()) p->submit();
                }, ControlEventTouchUpInside);
                page->setView(root);
            }
            return {root};
        });
    }
    void TearDown() override
    {
        NibRegistry::unregisterNib("ScorePage");
        ControllerTest::TearDown();
    }
};

TEST_F(NibTest, ControllerLoadsItsViewFromItsNibOnceWithOutletsAndActionsConnected)
{
    auto page = std::make_shared<ScorePage>();
    EXPECT_FALSE(page->isViewLoaded());
    show(page);
    EXPECT_EQ(page->loads, 1);
    ASSERT_NE(page->titleLabel, nullptr);
    EXPECT_EQ(page->view()->subviews().front(), page->titleLabel);
    EXPECT_EQ(page->loads, 1) << "the view loads once";

    EXPECT_EQ(driver.findByText("High Scores"), page->titleLabel);
    EXPECT_TRUE(driver.tapButton("Submit"));
    EXPECT_EQ(page->submitted, 1);
}

TEST_F(NibTest, UnknownNibsLoadNothingAndControllersFallBackToAPlainView)
{
    EXPECT_TRUE(NibRegistry::exists("ScorePage"));
    EXPECT_FALSE(NibRegistry::exists("ScorePage~ipad"));
    EXPECT_EQ(NibRegistry::loadNibNamed("ScorePage~ipad", nullptr), nullptr);
    auto objects = NibRegistry::loadNibNamed("ScorePage", nullptr);
    ASSERT_NE(objects, nullptr);
    EXPECT_EQ(objects->count(), 1u) << "without an owner the builder still makes the tree";

    auto plain = std::make_shared<ViewController>("NoSuchNib");
    EXPECT_EQ(plain->view()->frame(), Screen::mainScreen()->applicationFrame());

    // A nib that leaves the view unset gives its first top-level view.
    NibRegistry::registerNib("Loose", [](const platform::ObjectPtr&) -> std::vector<platform::ObjectPtr> {
        auto v = View::make(Rect(0, 0, 10, 10));
        v->setTag(42);
        return {platform::String::make("not a view"), v};
    });
    EXPECT_EQ(std::make_shared<ViewController>("Loose")->view()->tag(), 42);
    NibRegistry::unregisterNib("Loose");
}

class AwakeView : public View {
public:
    AwakeView(std::string name, uitest::Log& log) : name_(std::move(name)), log_(log) {}
    void awakeFromNib() override
    {
        log_.push_back(name_);
        // Views added while waking were not built by the nib.
        if (name_ == "header") addSubview(std::make_shared<AwakeView>("late", log_));
    }

private:
    std::string name_;
    uitest::Log& log_;
};

class AwakeController : public ViewController {
public:
    explicit AwakeController(uitest::Log& log) : log_(log) {}
    void awakeFromNib() override { log_.push_back("controller"); }

private:
    uitest::Log& log_;
};

TEST_F(NibTest, EverythingTheNibBuiltAwakesOnceAfterTheBuildButNotTheOwner)
{
    NibRegistry::registerNib("Header", [this](const platform::ObjectPtr& owner) -> std::vector<platform::ObjectPtr> {
        auto header = std::make_shared<AwakeView>("header", log);
        header->addSubview(std::make_shared<AwakeView>("icon", log));
        auto cell = std::make_shared<AwakeController>(log);
        cell->setView(std::make_shared<AwakeView>("cell view", log));
        if (auto page = std::dynamic_pointer_cast<ViewController>(owner)) page->setView(std::make_shared<AwakeView>("page view", log));
        log.push_back("built");
        return {header, cell, header};
    });
    auto owner = std::make_shared<AwakeController>(log);
    auto objects = NibRegistry::loadNibNamed("Header", owner);
    ASSERT_TRUE(objects);
    EXPECT_EQ(take(), (uitest::Log{"built", "header", "icon", "controller", "cell view", "page view"}));
    NibRegistry::unregisterNib("Header");
}

}  // namespace
