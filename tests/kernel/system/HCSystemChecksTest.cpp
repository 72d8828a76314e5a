#include <gtest/gtest.h>

#include <filesystem>

#include "kernel/system/HCSystemChecks.h"
#include "kernel/system/HCTransactionalSaveFile.h"
#include "platform/foundation/DeviceFacts.h"
#include "platform/foundation/Sandbox.h"
#include "support/TestSupport.h"

namespace {

TEST(HCSystemChecks, VersionsCompareNumerically)
{
    struct Case {
        const char* version;
        int major;
        int minor;
        bool atLeast;
    };
    const Case cases[] = {
        {"4.1", 4, 1, true},   {"4.0.2", 4, 1, false}, {"4.10", 4, 2, true}, {"10.0", 4, 1, true},
        {"3.1.3", 4, 0, false}, {"4", 4, 0, true},     {"4", 4, 1, false},   {"", 3, 0, false},
        {"5.0", 4, 9, true},    {"4.2beta", 4, 2, true}, {"x.y", 0, 0, true}, {"3.9", 3, 10, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isSystemVersionAtLeast(c.version, c.major, c.minor), c.atLeast)
            << c.version << " >= " << c.major << "." << c.minor;
    }
    platform::DeviceFacts::setSystemVersion("3.2");
    EXPECT_TRUE(is3PointOhSystemVersion());
    EXPECT_FALSE(is4PointOhSystemVersion());
    platform::DeviceFacts::reset();
}

TEST(HCTransactionalSaveFile, PathsLieInTheDocumentsFolder)
{
    testsupport::TempDir dir;
    platform::Sandbox::configure(dir.str());
    const std::string documents = (dir.path() / "Documents").string();
    EXPECT_EQ(HCTransactionalSaveFile::getSavePathForFile("halcyon_offline"), documents + "/halcyon_offline");
    EXPECT_TRUE(std::filesystem::is_directory(documents));
    EXPECT_EQ(HCTransactionalSaveFile::getSavePathForFile("/etc/passwd"), documents + "//etc/passwd");
    platform::Sandbox::reset();
}

}  // namespace
