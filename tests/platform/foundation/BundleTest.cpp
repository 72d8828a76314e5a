#include <gtest/gtest.h>

#include <filesystem>

#include "FoundationTestSupport.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FileFacts.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

class BundleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        put("levels.xml", "<levels/>");
        put("Sounds/pop.wav", "RIFF");
        put("HCResources_iPad.bundle/icon.png", "PNG");
        put("README", "plain");
        put("Info.plist",
            "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
            "<key>CFBundleVersion</key><string>1.2.3</string></dict></plist>");
        ASSERT_TRUE(FileFacts::writeFileAtomically((fs::path(sandbox.root()) / "secret.txt").string(), "s"));
    }

    void put(const std::string& relative, const std::string& content)
    {
        ASSERT_TRUE(FileFacts::writeFileAtomically((fs::path(Sandbox::bundlePath()) / relative).string(), content));
    }

    foundationtest::ScopedSandbox sandbox;
};

}  // namespace

TEST_F(BundleTest, FindsResourcesByNameTypeAndFolderAndInSubBundles)
{
    auto main = Bundle::mainBundle();
    EXPECT_EQ(main->bundlePath(), Sandbox::bundlePath());
    EXPECT_EQ(main->pathForResource("levels", "xml"), (fs::path(Sandbox::bundlePath()) / "levels.xml").string());
    EXPECT_EQ(main->pathForResource("README", ""), (fs::path(Sandbox::bundlePath()) / "README").string());
    EXPECT_EQ(main->pathForResource("pop", "wav", "Sounds"), (fs::path(Sandbox::bundlePath()) / "Sounds/pop.wav").string());
    EXPECT_FALSE(main->pathForResource("levels", "plist"));
    EXPECT_FALSE(main->pathForResource("pop", "wav"));
    EXPECT_FALSE(main->pathForResource("", "xml"));

    // Sub-bundles are folders inside the main bundle.
    EXPECT_FALSE(main->pathForResource("HCResources_Universal", "bundle"));
    auto path = main->pathForResource("HCResources_iPad", "bundle");
    ASSERT_TRUE(path);
    auto sub = Bundle::bundleWithPath(*path);
    ASSERT_TRUE(sub);
    EXPECT_EQ(sub->pathForResource("icon", "png"), (fs::path(*path) / "icon.png").string());
    EXPECT_FALSE(sub->pathForResource("levels", "xml"));
    EXPECT_FALSE(Bundle::bundleWithPath((fs::path(Sandbox::bundlePath()) / "Missing.bundle").string()));
    EXPECT_FALSE(Bundle::bundleWithPath((fs::path(Sandbox::bundlePath()) / "levels.xml").string()));
}

TEST_F(BundleTest, LookupsCannotLeaveTheBundle)
{
    auto main = Bundle::mainBundle();
    EXPECT_FALSE(main->pathForResource("../secret", "txt"));
    EXPECT_FALSE(main->pathForResource("secret", "txt", ".."));
    EXPECT_FALSE(main->pathForResource("secret", "txt", "Sounds/../.."));
    EXPECT_FALSE(main->pathForResource((fs::path(sandbox.root()) / "secret").string(), "txt"));
    EXPECT_FALSE(main->pathForResource("x", "/../../secret.txt"));
}

TEST_F(BundleTest, InfoDictionaryComesFromInfoPlist)
{
    auto main = Bundle::mainBundle();
    EXPECT_EQ(textOf(main->objectForInfoDictionaryKey("CFBundleVersion")), "1.2.3");
    EXPECT_FALSE(main->objectForInfoDictionaryKey("CFBundleName"));
    main->infoDictionary()->setString("CFBundleVersion", "9");
    EXPECT_EQ(textOf(main->objectForInfoDictionaryKey("CFBundleVersion")), "1.2.3");

    auto path = main->pathForResource("HCResources_iPad", "bundle");
    EXPECT_EQ(Bundle::bundleWithPath(*path)->infoDictionary()->count(), 0u);
    put("Broken.bundle/Info.plist", "<plist><dict><key>x</key>");
    EXPECT_EQ(Bundle::bundleWithPath((fs::path(Sandbox::bundlePath()) / "Broken.bundle").string())->infoDictionary()->count(), 0u);
}

TEST_F(BundleTest, MainBundleFollowsTheSandbox)
{
    auto first = Bundle::mainBundle();
    EXPECT_EQ(Bundle::mainBundle(), first);
    testsupport::TempDir other;
    Sandbox::configure(other.str());
    EXPECT_NE(Bundle::mainBundle()->bundlePath(), first->bundlePath());
    EXPECT_FALSE(Bundle::mainBundle()->pathForResource("levels", "xml"));
}
