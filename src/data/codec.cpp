#include "codec.h"

#include <simdjson.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "json_output.h"
#include "json_text_scan.h"

namespace qbk::data::json {

namespace {

using simdjson::dom::array;
using simdjson::dom::element;
using simdjson::dom::element_type;
using simdjson::dom::object;

// ---- writing ------------------------------------------------------------------------------

std::string fieldContext(std::string_view field) {
  return field.empty() ? std::string() : " no campo '" + std::string(field) + "'";
}

// Writes text that is already JSON (a number, a string's opening quote). The writer places
// the separator and counts the value; the text itself is copied in one piece, where the
// writer's own raw output would go a character at a time.
void writeRaw(JsonWriter& w, std::string_view json, rapidjson::Type type) {
  w.RawValue("", 0, type);
  w.output().append(json);
}

void writeNumber(JsonWriter& w, double d, std::string_view field = {}) {
  // JSON has no spelling for them; writing null instead would silently change the value.
  if (!std::isfinite(d))
    throw DataError("Número inválido (infinito ou indefinido)" + fieldContext(field) + ".");
  // "-0" would read back as the integer 0 and lose its sign; "-0.0" reads back as itself.
  if (d == 0 && std::signbit(d)) return writeRaw(w, "-0.0", rapidjson::kNumberType);
  char buf[32];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, d);  // shortest round-trip form
  writeRaw(w, std::string_view(buf, static_cast<std::size_t>(end - buf)), rapidjson::kNumberType);
}

void writeText(JsonWriter& w, std::string_view s, std::string_view field = {}) {
  const TextScan scan = scanText(s);
  // The reader refuses malformed UTF-8, so it must never be written either. Most texts are
  // plain ASCII, which needs no further look.
  if (scan.nonAscii && !simdjson::validate_utf8(s.data(), s.size()))
    throw DataError("Texto com UTF-8 inválido" + fieldContext(field) + ".");
  if (scan.needsEscape) {
    w.String(s.data(), static_cast<rapidjson::SizeType>(s.size()));
    return;
  }
  // The opening quote goes through the writer, which places the separator before it and
  // counts the value; the rest is copied as it is.
  writeRaw(w, "\"", rapidjson::kStringType);
  w.output().append(s);
  w.output().Put('"');
}

// Member names and fixed words of the format: ASCII known here, so not validated.
void writeWord(JsonWriter& w, std::string_view word) {
  w.String(word.data(), static_cast<rapidjson::SizeType>(word.size()));
}

void writeFields(JsonWriter& w, const std::vector<FieldDef>& fields) {
  writeWord(w, "fields");
  w.StartArray();
  for (const auto& f : fields) {
    w.StartObject();
    writeWord(w, "name");
    writeText(w, f.name);
    writeWord(w, "type");
    writeWord(w, f.type == FieldType::String ? "string" : "float");
    if (f.type == FieldType::String || f.size != 0) {
      writeWord(w, "size");
      w.Int(f.size);
    }
    w.EndObject();
  }
  w.EndArray();
}

// `where` names the row in an error ("linha 3"); built only when something is wrong.
template <typename Where>
void writeRow(JsonWriter& w, const Row& row, const std::vector<FieldDef>& fields, Where where) {
  if (row.size() != fields.size())
    throw DataError("A " + where() + " tem " + std::to_string(row.size()) + " valores, mas há " +
                    std::to_string(fields.size()) + " campos.");
  w.StartArray();
  for (std::size_t i = 0; i < row.size(); ++i) {
    const Value& v = row[i];
    const FieldDef& f = fields[i];
    if (isNull(v)) {
      w.Null();
    } else if (f.type == FieldType::String) {
      const auto* s = std::get_if<std::string>(&v);
      if (!s)
        throw DataError("O valor do campo '" + f.name + "' na " + where() + " não é um texto.");
      writeText(w, *s, f.name);
    } else {
      const auto* d = std::get_if<double>(&v);
      if (!d)
        throw DataError("O valor do campo '" + f.name + "' na " + where() + " não é um número.");
      writeNumber(w, *d, f.name);
    }
  }
  w.EndArray();
}

void writePacket(JsonWriter& w, const Packet& p) {
  w.StartObject();
  writeFields(w, p.fields);
  writeWord(w, "rows");
  w.StartArray();
  for (std::size_t r = 0; r < p.rows.size(); ++r)
    writeRow(w, p.rows[r], p.fields, [r] { return "linha " + std::to_string(r + 1); });
  w.EndArray();
  w.EndObject();
}

const char* opName(Change::Op op) {
  switch (op) {
    case Change::Op::Insert:
      return "insert";
    case Change::Op::Update:
      return "update";
    case Change::Op::Delete:
      return "delete";
  }
  return "";
}

void writeDelta(JsonWriter& w, const Delta& d) {
  w.StartObject();
  writeFields(w, d.fields);
  writeWord(w, "changes");
  w.StartArray();
  for (std::size_t c = 0; c < d.changes.size(); ++c) {
    const Change& ch = d.changes[c];
    auto where = [c](const char* version) {
      return "alteração " + std::to_string(c + 1) + " (\"" + version + "\")";
    };
    w.StartObject();
    writeWord(w, "op");
    writeWord(w, opName(ch.op));
    if (ch.op != Change::Op::Insert) {
      writeWord(w, "old");
      writeRow(w, ch.oldRow, d.fields, [&] { return where("old"); });
    }
    if (ch.op != Change::Op::Delete) {
      writeWord(w, "new");
      writeRow(w, ch.newRow, d.fields, [&] { return where("new"); });
    }
    w.EndObject();
  }
  w.EndArray();
  w.EndObject();
}

void writeVariant(JsonWriter& w, const Variant& v) {
  std::visit(
      [&](const auto& x) {
        using T = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<T, std::monostate>) {
          w.Null();
        } else if constexpr (std::is_same_v<T, bool>) {
          w.Bool(x);
        } else if constexpr (std::is_same_v<T, double>) {
          writeNumber(w, x);
        } else if constexpr (std::is_same_v<T, std::string>) {
          writeText(w, x);
        } else if constexpr (std::is_same_v<T, std::shared_ptr<const Packet>>) {
          writePacket(w, *x);
        } else if constexpr (std::is_same_v<T, std::shared_ptr<const Delta>>) {
          writeDelta(w, *x);
        } else {
          w.StartArray();
          for (const auto& item : x) writeVariant(w, item);
          w.EndArray();
        }
      },
      v.storage());
}

