#include "kernel/sql/HCSqlSchema.h"

#include <strings.h>

#include "kernel/sql/HCSqlQuery.h"

namespace HCSqlSchema {

bool execute(sqlite3* db, const std::string& sql)
{
    HCSqlQuery query;
    if (!query.reset(db, sql)) return false;
    while (query.execute()) {
    }
    return query.result() == 0;
}

bool hasTable(sqlite3* db, const std::string& table)
{
    HCSqlQuery query;
    if (!query.reset(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name = :name")) return false;
    query.bind("name", table);
    bool found = query.execute();
    query.resetQuery();
    return found;
}

bool hasColumn(sqlite3* db, const std::string& table, const std::string& column)
{
    HCSqlQuery query;
    if (!query.reset(db, "SELECT name FROM pragma_table_info(:table)")) return false;
    query.bind("table", table);
    bool found = false;
    while (!found && query.execute()) {
        const char* name = query.getText("name");
        found = name && strcasecmp(name, column.c_str()) == 0;
    }
    query.resetQuery();
    return found;
}

}  // namespace HCSqlSchema
