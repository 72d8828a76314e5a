#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "platform/foundation/FileFacts.h"
#include "support/TestSupport.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {
std::vector<std::string> namesIn(const fs::path& dir)
{
    std::vector<std::string> names;
    for (auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
}  // namespace

TEST(FileFacts, AtomicWriteReplacesContentCreatesFoldersAndLeavesNoTemporaryFiles)
{
    testsupport::TempDir dir;
    std::string path = (dir.path() / "a" / "b" / "file.bin").string();
    ASSERT_TRUE(FileFacts::writeFileAtomically(path, std::string("first version")));
    ASSERT_TRUE(FileFacts::writeFileAtomically(path, std::vector<uint8_t>{0, 1, 2}, 0600));
    EXPECT_EQ(FileFacts::readFile(path), (std::vector<uint8_t>{0, 1, 2}));
    EXPECT_EQ(FileFacts::size(path), 3u);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(namesIn(dir.path() / "a" / "b"), (std::vector<std::string>{"file.bin"}));
    ASSERT_TRUE(FileFacts::writeFileAtomically(path, nullptr, 0));
    EXPECT_EQ(FileFacts::size(path), 0u);
}

TEST(FileFacts, FailedWriteKeepsTheOldStateAndCleansUp)
{
    testsupport::TempDir dir;
    std::string target = (dir.path() / "occupied").string();
    ASSERT_TRUE(FileFacts::createDirectories(target + "/child"));
    EXPECT_FALSE(FileFacts::writeFileAtomically(target, std::string("x")));
    EXPECT_TRUE(FileFacts::isDirectory(target));
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"occupied"}));
    // A parent that is a file cannot become a folder.
    ASSERT_TRUE(FileFacts::writeFileAtomically((dir.path() / "plain").string(), std::string("x")));
    EXPECT_FALSE(FileFacts::writeFileAtomically((dir.path() / "plain" / "inner").string(), std::string("y")));
}

TEST(FileFacts, QueriesAnswerForMissingFilesAndFolders)
{
    testsupport::TempDir dir;
    std::string missing = (dir.path() / "missing").string();
    EXPECT_FALSE(FileFacts::exists(missing));
    EXPECT_FALSE(FileFacts::isDirectory(missing));
    EXPECT_FALSE(FileFacts::size(missing));
    EXPECT_FALSE(FileFacts::modificationTime(missing));
    EXPECT_FALSE(FileFacts::readFile(missing));
    EXPECT_TRUE(FileFacts::removeFile(missing));
    EXPECT_FALSE(FileFacts::readFile(dir.str()));
    EXPECT_TRUE(FileFacts::createDirectories((dir.path() / "x" / "y").string()));
    EXPECT_TRUE(FileFacts::createDirectories((dir.path() / "x" / "y").string()));
}