// Opens a JSON-RPC request or response: {"jsonrpc":"2.0","id":...
void startEnvelope(JsonWriter& w, const Variant& id, bool withId = true) {
  if (!id.isNull() && !id.isNumber() && !id.isString())
    throw DataError("Identificador de requisição deve ser número, texto ou nulo.");
  w.StartObject();
  writeWord(w, "jsonrpc");
  writeWord(w, "2.0");
  if (!withId) return;
  writeWord(w, "id");
  writeVariant(w, id);
}

// ---- reading ------------------------------------------------------------------------------

const char* describe(simdjson::error_code e) {
  switch (e) {
    case simdjson::UTF8_ERROR:
      return "o texto não é UTF-8 válido";
    case simdjson::DEPTH_ERROR:
      return "aninhamento profundo demais";
    case simdjson::NUMBER_ERROR:
    case simdjson::NUMBER_OUT_OF_RANGE:
      return "número malformado ou fora do intervalo";
    case simdjson::STRING_ERROR:
      return "texto com sequência de escape inválida";
    case simdjson::UNESCAPED_CHARS:
      return "caractere de controle sem escape em um texto";
    case simdjson::UNCLOSED_STRING:
      return "texto sem aspas de fechamento";
    case simdjson::T_ATOM_ERROR:
    case simdjson::F_ATOM_ERROR:
    case simdjson::N_ATOM_ERROR:
      return "literal inválido (esperado true, false ou null)";
    case simdjson::EMPTY:
      return "documento vazio";
    case simdjson::CAPACITY:
      return "documento grande demais";
    case simdjson::MEMALLOC:
      return "memória insuficiente";
    default:
      return "estrutura malformada";
  }
}

