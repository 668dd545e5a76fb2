// The database schema and its versions. The version lives in the database itself
// (SCHEMA_VERSION), so a server started on an older file brings it up to date and one
// started on a newer file refuses it instead of writing into a shape it does not know.
#pragma once

#include <string>

#include "db/connection.h"
#include "server/catalog.h"

namespace qbk::server {

// The schema version that this server writes and understands.
int latestSchemaVersion();

// The version stored in the database; 0 when it has none yet.
int storedSchemaVersion(db::Connection& c);

// Runs, each in its own write transaction, every migration above the stored version.
// Throws DbError when the database is newer than this server.
void migrate(db::Connection& c);

// CREATE TABLE statement of a catalog table: columns, key and foreign keys.
std::string createTableSql(const TableSpec& table, const db::Dialect& dialect);

}  // namespace qbk::server
