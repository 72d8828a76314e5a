#include "uiframework/HCControllerLoader.h"

#include "platform/runtime/ClassRegistry.h"
#include "platform/ui/NibRegistry.h"
#include "platform/ui/ControllerTestFixture.h"
#include "uiframework/table/HCTableCellHelper.h"

using namespace platform::ui;

namespace {

class LoaderProbeController : public ViewController {
public:
    std::string kindName() const override { return "LoaderProbe"; }
};
class GameLoaderProbeController : public ViewController {};
class LoaderProbeCell : public HCTableCellHelper {};

class ControllerLoaderTest : public uitest::ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        HCControllerLoader::resetNamingRules();
    }
    void TearDown() override
    {
        for (const auto& name : nibs) NibRegistry::unregisterNib(name);
        HCControllerLoader::resetNamingRules();
        platform::DeviceFacts::setLargeScreen(false);
        ControllerTest::TearDown();
    }
    // A nib whose one view is tagged with a number, so the test sees which was taken.
    void nib(const std::string& name, int tag)
    {
        nibs.push_back(name);
        NibRegistry::registerNib(name, [tag](const platform::ObjectPtr&) -> std::vector<platform::ObjectPtr> {
            auto view = View::make(Rect(0, 0, 320, 100));
            view->setTag(tag);
            return {view};
        });
    }
    int loadedTag(const std::string& name)
    {
        auto view = HCControllerLoader::loadView(name);
        return view ? view->tag() : 0;
    }
    std::vector<std::string> nibs;
};

TEST_F(ControllerLoaderTest, NibVariantsLargeScreenThenLandscapeThenPlainEachOverrideSuffixFirst)
{
    nib("ProbeHc", 1);
    EXPECT_EQ(loadedTag("Probe"), 1);
    EXPECT_EQ(loadedTag("Missing"), 0);

    // An override suffix is tried before the default one, but a variant wins over both.
    HCControllerLoader::setOverrideAssetFileSuffix("Game");
    nib("ProbeGame", 2);
    EXPECT_EQ(loadedTag("Probe"), 2);
    nib("ProbeLandscapeHc", 3);
    EXPECT_EQ(loadedTag("Probe"), 2) << "landscape nibs are for landscape only";
    Application::shared()->setStatusBarOrientation(InterfaceOrientation::LandscapeLeft, false);
    EXPECT_EQ(loadedTag("Probe"), 3);
    nib("ProbeLandscapeGame", 4);
    EXPECT_EQ(loadedTag("Probe"), 4);

    platform::DeviceFacts::setLargeScreen(true);
    nib("ProbeIPadHc", 5);
    EXPECT_EQ(loadedTag("Probe"), 5);
    EXPECT_EQ(HCControllerLoader::nibNameCandidates("Probe"),
              (std::vector<std::string>{"ProbeIPadGame", "ProbeIPadHc", "ProbeLandscapeGame", "ProbeLandscapeHc",
                                        "ProbeGame", "ProbeHc"}));

    // Clearing the override falls back to the default suffix.
    HCControllerLoader::setOverrideAssetFileSuffix(std::nullopt);
    Application::shared()->setStatusBarOrientation(InterfaceOrientation::Portrait, false);
    platform::DeviceFacts::setLargeScreen(false);
    EXPECT_EQ(loadedTag("Probe"), 1);
}

TEST_F(ControllerLoaderTest, ControllersComeFromTheirClassWithTheNibFoundForThemOrFromANibAlone)
{
    platform::registerClass<LoaderProbeController>("HCLoaderProbeController");
    platform::registerClass<GameLoaderProbeController>("GameLoaderProbeController");

    // Class without nib: a plain controller.
    auto plain = HCControllerLoader::load("LoaderProbe");
    ASSERT_TRUE(std::dynamic_pointer_cast<LoaderProbeController>(plain));
    EXPECT_EQ(plain->nibName(), "");

    // With a nib, the class loads its view from it, as the nib's owner.
    platform::ObjectPtr seenOwner;
    nibs.push_back("LoaderProbeHc");
    NibRegistry::registerNib("LoaderProbeHc", [&seenOwner](const platform::ObjectPtr& owner) {
        seenOwner = owner;
        auto view = View::make(Rect(0, 0, 10, 10));
        view->setTag(77);
        return std::vector<platform::ObjectPtr>{view};
    });
    auto withNib = HCControllerLoader::load<LoaderProbeController>("LoaderProbe");
    ASSERT_TRUE(withNib);
    EXPECT_EQ(withNib->nibName(), "LoaderProbeHc");
    EXPECT_EQ(withNib->view()->tag(), 77);
    EXPECT_EQ(seenOwner, withNib);

    // The game's own class prefix comes first; the typed form refuses another class.
    HCControllerLoader::setOverrideClassNamePrefix("Game");
    EXPECT_TRUE(std::dynamic_pointer_cast<GameLoaderProbeController>(HCControllerLoader::load("LoaderProbe")));
    EXPECT_FALSE(HCControllerLoader::load<LoaderProbeController>("LoaderProbe"));
    HCControllerLoader::setOverrideClassNamePrefix(std::nullopt);

    // No class: the first controller among the nib's objects, built for the given owner.
    auto owner = std::make_shared<ViewController>();
    nibs.push_back("NibOnlyHc");
    NibRegistry::registerNib("NibOnlyHc", [&seenOwner](const platform::ObjectPtr& o) {
        seenOwner = o;
        return std::vector<platform::ObjectPtr>{View::make(), std::make_shared<LoaderProbeController>()};
    });
    EXPECT_TRUE(std::dynamic_pointer_cast<LoaderProbeController>(HCControllerLoader::load("NibOnly", owner)));
    EXPECT_EQ(seenOwner, owner);

    // Neither: nil.
    EXPECT_FALSE(HCControllerLoader::load("NoSuchPage"));
}

TEST_F(ControllerLoaderTest, CellsComeFromTheirNibOrClassAndKnowTheirOwner)
{
    auto page = std::make_shared<ViewController>();
    platform::registerClass<LoaderProbeCell>("HCLoaderProbeCell");
    auto fromClass = std::dynamic_pointer_cast<LoaderProbeCell>(HCControllerLoader::loadCell("LoaderProbe", page));
    ASSERT_TRUE(fromClass);
    EXPECT_EQ(fromClass->owner(), page);

    nibs.push_back("LoaderProbeCellHc");
    NibRegistry::registerNib("LoaderProbeCellHc", [](const platform::ObjectPtr&) {
        auto cell = std::make_shared<LoaderProbeCell>();
        cell->setTag(9);
        return std::vector<platform::ObjectPtr>{cell};
    });
    auto fromNib = std::dynamic_pointer_cast<LoaderProbeCell>(HCControllerLoader::loadCell("LoaderProbe", page));
    ASSERT_TRUE(fromNib);
    EXPECT_EQ(fromNib->tag(), 9);
    EXPECT_EQ(fromNib->owner(), page);
    page.reset();
    EXPECT_FALSE(fromNib->owner()) << "the owner is not retained";

    EXPECT_FALSE(HCControllerLoader::loadCell("NoSuchRow", nullptr));
}

}  // namespace