// One parser per thread: its buffers grow to the largest document seen and are reused, so a
// whole-table fetch does not allocate its parse buffers again on every call.
struct ThreadParser {
  simdjson::dom::parser parser;
  ThreadParser() {
    // checkNesting is the real limit; the parser's own limit only needs to stay above it.
    // Should this first allocation fail, the first parse tries again and reports it.
    const auto err = parser.allocate(64 * 1024, kMaxDepth + 8);
    (void)err;
  }
};

element parseDocument(std::string_view text) {
  // An empty view may carry no buffer at all, which the parser must not be given.
  if (text.empty()) throw ProtocolError(rpc_code::kParseError, "JSON inválido: documento vazio.");
  checkNesting(text);
  thread_local ThreadParser tp;
  element root;
  if (auto err = tp.parser.parse(text.data(), text.size()).get(root))
    throw ProtocolError(rpc_code::kParseError,
                        std::string("JSON inválido: ") + describe(err) + ".");
  return root;
}

[[noreturn]] void invalid(const std::string& what, const std::string& detail) {
  throw ProtocolError(rpc_code::kInvalidParams, what + " inválido: " + detail);
}

bool lookup(const object& o, std::string_view key, element& out) {
  return o.at_key(key).get(out) == simdjson::SUCCESS;
}

// A key given twice makes an object mean two things (the parser would silently take the
// first), so such an object is refused. Keys compare after unescaping.
void requireUniqueKeys(const object& o, int code, const std::string& prefix) {
  std::vector<std::string_view> keys;
  keys.reserve(o.size());
  for (auto field : o) keys.push_back(field.key);
  std::sort(keys.begin(), keys.end());
  const auto twice = std::adjacent_find(keys.begin(), keys.end());
  if (twice != keys.end())
    throw ProtocolError(code,
                        prefix + "a chave \"" + std::string(*twice) + "\" aparece duas vezes.");
}

void requireUniqueKeys(const object& o, const std::string& what) {
  requireUniqueKeys(o, rpc_code::kInvalidParams, what + " inválido: ");
}

std::vector<FieldDef> readFields(const object& o, const std::string& what) {
  element e;
  array list;
  if (!lookup(o, "fields", e) || e.get_array().get(list))
    invalid(what, "falta a lista \"fields\".");
  std::vector<FieldDef> fields;
  for (element fe : list) {
    const std::string pos = "o campo " + std::to_string(fields.size() + 1);
    object fo;
    if (fe.get_object().get(fo)) invalid(what, pos + " não é um objeto.");
    requireUniqueKeys(fo, what);
    FieldDef f;
    std::string_view text;
    if (!lookup(fo, "name", e) || e.get_string().get(text) || text.empty())
      invalid(what, pos + " não traz \"name\" (texto não vazio).");
    f.name = std::string(text);
    if (!lookup(fo, "type", e) || e.get_string().get(text))
      invalid(what, "o campo '" + f.name + "' não traz \"type\".");
    if (text == "string")
      f.type = FieldType::String;
    else if (text == "float")
      f.type = FieldType::Float;
    else
      invalid(what, "o campo '" + f.name + "' tem o tipo '" + std::string(text) +
                        "' desconhecido (use string ou float).");
    if (lookup(fo, "size", e)) {
      int64_t size = -1;
      if (e.get_int64().get(size) || size < 0 || size > std::numeric_limits<int>::max())
        invalid(what, "o campo '" + f.name + "' tem \"size\" que não é um inteiro não negativo.");
      f.size = static_cast<int>(size);
    }
    for (const auto& other : fields)
      if (other.name == f.name) invalid(what, "o campo '" + f.name + "' aparece duas vezes.");
    fields.push_back(std::move(f));
  }
  return fields;
}

