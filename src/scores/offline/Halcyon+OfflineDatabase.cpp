// The Halcyon class's offline database handles. Declared with the class in
// core/halcyon; defined here, beside the database they open.
#include "core/halcyon/Halcyon.h"
#include "scores/offline/HCOfflineDatabase.h"

void Halcyon::setupOfflineDatabase()
{
    HC_CHECK_MAIN_THREAD();
    teardownOfflineDatabase();
    HCOfflineDatabase::setCurrent(HCOfflineDatabase::open(HCOfflineDatabase::defaultPath()));
}

void Halcyon::teardownOfflineDatabase()
{
    HC_CHECK_MAIN_THREAD();
    auto database = HCOfflineDatabase::current();
    HCOfflineDatabase::setCurrent(nullptr);
    if (database) database->close();
}

std::shared_ptr<HCOfflineConnection> Halcyon::getOfflineDatabaseHandle()
{
    auto database = HCOfflineDatabase::current();
    if (!database) return nullptr;
    return std::shared_ptr<HCOfflineConnection>(database, &database->mainConnection());
}

std::shared_ptr<HCOfflineConnection> Halcyon::getBootstrapOfflineDatabaseHandle()
{
    auto database = HCOfflineDatabase::current();
    if (!database) return nullptr;
    return std::shared_ptr<HCOfflineConnection>(database, &database->bootstrapConnection());
}
