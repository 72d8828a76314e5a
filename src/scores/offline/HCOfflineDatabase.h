#pragma once
// The client's one SQLite file, "halcyon_offline" in the sandbox's Documents
// folder, open on two connections: the main one for the main thread and the
// bootstrap one for the provider's request thread, where bootstrap and
// score replies are applied. Each thread prepares and runs its statements on
// its own connection; forCurrentThread() picks it.
//
// The file uses write-ahead logging (see docs/ARCHITECTURE.md, Storage):
// one connection reads while the other writes; two writers take turns, each
// write transaction taking the write lock when it begins.
//
// Halcyon::setupOfflineDatabase() opens the process's database and
// Halcyon::teardownOfflineDatabase() closes it (the offline service does
// both); current() answers it in between, nil otherwise.
//
// Thread: open, close, setup and teardown on the main thread while the
// request thread is not using the file (before the provider starts, after
// it stopped); current() and forCurrentThread() from either thread.
#include <memory>
#include <string>

#include "platform/runtime/Object.h"
#include "scores/offline/HCOfflineConnection.h"

class HCOfflineDatabase final : public platform::Object {
public:
    static constexpr const char* kFileName = "halcyon_offline";

    // The file in the sandbox's Documents folder.
    static std::string defaultPath();
    // Both connections on `path`; a connection that could not be opened is
    // closed (its statements fail, its reads are empty).
    static std::shared_ptr<HCOfflineDatabase> open(const std::string& path);

    static std::shared_ptr<HCOfflineDatabase> current();
    static void setCurrent(std::shared_ptr<HCOfflineDatabase> database);

    // The connection of the calling thread: the bootstrap connection on the
    // provider's request thread, the main one elsewhere (whose checker
    // reports a thread that is neither).
    HCOfflineConnection& forCurrentThread();
    static bool isRequestThread();
    // The statement on the calling thread's connection of the current
    // database; an unprepared one (every step fails) when none is open.
    static HCOfflineStatement statementForCurrentThread(const std::string& sql);
    // The calling thread's connection's handle; null when none is open.
    static sqlite3* handleForCurrentThread();

    HCOfflineConnection& mainConnection() { return *main_; }
    HCOfflineConnection& bootstrapConnection() { return *bootstrap_; }
    const std::string& path() const { return path_; }

    void close();
    ~HCOfflineDatabase() override { close(); }

private:
    std::string path_;
    std::shared_ptr<HCOfflineConnection> main_ = std::make_shared<HCOfflineConnection>();
    std::shared_ptr<HCOfflineConnection> bootstrap_ = std::make_shared<HCOfflineConnection>();
};