template <typename Where>
Row readRow(element e, const std::vector<FieldDef>& fields, const std::string& what, Where where) {
  array cells;
  if (e.get_array().get(cells)) invalid(what, "a " + where() + " não é uma lista.");
  Row row;
  row.reserve(fields.size());
  for (element cell : cells) {
    if (row.size() == fields.size()) break;  // reported below with the real count
    const FieldDef& f = fields[row.size()];
    const element_type t = cell.type();
    if (t == element_type::NULL_VALUE) {
      row.emplace_back();
    } else if (f.type == FieldType::String) {
      std::string_view s;
      if (cell.get_string().get(s))
        invalid(what,
                "o valor do campo '" + f.name + "' na " + where() + " deve ser texto ou nulo.");
      row.emplace_back(std::string(s));
    } else {
      double d;
      if (cell.get_double().get(d))
        invalid(what,
                "o valor do campo '" + f.name + "' na " + where() + " deve ser número ou nulo.");
      row.emplace_back(d);
    }
  }
  const std::size_t count = cells.size();
  if (count != fields.size())
    invalid(what, "a " + where() + " tem " + std::to_string(count) + " valores, mas há " +
                      std::to_string(fields.size()) + " campos.");
  return row;
}

Packet readPacket(const object& o) {
  const std::string what = "Pacote";
  requireUniqueKeys(o, what);
  Packet p;
  p.fields = readFields(o, what);
  element e;
  array rows;
  if (!lookup(o, "rows", e) || e.get_array().get(rows)) invalid(what, "falta a lista \"rows\".");
  p.rows.reserve(rows.size());
  for (element re : rows) {
    const std::size_t n = p.rows.size() + 1;
    p.rows.push_back(readRow(re, p.fields, what, [n] { return "linha " + std::to_string(n); }));
  }
  return p;
}

Delta readDelta(const object& o) {
  const std::string what = "Pacote de alterações";
  requireUniqueKeys(o, what);
  Delta d;
  d.fields = readFields(o, what);
  element e;
  array changes;
  if (!lookup(o, "changes", e) || e.get_array().get(changes))
    invalid(what, "falta a lista \"changes\".");
  d.changes.reserve(changes.size());
  for (element ce : changes) {
    const std::string pos = "a alteração " + std::to_string(d.changes.size() + 1);
    object co;
    if (ce.get_object().get(co)) invalid(what, pos + " não é um objeto.");
    requireUniqueKeys(co, what);
    std::string_view op;
    if (!lookup(co, "op", e) || e.get_string().get(op)) invalid(what, pos + " não traz \"op\".");
    Change ch;
    if (op == "insert")
      ch.op = Change::Op::Insert;
    else if (op == "update")
      ch.op = Change::Op::Update;
    else if (op == "delete")
      ch.op = Change::Op::Delete;
    else
      invalid(what, pos + " tem a operação '" + std::string(op) +
                        "' desconhecida (use insert, update ou delete).");
    auto version = [&](const char* key, Row& target) {
      if (!lookup(co, key, e))
        invalid(what, pos + " (" + std::string(op) + ") não traz \"" + key + "\".");
      target = readRow(e, d.fields, what, [&] { return pos.substr(2) + " (\"" + key + "\")"; });
    };
    if (ch.op != Change::Op::Insert) version("old", ch.oldRow);
    if (ch.op != Change::Op::Delete) version("new", ch.newRow);
    d.changes.push_back(std::move(ch));
  }
  return d;
}

