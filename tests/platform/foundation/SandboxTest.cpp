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

TEST(Sandbox, FoldersAreMadeOnFirstUseAndTheCredentialsFileIsPrivate)
{
    foundationtest::ScopedSandbox sandbox;
    fs::path root = sandbox.root();
    EXPECT_FALSE(FileFacts::exists((root / "Documents").string()));
    EXPECT_EQ(Sandbox::documentsPath(), (root / "Documents").string());
    EXPECT_TRUE(FileFacts::isDirectory(Sandbox::documentsPath()));

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
