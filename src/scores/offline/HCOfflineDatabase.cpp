#include "scores/offline/HCOfflineDatabase.h"

#include "core/services/HCService.h"
#include "platform/foundation/Sandbox.h"
#include "platform/runtime/Guarded.h"
#include "platform/runtime/Thread.h"
#include "transport/provider/HCProvider.h"

namespace {

platform::Guarded<std::shared_ptr<HCOfflineDatabase>>& slotInOfflineDatabase()
{
    static auto* slotInOfflineDatabase = new platform::Guarded<std::shared_ptr<HCOfflineDatabase>>();
    return *slotInOfflineDatabase;
}

}  // namespace

std::string HCOfflineDatabase::defaultPath()
{
    return platform::Sandbox::documentsPath() + "/" + kFileName;
}

std::shared_ptr<HCOfflineDatabase> HCOfflineDatabase::open(const std::string& path)
{
    auto database = std::make_shared<HCOfflineDatabase>();
    database->path_ = path;
    // The journal mode is switched on the first connection, before the
    // second one holds the file.
    database->main_->open(path, true);
    database->bootstrap_->open(path, false);
    return database;
}

std::shared_ptr<HCOfflineDatabase> HCOfflineDatabase::current()
{
    return slotInOfflineDatabase().get();
}

void HCOfflineDatabase::setCurrent(std::shared_ptr<HCOfflineDatabase> database)
{
    slotInOfflineDatabase().set(std::move(database));
}

bool HCOfflineDatabase::isRequestThread()
{
    auto provider = HCService::provider();
    auto requestThread = provider ? provider->requestThread() : nullptr;
    return requestThread && platform::Thread::current() == requestThread;
}

HCOfflineConnection& HCOfflineDatabase::forCurrentThread()
{
    return isRequestThread() ? *bootstrap_ : *main_;
}

HCOfflineStatement HCOfflineDatabase::statementForCurrentThread(const std::string& sql)
{
    auto database = current();
    if (!database) return HCOfflineStatement();
    auto statement = database->forCurrentThread().statement(sql);
    statement.keepAlive(database);
    return statement;
}

sqlite3* HCOfflineDatabase::handleForCurrentThread()
{
    auto database = current();
    return database ? database->forCurrentThread().handle() : nullptr;
}

void HCOfflineDatabase::close()
{
    bootstrap_->close();
    main_->close();
}