Variant readVariant(element e) {
  switch (e.type()) {
    case element_type::NULL_VALUE:
      return {};
    case element_type::BOOL:
      return Variant(e.get_bool().value_unsafe());
    case element_type::INT64:
    case element_type::UINT64:
    case element_type::DOUBLE:
      return Variant(e.get_double().value_unsafe());
    case element_type::STRING:
      return Variant(std::string(e.get_string().value_unsafe()));
    case element_type::ARRAY: {
      array a = e.get_array().value_unsafe();
      VariantArray items;
      items.reserve(a.size());
      for (element item : a) items.push_back(readVariant(item));
      return Variant(std::move(items));
    }
    case element_type::OBJECT: {
      object o = e.get_object().value_unsafe();
      element probe;
      if (lookup(o, "rows", probe)) return Variant(readPacket(o));
      if (lookup(o, "changes", probe)) return Variant(readDelta(o));
      throw ProtocolError(rpc_code::kInvalidParams,
                          "Valor inválido: objeto que não é pacote (\"rows\") nem pacote de "
                          "alterações (\"changes\").");
    }
  }
  return {};
}

object rootObject(element root, int code, const std::string& prefix) {
  object o;
  if (root.get_object().get(o)) throw ProtocolError(code, prefix + "esperado um objeto JSON-RPC.");
  requireUniqueKeys(o, code, prefix);
  element e;
  std::string_view version;
  if (!lookup(o, "jsonrpc", e) || e.get_string().get(version) || version != "2.0")
    throw ProtocolError(code, prefix + "\"jsonrpc\" deve ser \"2.0\".");
  return o;
}

// An absent id reads as null (the caller tells a notification by `lookup`).
bool readId(const object& o, Variant& id) {
  element e;
  if (!lookup(o, "id", e)) return true;
  const element_type t = e.type();
  if (t != element_type::NULL_VALUE && t != element_type::STRING && t != element_type::INT64 &&
      t != element_type::UINT64 && t != element_type::DOUBLE)
    return false;
  id = readVariant(e);
  return true;
}

RpcRequest readRequest(element root) {
  const std::string prefix = "Requisição inválida: ";
  const object o = rootObject(root, rpc_code::kInvalidRequest, prefix);
  RpcRequest r;
  element e;
  r.notification = !lookup(o, "id", e);
  if (!readId(o, r.id))
    throw ProtocolError(rpc_code::kInvalidRequest,
                        prefix + "\"id\" deve ser número, texto ou nulo.");
  std::string_view method;
  if (!lookup(o, "method", e) || e.get_string().get(method))
    throw ProtocolError(rpc_code::kInvalidRequest, prefix + "\"method\" deve ser um texto.");
  r.method = std::string(method);
  if (lookup(o, "params", e)) {
    if (e.type() == element_type::OBJECT)
      throw ProtocolError(rpc_code::kInvalidParams,
                          "Parâmetros inválidos: parâmetros por nome não são aceitos; \"params\" "
                          "deve ser uma lista, na ordem do método.");
    array params;
    if (e.get_array().get(params))
      throw ProtocolError(rpc_code::kInvalidRequest, prefix + "\"params\" deve ser uma lista.");
    r.params.reserve(params.size());
    for (element p : params) r.params.push_back(readVariant(p));
  }
  return r;
}

// A refused element keeps what can still be told of it: its id and, when only its
// parameters were wrong, its method and whether it was a notification (no id), which gets
// no answer even when it fails.
RpcCall readCall(element item) {
  RpcCall call;
  try {
    call.request = readRequest(item);
  } catch (const ProtocolError& e) {
    call.errorCode = e.code();
    call.errorMessage = e.what();
    object o;
    element probe;
    if (!item.get_object().get(o)) {
      Variant id;
      if (readId(o, id)) call.request.id = std::move(id);
      std::string_view method;
      const bool named = lookup(o, "method", probe) && !probe.get_string().get(method);
      if (named && e.code() == rpc_code::kInvalidParams) {
        call.request.method = std::string(method);
        call.request.notification = !lookup(o, "id", probe);
      }
    }
  }
  return call;
}

}  // namespace

