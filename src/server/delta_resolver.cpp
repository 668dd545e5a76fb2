#include "server/delta_resolver.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "server/app_error.h"

namespace qbk::server {

namespace {

using data::Change;
using data::Delta;
using data::FieldType;
using data::Row;
using data::Value;

std::string describe(const Value& v) {
  if (data::isNull(v)) return "nulo";
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  return data::formatNumber(std::get<double>(v));
}

bool isBlank(const Value& v) {
  const auto* s = std::get_if<std::string>(&v);
  return s && s->find_first_not_of(' ') == std::string::npos;
}

bool fitsType(const Value& v, FieldType type) {
  if (data::isNull(v)) return true;
  return type == FieldType::String ? std::holds_alternative<std::string>(v)
                                   : std::holds_alternative<double>(v);
}

int order(Change::Op op) {
  switch (op) {
    case Change::Op::Delete:
      return 0;
    case Change::Op::Update:
      return 1;
    case Change::Op::Insert:
      return 2;
  }
  return 3;
}

class Resolver {
 public:
  Resolver(db::Connection& conn, const PacketLayout& layout, const Delta& delta,
           const ResolvePolicy& policy)
      : conn_(conn), table_(*layout.table), delta_(delta), policy_(policy) {
    mapFields(layout);
  }

  void validate() const {
    for (const Change& c : delta_.changes) validateChange(c);
  }

  void apply() {
    // Deletes first, so that a key a delete frees can be inserted again in the same delta;
    // within each kind in key order, so that two deltas over the same rows take their locks
    // in the same order and cannot wait on each other.
    std::vector<const Change*> changes;
    changes.reserve(delta_.changes.size());
    for (const Change& c : delta_.changes) changes.push_back(&c);
    std::sort(changes.begin(), changes.end(), [this](const Change* a, const Change* b) {
      if (order(a->op) != order(b->op)) return order(a->op) < order(b->op);
      return keyOf(*a) < keyOf(*b);
    });
    for (std::size_t i = 1; i < changes.size(); ++i)
      if (changes[i - 1]->op == changes[i]->op && keyOf(*changes[i - 1]) == keyOf(*changes[i]))
        fail("A alteração de " + rowName(subject(*changes[i])) +
             " aparece duas vezes no mesmo pacote de alterações.");

    lockRows(changes);
    if (policy_.rowsNeedBank)
      for (const Change* c : changes)
        if (c->op != Change::Op::Delete) requireBank(c->newRow);
    for (const Change* c : changes) {
      switch (c->op) {
        case Change::Op::Delete:
          remove(*c);
          break;
        case Change::Op::Update:
          update(*c);
          break;
        case Change::Op::Insert:
          insert(*c);
          break;
      }
    }
  }

 private:
  struct Column {
    int field;  // index in the delta's fields and rows
    const ColumnSpec* column;
    bool key;
  };

  void mapFields(const PacketLayout& layout) {
    for (std::size_t i = 0; i < delta_.fields.size(); ++i) {
      const data::FieldDef& fd = delta_.fields[i];
      const PacketField* pf = layout.field(fd.name);
      if (!pf) fail("Campo desconhecido '" + fd.name + "' em " + table_.name + ".");
      for (std::size_t j = 0; j < i; ++j)
        if (delta_.fields[j].name == fd.name)
          fail("Campo '" + fd.name + "' repetido nas alterações de " + table_.name + ".");
      if (fd.type != pf->def.type)
        fail("Campo '" + fd.name + "' de " + table_.name + " deve ser " +
             (pf->def.type == FieldType::String ? "texto." : "numérico."));
      if (pf->readOnly) continue;
      columns_.push_back({static_cast<int>(i), table_.column(fd.name), table_.isKey(fd.name)});
    }
    for (const std::string& k : table_.key) {
      auto it = std::find_if(columns_.begin(), columns_.end(),
                             [&](const Column& c) { return c.column->name == k; });
      keyColumns_.push_back(it == columns_.end() ? nullptr : &*it);
    }
  }

  [[noreturn]] static void fail(const std::string& message) { throw ApplicationError(message); }

  static const Row& subject(const Change& c) {
    return c.op == Change::Op::Insert ? c.newRow : c.oldRow;
  }

