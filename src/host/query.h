// The direct read-only query of the screens: a record set filled by one fixed statement run
// on the host's shared database connection, with named parameters.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "data/errors.h"
#include "data/record_set.h"
#include "data/value.h"

namespace qbk::db {
class Connection;
enum class Engine;
}  // namespace qbk::db

namespace qbk::host {

// A query that cannot run as written: no text, an unknown or unset parameter, a declared
// field the result lacks.
class QueryError : public Error {
 public:
  using Error::Error;
};

// The statement dialects a query carries. Only the default one runs on the engines we
// connect to; the others are kept with the query as it was written.
enum class QueryDialect { Default, Oracle, InterBase };
QueryDialect queryDialectFor(db::Engine engine);

// A statement with its named parameters (":P_CDBANCO", ":CDTPBAIXAPAG") turned into
// positional "?" outside quoted texts, quoted names and comments. `names` lists the
// parameter of each "?" in order, so a name used twice appears twice. "::" (a cast) is no
// parameter. A bare "?" in the text is refused: values only arrive by name.
struct PositionalStatement {
  std::string sql;
  std::vector<std::string> names;
};
PositionalStatement toPositional(std::string_view sql);

class QueryParam {
 public:
  QueryParam& operator=(std::string text);
  QueryParam& operator=(const char* text) { return *this = std::string(text); }
  QueryParam& operator=(double number);
  QueryParam& operator=(int number) { return *this = static_cast<double>(number); }
  void setValue(data::Value v);
  void clear();  // null, which is a value too

  const data::Value& value() const { return value_; }
  bool assigned() const { return assigned_; }
  std::string asString() const;

 private:
  data::Value value_;
  bool assigned_ = false;
};

class TADOIBQuery : public data::RecordSet {
 public:
  // The query is read-only: inserting, editing or deleting its records is refused.
  explicit TADOIBQuery(std::string name = {});
  ~TADOIBQuery();
  TADOIBQuery(const TADOIBQuery&) = delete;
  TADOIBQuery& operator=(const TADOIBQuery&) = delete;

  // The query a record set is, if it is one (record sets carry no type information, so
  // the queries alive are kept track of).
  static TADOIBQuery* of(data::RecordSet& set);

  // The statement texts; a change takes effect at the next open().
  std::string SQL;
  std::string SQL_ORACLE;
  std::string SQL_IB;
  const std::string& text(QueryDialect dialect) const;

  // A parameter of the default text, by name (letter case aside); a QueryError for a name
  // the text does not use. Values set stay for the next opens.
  QueryParam& paramByName(std::string_view name);
  // The parameter names of the default text, each once, in order of first use.
  std::vector<std::string> paramNames() const;

  // Runs the statement of the connection's dialect with the parameters and loads the
  // result. Fields declared beforehand (addField, with sizes and labels) take the columns
  // of the same name, letter case aside, converted to the declared type; a set without
  // declared fields takes the result's columns, named in upper case (PostgreSQL reports
  // unquoted names in lower case), as numbers when every value is one, else as texts.
  // Already open: nothing happens (close first to run it again). A parameter without a
  // value is a QueryError: a silent null would match nothing and look like "not found".
  void open();
  // (close() and active() are the record set's.)

  // The connection to run on; none set: Application::instance().sharedDatabase().
  void setConnection(db::Connection* connection) { connection_ = connection; }
  db::Connection& connection() const;

 private:
  std::map<std::string, QueryParam, std::less<>> params_;  // by upper-case name
  db::Connection* connection_ = nullptr;
  bool adopted_ = false;  // the fields came from a result, not from addField
};

}  // namespace qbk::host