void checkNesting(std::string_view text, int maxDepth) {
  const char* p = text.data();
  const char* const end = p + text.size();
  int depth = 0;
  while (p < end) {
    switch (*p++) {
      case '"':
        // Skip the string: find the next quote that is not escaped by an odd run of
        // backslashes. An unterminated string is left for the parser to report.
        for (;;) {
          const auto* quote = static_cast<const char*>(std::memchr(p, '"', end - p));
          if (!quote) return;
          const char* run = quote;
          while (run > p && run[-1] == '\\') --run;
          p = quote + 1;
          if ((quote - run) % 2 == 0) break;
        }
        break;
      case '[':
      case '{':
        if (++depth > maxDepth)
          throw ProtocolError(rpc_code::kParseError, "JSON inválido: aninhamento acima de " +
                                                         std::to_string(maxDepth) + " níveis.");
        break;
      case ']':
      case '}':
        if (depth > 0) --depth;
        break;
      default:
        break;
    }
  }
}

void appendVariant(std::string& out, const Variant& v) {
  StringOutput os(out);
  JsonWriter w(os);
  writeVariant(w, v);
  os.commit();
}

struct PacketStream::Impl {
  explicit Impl(std::string& out) : os(out), w(os) {}
  StringOutput os;
  JsonWriter w;
  std::vector<FieldDef> fields;  // a copy: callers may pass a temporary
  std::size_t cell = 0;
};

PacketStream::PacketStream(std::string& out, const std::vector<FieldDef>& fields)
    : impl_(std::make_unique<Impl>(out)) {
  impl_->fields = fields;
  impl_->w.StartObject();
  writeFields(impl_->w, fields);
  writeWord(impl_->w, "rows");
  impl_->w.StartArray();
}

PacketStream::~PacketStream() = default;

void PacketStream::beginRow() {
  impl_->cell = 0;
  impl_->w.StartArray();
}

void PacketStream::null() {
  ++impl_->cell;
  impl_->w.Null();
}

void PacketStream::text(std::string_view s) {
  const auto& f = impl_->fields.at(impl_->cell++);
  writeText(impl_->w, s, f.name);
}

void PacketStream::number(double d) {
  const auto& f = impl_->fields.at(impl_->cell++);
  writeNumber(impl_->w, d, f.name);
}

void PacketStream::endRow() {
  if (impl_->cell != impl_->fields.size())
    throw DataError("Linha com " + std::to_string(impl_->cell) + " valores, mas há " +
                    std::to_string(impl_->fields.size()) + " campos.");
  impl_->w.EndArray();
}

void PacketStream::finish() {
  impl_->w.EndArray();
  impl_->w.EndObject();
  impl_->os.release();
}

void appendPacket(std::string& out, const Packet& p) {
  StringOutput os(out);
  JsonWriter w(os);
  writePacket(w, p);
  os.commit();
}

void appendDelta(std::string& out, const Delta& d) {
  StringOutput os(out);
  JsonWriter w(os);
  writeDelta(w, d);
  os.commit();
}

Variant parseVariant(std::string_view text) {
  return readVariant(parseDocument(text));
}

Packet parsePacket(std::string_view text) {
  object o;
  if (parseDocument(text).get_object().get(o))
    invalid("Pacote", "esperado um objeto com \"fields\" e \"rows\".");
  return readPacket(o);
}

Delta parseDelta(std::string_view text) {
  object o;
  if (parseDocument(text).get_object().get(o))
    invalid("Pacote de alterações", "esperado um objeto com \"fields\" e \"changes\".");
  return readDelta(o);
}

