#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "FoundationTestSupport.h"
#include "platform/foundation/FileFacts.h"
#include "platform/foundation/Sandbox.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {
unsigned permissions(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 0777;
}
}  // namespace

TEST(Sandbox, PathsLieBelowTheConfiguredRoot)
{
    foundationtest::ScopedSandbox sandbox;
    fs::path root = sandbox.root();
    EXPECT_TRUE(Sandbox::isConfigured());
    EXPECT_EQ(Sandbox::rootPath(), sandbox.root());
    EXPECT_EQ(Sandbox::bundlePath(), (root / "Bundle").string());
    EXPECT_FALSE(FileFacts::exists((root / "Documents").string()));
    EXPECT_EQ(Sandbox::documentsPath(), (root / "Documents").string());
    EXPECT_TRUE(FileFacts::isDirectory(Sandbox::documentsPath()));
    EXPECT_EQ(fs::path(Sandbox::preferencesPath()).parent_path().parent_path().parent_path(), root);

    Sandbox::configure(sandbox.root(), "/opt/game/Game.app");
    EXPECT_EQ(Sandbox::bundlePath(), "/opt/game/Game.app");
}

TEST(Sandbox, CredentialsFileIsPrivate)
{
    foundationtest::ScopedSandbox sandbox;
    std::string path = Sandbox::credentialsPath();
    ASSERT_TRUE(FileFacts::exists(path));
    EXPECT_EQ(permissions(path), 0600u);
    ::chmod(path.c_str(), 0644);
    EXPECT_EQ(Sandbox::credentialsPath(), path);
    EXPECT_EQ(permissions(path), 0600u);
}

TEST(Sandbox, UseBeforeConfigurationIsReported)
{
    Sandbox::reset();
    foundationtest::ScopedProgrammingErrors errors;
    EXPECT_FALSE(Sandbox::isConfigured());
    EXPECT_FALSE(Sandbox::rootPath().empty());
    EXPECT_EQ(errors.texts.size(), 1u);
}
