#pragma once
// A sandbox of its own with the offline store started in it: the settings
// (bundle version "1.2", so the formatted version is "0001.02.00"), the
// offline and leaderboard services, and the database on both connections.
// Tests of the score services build on it.
//
// Thread: main thread.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "kernel/settings/HCSettings.h"
#include "platform/foundation/Sandbox.h"
#include "scores/leaderboards/HCLeaderboardService.h"
#include "scores/offline/HCOfflineDatabase.h"
#include "scores/offline/HCOfflineService.h"
#include "support/TestSupport.h"

namespace testsupport {

class OfflineStoreFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::Sandbox::configure(dir_.str());
        HCSettings::Initialize();
        HCSettings::Instance()->setObject("1.2", HCSettings::kBundleVersionKey);
        startStore();
    }
    void TearDown() override
    {
        stopStore();
        HCOfflineService::setHooks({});
        HCSettings::Shutdown();
        platform::Sandbox::reset();
    }

    void startStore()
    {
        HCOfflineService::initializeService();
        HCLeaderboardService::initializeService();
    }
    void stopStore()
    {
        HCLeaderboardService::shutdownService();
        HCOfflineService::shutdownService();
    }

    // Stops the store, writes a file of its own in place of the database
    // with the given statements (an older layout), and starts the store on
    // it. False when a statement of the old file failed.
    bool startOnFile(const std::string& oldStatements)
    {
        stopStore();
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path() + suffix);
        sqlite3* old = nullptr;
        bool made = sqlite3_open(path().c_str(), &old) == SQLITE_OK &&
                    sqlite3_exec(old, oldStatements.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(old);
        startStore();
        return made;
    }

    HCOfflineConnection& mainConnection() { return HCOfflineDatabase::current()->mainConnection(); }
    sqlite3* db() { return mainConnection().handle(); }
    std::string path() const { return dir_.str() + "/Documents/halcyon_offline"; }

    TempDir dir_;
};

}  // namespace testsupport