  Row keyOf(const Change& c) const {
    Row key;
    const Row& row = subject(c);
    for (const Column* k : keyColumns_) key.push_back(row[k->field]);
    return key;
  }

  // Where rows are locked one by one (PostgreSQL), every row the delta will change or
  // delete is locked before anything is written, in the key order of `changes`. The
  // engine would otherwise take the locks in whatever order the statements meet the rows.
  void lockRows(const std::vector<const Change*>& changes) {
    const std::string suffix = conn_.dialect().lockRowsSuffix();
    if (suffix.empty()) return;
    std::vector<const Change*> locked;
    for (const Change* c : changes)
      if (c->op != Change::Op::Insert) locked.push_back(c);
    std::stable_sort(locked.begin(), locked.end(),
                     [this](const Change* a, const Change* b) { return keyOf(*a) < keyOf(*b); });
    for (const Change* c : locked) {
      std::string sql = "SELECT 1 FROM " + table_.name;
      std::vector<Value> params;
      appendKeyCondition(sql, params, c->oldRow);
      conn_.forEachRow(sql + suffix, params, [](const db::Cursor&) {});
    }
  }

  // "BANCO (CDBANCO=001)": how every message names the row it is about.
  std::string rowName(const Row& row) const {
    std::string s = table_.name + " (";
    for (std::size_t i = 0; i < table_.key.size(); ++i) {
      if (i) s += ", ";
      s += table_.key[i] + "=";
      s += keyColumns_[i] ? describe(row[keyColumns_[i]->field]) : "?";
    }
    return s + ")";
  }

  void checkWidth(const Row& row) const {
    if (row.size() != delta_.fields.size())
      fail("Alteração de " + table_.name + " com " + std::to_string(row.size()) +
           " valor(es) para " + std::to_string(delta_.fields.size()) + " campo(s).");
    for (std::size_t i = 0; i < row.size(); ++i) {
      if (!fitsType(row[i], delta_.fields[i].type))
        fail("Valor de tipo errado no campo '" + delta_.fields[i].name + "' de " + table_.name +
             ".");
      // SQLite would store it and PostgreSQL refuse it; neither is what the user typed.
      const auto* s = std::get_if<std::string>(&row[i]);
      if (s && s->find('\0') != std::string::npos)
        fail("O campo " + delta_.fields[i].name + " de " + table_.name +
             " contém o caractere nulo (U+0000), que não pode ser gravado.");
    }
  }

  void checkKeyCarried(const Row& row, bool requireFilled) const {
    for (std::size_t i = 0; i < table_.key.size(); ++i) {
      const Column* k = keyColumns_[i];
      if (!k)
        fail("As alterações de " + table_.name + " não trazem o campo-chave " + table_.key[i] +
             ".");
      const Value& v = row[k->field];
      if (data::isNull(v) || (requireFilled && isBlank(v)))
        fail("Campo-chave " + table_.key[i] + " de " + table_.name + " deve ser informado.");
    }
  }

  void checkNewValues(const Row& row) const {
    for (const Column& c : columns_) {
      const Value& v = row[c.field];
      if (data::isNull(v)) {
        if (c.column->notNull)
          fail("Campo " + c.column->name + " de " + rowName(row) + " deve ser informado.");
        continue;
      }
      if (const auto* s = std::get_if<std::string>(&v)) {
        const std::size_t chars = data::utf8Length(*s);
        if (chars > static_cast<std::size_t>(c.column->size))
          fail("Valor de " + c.column->name + " em " + rowName(row) + " tem " +
               std::to_string(chars) + " caracteres; o máximo é " + std::to_string(c.column->size) +
               ".");
      }
    }
  }

  void validateChange(const Change& c) const {
    if (!policy_.allowInsertDelete && c.op != Change::Op::Update) fail(policy_.insertDeleteRefusal);
    switch (c.op) {
      case Change::Op::Insert:
        checkWidth(c.newRow);
        checkKeyCarried(c.newRow, true);
        checkNewValues(c.newRow);
        // A required column the delta does not carry would be stored as null.
        for (const ColumnSpec& column : table_.columns) {
          if (!column.notNull) continue;
          bool carried = std::any_of(columns_.begin(), columns_.end(),
                                     [&](const Column& col) { return col.column == &column; });
          if (!carried)
            fail("Campo " + column.name + " de " + rowName(c.newRow) + " deve ser informado.");
        }
        break;
      case Change::Op::Update:
        checkWidth(c.oldRow);
        checkWidth(c.newRow);
        checkKeyCarried(c.oldRow, false);
        for (const Column* k : keyColumns_)
          if (c.oldRow[k->field] != c.newRow[k->field])
            fail("A chave de " + rowName(c.oldRow) + " não pode ser alterada (novo " +
                 k->column->name + "=" + describe(c.newRow[k->field]) + ").");
        checkNewValues(c.newRow);
        break;
      case Change::Op::Delete:
        checkWidth(c.oldRow);
        checkKeyCarried(c.oldRow, false);
        break;
    }
  }

