#include "server/schema.h"

#include <functional>
#include <string>
#include <vector>

namespace qbk::server {

namespace {

struct Migration {
  int version;
  std::function<void(db::Connection&)> apply;
};

std::string joined(const std::vector<std::string>& names) {
  std::string out;
  for (const auto& n : names) {
    if (!out.empty()) out += ", ";
    out += n;
  }
  return out;
}

std::string createIndexSql(const std::string& table, const std::vector<std::string>& columns) {
  std::string name = "IX_" + table;
  for (const auto& c : columns) name += "_" + c;
  return "CREATE INDEX " + name + " ON " + table + " (" + joined(columns) + ")";
}

// Version 1 builds whatever the catalog describes. A later migration that adds to a table
// must therefore accept finding the addition already there (a file created by this same
// program got it from version 1).
void createInitialSchema(db::Connection& c) {
  for (const TableSpec& t : catalog()) c.executeScript(createTableSql(t, c.dialect()));
  // The look-ups that filter by something other than a leading key column: a bank's
  // companies, the accounts that block a bank's deletion, the clearing-house code of the
  // standard-message update, and the supplier by registration number.
  c.executeScript(createIndexSql("CONTCORR", {"CDBANCO"}));
  c.executeScript(createIndexSql("EMPRBANC", {"CDBANCO"}));
  c.executeScript(createIndexSql("BANCO", {"CDBANCCNAB"}));
  c.executeScript(createIndexSql("FORNECEDOR", {"NRINSJURFORN"}));
}

const std::vector<Migration>& migrations() {
  static const std::vector<Migration> list = {
      {1, createInitialSchema},
  };
  return list;
}

int readVersion(db::Connection& c) {
  int version = 0;
  c.forEachRow("SELECT MAX(VERSION) FROM SCHEMA_VERSION", {}, [&](const db::Cursor& row) {
    if (!row.isNull(0)) version = static_cast<int>(row.number(0));
  });
  return version;
}

void refuseNewer(int stored) {
  if (stored > latestSchemaVersion())
    throw db::DbError("Banco de dados na versão " + std::to_string(stored) +
                      ", mais nova que a deste servidor (" + std::to_string(latestSchemaVersion()) +
                      ").");
}

bool hasVersionTable(db::Connection& c) {
  // Asking the table itself works on every engine; a missing table is the only failure
  // a plain SELECT of it can have here.
  try {
    readVersion(c);
    return true;
  } catch (const db::DbError&) {
    return false;
  }
}

void createVersionTable(db::Connection& c) {
  db::Transaction tx(c);
  c.executeScript("CREATE TABLE IF NOT EXISTS SCHEMA_VERSION (VERSION INTEGER NOT NULL)");
  if (c.query("SELECT VERSION FROM SCHEMA_VERSION").rows.empty())
    c.execute("INSERT INTO SCHEMA_VERSION (VERSION) VALUES (0)");
  tx.commit();
}

}  // namespace

int latestSchemaVersion() {
  return migrations().back().version;
}

int storedSchemaVersion(db::Connection& c) {
  return hasVersionTable(c) ? readVersion(c) : 0;
}

std::string createTableSql(const TableSpec& table, const db::Dialect& dialect) {
  std::string sql = "CREATE TABLE " + table.name + " (";
  bool first = true;
  for (const ColumnSpec& col : table.columns) {
    sql += first ? "\n  " : ",\n  ";
    first = false;
    sql += col.name + " ";
    sql += col.type == data::FieldType::Float ? dialect.floatType() : dialect.textType(col.size);
    if (col.notNull) sql += " NOT NULL";
  }
  sql += ",\n  CONSTRAINT PK_" + table.name + " PRIMARY KEY (" + joined(table.key) + ")";
  for (const ForeignKeySpec& fk : table.foreignKeys) {
    sql += ",\n  CONSTRAINT FK_" + table.name + "_" + fk.table + " FOREIGN KEY (" +
           joined(fk.columns) + ") REFERENCES " + fk.table + " (" + joined(fk.references) + ")";
    if (fk.cascadeDelete) sql += " ON DELETE CASCADE";
  }
  sql += "\n)";
  return sql;
}

void migrate(db::Connection& c) {
  // Read first, so that a newer file is refused before anything is written to it and an
  // up-to-date one is not even locked.
  if (hasVersionTable(c)) {
    const int stored = readVersion(c);
    refuseNewer(stored);
    if (stored >= latestSchemaVersion()) return;
  } else {
    try {
      createVersionTable(c);
    } catch (const db::DbError&) {
      // Another server starting at the same moment may have created it first.
      if (!hasVersionTable(c)) throw;
    }
  }
  for (const Migration& m : migrations()) {
    db::Transaction tx(c);
    // Writing the version row first makes a second server wait here until this one
    // commits (SQLite locks the file at BEGIN already), and only then read the version.
    c.execute("UPDATE SCHEMA_VERSION SET VERSION = VERSION");
    const int stored = readVersion(c);
    refuseNewer(stored);
    if (stored >= m.version) continue;
    m.apply(c);
    const db::Value version = static_cast<double>(m.version);
    if (c.execute("UPDATE SCHEMA_VERSION SET VERSION = ?", {version}) == 0)
      c.execute("INSERT INTO SCHEMA_VERSION (VERSION) VALUES (?)", {version});
    tx.commit();
  }
}

}  // namespace qbk::server