void appendRequest(std::string& out, const RpcRequest& r) {
  StringOutput os(out);
  JsonWriter w(os);
  startEnvelope(w, r.id, !r.notification);
  writeWord(w, "method");
  writeText(w, r.method);
  writeWord(w, "params");
  w.StartArray();
  for (const auto& p : r.params) writeVariant(w, p);
  w.EndArray();
  w.EndObject();
  os.commit();
}

std::string encodeRequest(const RpcRequest& r) {
  std::string out;
  appendRequest(out, r);
  return out;
}

RpcRequest decodeRequest(std::string_view text) {
  return readRequest(parseDocument(text));
}

RpcCalls decodeCalls(std::string_view text) {
  const element root = parseDocument(text);
  RpcCalls calls;
  array items;
  if (root.get_array().get(items)) {
    calls.calls.push_back(readCall(root));
    return calls;
  }
  if (items.size() == 0)
    throw ProtocolError(rpc_code::kInvalidRequest, "Requisição inválida: lote vazio.");
  calls.batch = true;
  calls.calls.reserve(items.size());
  for (element item : items) calls.calls.push_back(readCall(item));
  return calls;
}

Variant peekRequestId(std::string_view text) noexcept {
  try {
    element root = parseDocument(text);
    object o;
    if (root.get_object().get(o)) return {};
    Variant id;
    return readId(o, id) ? id : Variant();
  } catch (...) {
    return {};
  }
}

void appendResultHead(std::string& out, const Variant& id) {
  {
    StringOutput os(out);
    JsonWriter w(os);
    startEnvelope(w, id);
    writeWord(w, "result");
    os.commit();
  }
  // The writer puts the colon in front of the value it would write next; the result is
  // written by someone else, so the colon is put here.
  out += ':';
}

void appendResultTail(std::string& out) {
  out += '}';
}

void appendResponse(std::string& out, const RpcResponse& r) {
  const std::size_t start = out.size();
  if (r.ok) {
    try {
      appendResultHead(out, r.id);
      appendVariant(out, r.result);
      appendResultTail(out);
    } catch (...) {
      out.resize(start);
      throw;
    }
    return;
  }
  StringOutput os(out);
  JsonWriter w(os);
  startEnvelope(w, r.id);
  writeWord(w, "error");
  w.StartObject();
  writeWord(w, "code");
  w.Int(r.errorCode);
  writeWord(w, "message");
  writeText(w, r.errorMessage);
  w.EndObject();
  w.EndObject();
  os.commit();
}

std::string encodeResponse(const RpcResponse& r) {
  std::string out;
  appendResponse(out, r);
  return out;
}

RpcResponse decodeResponse(std::string_view text) {
  const std::string prefix = "Resposta inválida do servidor: ";
  const int code = rpc_code::kInvalidRequest;
  const object o = rootObject(parseDocument(text), code, prefix);
  RpcResponse r;
  if (!readId(o, r.id))
    throw ProtocolError(code, prefix + "\"id\" deve ser número, texto ou nulo.");
  element result, error;
  const bool hasResult = lookup(o, "result", result);
  const bool hasError = lookup(o, "error", error);
  if (hasResult == hasError)
    throw ProtocolError(code, prefix + "deve trazer \"result\" ou \"error\", e só um deles.");
  if (hasResult) {
    r.result = readVariant(result);
    return r;
  }
  r.ok = false;
  object eo;
  element e;
  int64_t errorCode;
  std::string_view message;
  if (error.get_object().get(eo) || !lookup(eo, "code", e) || e.get_int64().get(errorCode) ||
      errorCode < std::numeric_limits<int>::min() || errorCode > std::numeric_limits<int>::max() ||
      !lookup(eo, "message", e) || e.get_string().get(message))
    throw ProtocolError(code, prefix + "\"error\" deve ter \"code\" inteiro e \"message\" texto.");
  r.errorCode = static_cast<int>(errorCode);
  r.errorMessage = std::string(message);
  return r;
}

}  // namespace qbk::data::json