  // ---- statements -----------------------------------------------------------------------

  void appendKeyCondition(std::string& sql, std::vector<Value>& params, const Row& row) const {
    for (std::size_t i = 0; i < keyColumns_.size(); ++i) {
      sql += i ? " AND " : " WHERE ";
      sql += keyColumns_[i]->column->name + " = ?";
      params.push_back(row[keyColumns_[i]->field]);
    }
  }

  void appendMatch(std::string& sql, std::vector<Value>& params, const Column& c,
                   const Value& original) const {
    sql += " AND " + c.column->name + " " + conn_.dialect().nullSafeEqual() + " ?";
    params.push_back(original);
  }

  bool exists(const Row& row) {
    std::string sql = "SELECT 1 FROM " + table_.name;
    std::vector<Value> params;
    appendKeyCondition(sql, params, row);
    bool found = false;
    conn_.forEachRow(sql, params, [&](const db::Cursor&) { found = true; });
    return found;
  }

  void requireBank(const Row& row) {
    auto it = std::find_if(columns_.begin(), columns_.end(),
                           [](const Column& c) { return c.column->name == "CDBANCO"; });
    if (it == columns_.end())
      fail("As alterações de " + table_.name + " não trazem o banco (CDBANCO) de cada linha.");
    const Value& bank = row[it->field];
    bool found = false;
    conn_.forEachRow("SELECT 1 FROM BANCO WHERE CDBANCO = ?", {bank},
                     [&](const db::Cursor&) { found = true; });
    if (!found)
      fail("O banco " + describe(bank) + " não está cadastrado: " + rowName(row) +
           " não pode ser gravado.");
  }

  // The carried columns of the stored row, in `columns_` order; nothing when it is gone.
  std::optional<Row> readStored(const Row& row) {
    std::string sql = "SELECT ";
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      if (i) sql += ", ";
      sql += columns_[i].column->name;
    }
    sql += " FROM " + table_.name;
    std::vector<Value> params;
    appendKeyCondition(sql, params, row);
    std::optional<Row> stored;
    conn_.forEachRow(sql, params, [&](const db::Cursor& cursor) {
      Row r;
      for (std::size_t i = 0; i < columns_.size(); ++i)
        r.push_back(cursor.value(static_cast<int>(i), columns_[i].column->type));
      stored = std::move(r);
    });
    return stored;
  }

  bool nonKeyOriginalsAllNull(const Row& old) const {
    return std::all_of(columns_.begin(), columns_.end(),
                       [&](const Column& c) { return c.key || data::isNull(old[c.field]); });
  }

  [[noreturn]] void conflict(const Change& c) {
    const std::string prefix = "Conflito em " + rowName(c.oldRow) + ": o registro foi ";
    const std::string suffix = " Nada foi gravado; leia os dados novamente.";
    std::optional<Row> stored = readStored(c.oldRow);
    if (!stored) fail(prefix + "excluído por outro usuário desde a leitura." + suffix);
    std::string changed;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
      if ((*stored)[i] == c.oldRow[columns_[i].field]) continue;
      if (!changed.empty()) changed += ", ";
      changed += columns_[i].column->name;
    }
    fail(prefix + "alterado por outro usuário desde a leitura (campos alterados: " + changed +
         ")." + suffix);
  }

