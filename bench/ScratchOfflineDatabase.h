#pragma once
// A fresh offline database for one benchmark case: a sandbox of its own in
// the program's scratch folder, the file opened as the client opens it
// (write-ahead logging, synchronous=FULL), brought to the current layout and
// made the current database.
//
// Thread: main thread, once the program made its scratch folder first in
// main (ScratchFolder.h).
#include <filesystem>
#include <memory>
#include <string>

#include "ScratchFolder.h"
#include "platform/foundation/Sandbox.h"
#include "scores/offline/HCOfflineDatabase.h"
#include "scores/offline/HCOfflineSchema.h"

namespace bench {

inline std::shared_ptr<HCOfflineDatabase> openScratchOfflineDatabase()
{
    static int serial = 0;
    const auto dir = std::filesystem::path(scratchFolder()) / ("database-" + std::to_string(++serial));
    std::filesystem::create_directories(dir);
    platform::Sandbox::configure(dir.string());
    HCOfflineDatabase::setCurrent(nullptr);
    auto database = HCOfflineDatabase::open(HCOfflineDatabase::defaultPath());
    HCOfflineDatabase::setCurrent(database);
    if (!HCOfflineSchema::setup(database->mainConnection()).all()) return nullptr;
    return database;
}

}  // namespace bench
