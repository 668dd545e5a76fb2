#include "host/query.h"

#include <algorithm>
#include <unordered_map>

#include "db/connection.h"
#include "db/sql_text.h"
#include "host/screens/application.h"

namespace qbk::host {

namespace {

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool identStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool identChar(char c) {
  return identStart(c) || (c >= '0' && c <= '9');
}

// The queries alive, by the record set they are. The screens run on one thread.
std::unordered_map<const data::RecordSet*, TADOIBQuery*>& liveQueries() {
  static std::unordered_map<const data::RecordSet*, TADOIBQuery*> live;
  return live;
}

void refuseWrites(data::RecordSet& set) {
  auto refuse = [](data::RecordSet& s) {
    throw QueryError("A consulta '" + s.name() + "' é somente leitura.");
  };
  set.beforeInsert = refuse;
  set.beforeEdit = refuse;
  set.beforeDelete = refuse;
}

}  // namespace

QueryDialect queryDialectFor(db::Engine engine) {
  switch (engine) {
    case db::Engine::SQLite:
    case db::Engine::PostgreSQL:
      return QueryDialect::Default;
  }
  return QueryDialect::Default;
}

PositionalStatement toPositional(std::string_view sql) {
  PositionalStatement out;
  out.sql =
      db::rewriteOutsideQuotes(sql, [&](std::string_view rest, std::string& text) -> std::size_t {
        if (rest.starts_with("::")) {  // a cast, not a parameter
          text.append("::");
          return 2;
        }
        if (rest.size() > 1 && rest[0] == ':' && identStart(rest[1])) {
          std::size_t end = 1;
          while (end < rest.size() && identChar(rest[end])) ++end;
          out.names.emplace_back(rest.substr(1, end - 1));
          text.push_back('?');
          return end;
        }
        if (rest[0] == '?')
          throw QueryError("O texto da consulta usa '?': os parâmetros são nomeados (:NOME).");
        return 0;
      });
  return out;
}

// ---- QueryParam ----------------------------------------------------------------------------

QueryParam& QueryParam::operator=(std::string text) {
  setValue(std::move(text));
  return *this;
}

QueryParam& QueryParam::operator=(double number) {
  setValue(number);
  return *this;
}

void QueryParam::setValue(data::Value v) {
  value_ = std::move(v);
  assigned_ = true;
}

void QueryParam::clear() {
  setValue(data::Value{});
}

std::string QueryParam::asString() const {
  if (const auto* s = std::get_if<std::string>(&value_)) return *s;
  if (const auto* d = std::get_if<double>(&value_)) return data::formatNumber(*d);
  return {};
}

// ---- TADOIBQuery ---------------------------------------------------------------------------

TADOIBQuery::TADOIBQuery(std::string name) : RecordSet(std::move(name)) {
  refuseWrites(*this);
  liveQueries()[this] = this;
}

TADOIBQuery::~TADOIBQuery() {
  liveQueries().erase(this);
}

TADOIBQuery* TADOIBQuery::of(data::RecordSet& set) {
  auto it = liveQueries().find(&set);
  return it == liveQueries().end() ? nullptr : it->second;
}

const std::string& TADOIBQuery::text(QueryDialect dialect) const {
  switch (dialect) {
    case QueryDialect::Oracle:
      return SQL_ORACLE.empty() ? SQL : SQL_ORACLE;
    case QueryDialect::InterBase:
      return SQL_IB.empty() ? SQL : SQL_IB;
    case QueryDialect::Default:
      break;
  }
  return SQL;
}

QueryParam& TADOIBQuery::paramByName(std::string_view name) {
  const std::string key = upper(name);
  if (auto it = params_.find(key); it != params_.end()) return it->second;
  for (const std::string& used : toPositional(SQL).names) {
    if (upper(used) == key) return params_[key];
  }
  throw QueryError("Parâmetro '" + std::string(name) + "' não encontrado na consulta '" +
                   this->name() + "'.");
}

std::vector<std::string> TADOIBQuery::paramNames() const {
  std::vector<std::string> out;
  for (std::string& n : toPositional(SQL).names) {
    const std::string key = upper(n);
    if (std::none_of(out.begin(), out.end(), [&](const std::string& o) { return upper(o) == key; }))
      out.push_back(std::move(n));
  }
  return out;
}

db::Connection& TADOIBQuery::connection() const {
  return connection_ ? *connection_ : Application::instance().sharedDatabase();
}

void TADOIBQuery::open() {
  if (active()) return;
  db::Connection& conn = connection();
  const std::string& sql = text(queryDialectFor(conn.dialect().engine()));
  if (sql.empty()) throw QueryError("A consulta '" + name() + "' não tem texto.");
  const PositionalStatement statement = toPositional(sql);
  std::vector<data::Value> values;
  values.reserve(statement.names.size());
  for (const std::string& p : statement.names) {
    auto it = params_.find(upper(p));
    if (it == params_.end() || !it->second.assigned()) {
      throw QueryError("Parâmetro '" + p + "' sem valor na consulta '" + name() + "'.");
    }
    values.push_back(it->second.value());
  }

  // Declared fields stay as declared; an undeclared set (or one whose fields came from an
  // earlier result) takes the result's columns.
  const bool declared = fieldCount() > 0 && !adopted_;
  data::Packet packet;
  std::vector<int> source;  // result column of each packet field
  if (declared) packet.fields = fieldDefs();

  auto onColumns = [&](const db::Cursor& c) {
    std::vector<std::string> names;
    for (int i = 0; i < c.columnCount(); ++i) names.push_back(upper(c.columnName(i)));
    if (!declared) {
      for (int i = 0; i < c.columnCount(); ++i) {
        packet.fields.push_back({names[i], data::FieldType::Float, 0});
        source.push_back(i);
      }
      return;
    }
    for (const data::FieldDef& f : packet.fields) {
      auto it = std::find(names.begin(), names.end(), upper(f.name));
      if (it == names.end()) {
        throw QueryError("Campo '" + f.name + "' não encontrado no resultado da consulta '" +
                         name() + "'.");
      }
      source.push_back(static_cast<int>(it - names.begin()));
    }
  };
  auto onRow = [&](const db::Cursor& c) {
    data::Row& row = packet.rows.emplace_back();
    row.reserve(source.size());
    for (std::size_t f = 0; f < source.size(); ++f) {
      const int col = source[f];
      if (declared) {
        // A number read into a text field is written the way the screens write numbers,
        // not as the engine prints it ("2", not "2.0").
        const bool numberAsText =
            packet.fields[f].type == data::FieldType::String && !c.isNull(col) && c.isNumber(col);
        row.push_back(numberAsText ? data::Value(data::formatNumber(c.number(col)))
                                   : c.value(col, packet.fields[f].type));
      } else if (c.isNull(col)) {
        row.emplace_back();
      } else if (c.isNumber(col)) {
        row.emplace_back(c.number(col));
      } else {
        row.emplace_back(std::string(c.text(col)));
        packet.fields[f].type = data::FieldType::String;
      }
    }
  };
  conn.stream(statement.sql, values, onColumns, onRow);

  if (!declared) {
    // A column is a number only when every value in it is one; an all-null column is text.
    for (std::size_t f = 0; f < packet.fields.size(); ++f) {
      data::FieldDef& def = packet.fields[f];
      const bool anyValue = std::any_of(packet.rows.begin(), packet.rows.end(),
                                        [&](const data::Row& r) { return !data::isNull(r[f]); });
      if (!anyValue) def.type = data::FieldType::String;
      if (def.type != data::FieldType::String) continue;
      for (data::Row& r : packet.rows) {
        if (const auto* d = std::get_if<double>(&r[f])) r[f] = data::formatNumber(*d);
      }
    }
    adopted_ = true;
  }
  setData(std::move(packet));
}

}  // namespace qbk::host