  // Returns false, writing nothing, when `unlessPresent` and a row with the key exists.
  bool insertRow(const Row& row, bool unlessPresent = false) {
    std::string sql = "INSERT INTO " + table_.name + " (";
    std::string marks;
    std::vector<Value> params;
    for (const Column& c : columns_) {
      if (!params.empty()) {
        sql += ", ";
        marks += ", ";
      }
      sql += c.column->name;
      marks += "?";
      params.push_back(row[c.field]);
    }
    sql += ") VALUES (" + marks + ")";
    if (unlessPresent) sql += " ON CONFLICT DO NOTHING";
    try {
      return conn_.execute(sql, params) > 0;
    } catch (const db::ConstraintError& e) {
      if (e.kind() == db::ConstraintError::Kind::Unique)
        fail("Registro já cadastrado em " + rowName(row) + ".");
      refused(row, e);
    }
  }

  [[noreturn]] void refused(const Row& row, const db::ConstraintError& e) const {
    if (e.kind() == db::ConstraintError::Kind::ForeignKey)
      fail(rowName(row) + " não pode ser gravado: faz referência a um registro que não existe.");
    fail(rowName(row) + " não pode ser gravado: viola uma regra do banco de dados.");
  }

  void insert(const Change& c) {
    if (exists(c.newRow)) fail("Registro já cadastrado em " + rowName(c.newRow) + ".");
    insertRow(c.newRow);
  }

  void update(const Change& c) {
    std::vector<const Column*> changed;
    for (const Column& col : columns_)
      if (!col.key && c.oldRow[col.field] != c.newRow[col.field]) changed.push_back(&col);
    if (changed.empty()) return;

    std::string sql = "UPDATE " + table_.name + " SET ";
    std::vector<Value> params;
    for (std::size_t i = 0; i < changed.size(); ++i) {
      if (i) sql += ", ";
      sql += changed[i]->column->name + " = ?";
      params.push_back(c.newRow[changed[i]->field]);
    }
    appendKeyCondition(sql, params, c.oldRow);
    for (const Column* col : changed) appendMatch(sql, params, *col, c.oldRow[col->field]);

    long long n = 0;
    try {
      n = conn_.execute(sql, params);
    } catch (const db::ConstraintError& e) {
      refused(c.oldRow, e);
    }
    if (n > 0) return;
    // The client edited an empty row it was shown; only a row it saw empty may be created,
    // so a row someone deleted after it was read is not brought back half-filled.
    if (policy_.missingRowIsNulls && nonKeyOriginalsAllNull(c.oldRow) && !exists(c.oldRow)) {
      // Another user may be creating the same row at this moment; PostgreSQL lets both get
      // this far. The insert then waits for the other one, and when that one is stored this
      // edit is an update of its row, checked like any other.
      if (insertRow(c.newRow, true)) return;
      try {
        n = conn_.execute(sql, params);
      } catch (const db::ConstraintError& e) {
        refused(c.oldRow, e);
      }
      if (n > 0) return;
    }
    conflict(c);
  }

  void remove(const Change& c) {
    std::string sql = "DELETE FROM " + table_.name;
    std::vector<Value> params;
    appendKeyCondition(sql, params, c.oldRow);
    for (const Column& col : columns_)
      if (!col.key) appendMatch(sql, params, col, c.oldRow[col.field]);

    long long n = 0;
    try {
      n = conn_.execute(sql, params);
    } catch (const db::ConstraintError&) {
      fail(rowName(c.oldRow) + " está em uso e não pode ser excluído.");
    }
    if (n > 0) return;
    if (policy_.missingRowIsNulls && nonKeyOriginalsAllNull(c.oldRow) && !exists(c.oldRow)) return;
    conflict(c);
  }

  db::Connection& conn_;
  const TableSpec& table_;
  const Delta& delta_;
  const ResolvePolicy& policy_;
  std::vector<Column> columns_;            // table columns the delta carries, delta order
  std::vector<const Column*> keyColumns_;  // per key column of the table; null if absent
};

}  // namespace

void applyDelta(db::Connection& conn, const PacketLayout& layout, const data::Delta& delta,
                const ResolvePolicy& policy) {
  Resolver resolver(conn, layout, delta, policy);
  resolver.validate();
  if (delta.changes.empty()) return;
  db::Transaction tx(conn, db::Transaction::Mode::Write);
  resolver.apply();
  tx.commit();
}

void writeDelta(db::Connection& conn, const PacketLayout& layout, const data::Delta& delta,
                const ResolvePolicy& policy) {
  Resolver resolver(conn, layout, delta, policy);
  resolver.validate();
  resolver.apply();
}

}  // namespace qbk::server
