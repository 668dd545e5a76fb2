#include "host/report/report_definition.h"

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <utility>

namespace qbk::host::report {

namespace {

using Json = rapidjson::Value;

struct PaperSize {
  const char* name;
  double width, height;
};
constexpr std::array<PaperSize, 3> kPapers{
    {{"A4", 210, 297}, {"Letter", 215.9, 279.4}, {"Legal", 215.9, 355.6}}};

const PaperSize& paper(const std::string& name) {
  for (const PaperSize& p : kPapers)
    if (name == p.name) return p;
  throw ReportError("Tamanho de página desconhecido: '" + name + "'.");
}

template <class E>
struct Names {
  std::initializer_list<std::pair<E, const char*>> list;
  E parse(const std::string& text, const char* what) const {
    for (const auto& [value, name] : list)
      if (text == name) return value;
    throw ReportError("Valor desconhecido em '" + std::string(what) + "': '" + text + "'.");
  }
  const char* name(E value) const {
    for (const auto& [v, name] : list)
      if (v == value) return name;
    return "";
  }
};

const Names<Align> kAligns{
    {{Align::Left, "left"}, {Align::Center, "center"}, {Align::Right, "right"}}};
const Names<Orientation> kOrientations{
    {{Orientation::Portrait, "portrait"}, {Orientation::Landscape, "landscape"}}};
const Names<ParamType> kParamTypes{
    {{ParamType::Text, "text"}, {ParamType::Number, "number"}, {ParamType::List, "list"}}};
const Names<BandItemKind> kItems{{{BandItemKind::Title, "title"},
                                  {BandItemKind::PageNumber, "pageNumber"},
                                  {BandItemKind::PrintedAt, "printedAt"},
                                  {BandItemKind::Text, "text"}}};
const Names<TotalFunction> kFunctions{
    {{TotalFunction::Count, "count"}, {TotalFunction::Sum, "sum"}}};

// Reads one object, refusing keys nobody asked for: a misspelt key would otherwise be a
// setting silently ignored.
class Reader {
 public:
  Reader(const Json& value, std::string where) : v_(value), where_(std::move(where)) {
    if (!v_.IsObject()) throw ReportError("'" + where_ + "' deve ser um objeto.");
  }
  ~Reader() noexcept(false) {
    if (std::uncaught_exceptions() > 0) return;
    for (auto it = v_.MemberBegin(); it != v_.MemberEnd(); ++it) {
      const std::string key = it->name.GetString();
      if (std::find(seen_.begin(), seen_.end(), key) == seen_.end()) {
        throw ReportError("Chave desconhecida em '" + where_ + "': '" + key + "'.");
      }
    }
  }
  const Json* get(const char* key) {
    seen_.emplace_back(key);
    auto it = v_.FindMember(key);
    return it == v_.MemberEnd() ? nullptr : &it->value;
  }
  std::string text(const char* key, std::string fallback = {}) {
    const Json* j = get(key);
    if (!j) return fallback;
    if (!j->IsString()) throw wrong(key, "um texto");
    return {j->GetString(), j->GetStringLength()};
  }
  std::string requiredText(const char* key) {
    if (!v_.HasMember(key)) throw ReportError("'" + where_ + "' sem '" + key + "'.");
    return text(key);
  }
  double number(const char* key, double fallback) {
    const Json* j = get(key);
    if (!j) return fallback;
    if (!j->IsNumber()) throw wrong(key, "um número");
    return j->GetDouble();
  }
  const Json* array(const char* key) {
    const Json* j = get(key);
    if (j && !j->IsArray()) throw wrong(key, "uma lista");
    return j;
  }
  const std::string& where() const { return where_; }

 private:
  ReportError wrong(const char* key, const char* kind) const {
    return ReportError("'" + where_ + "." + key + "' deve ser " + kind + ".");
  }
  const Json& v_;
  std::string where_;
  std::vector<std::string> seen_;
};

std::vector<BandItem> readBand(Reader& r, const char* key) {
  std::vector<BandItem> out;
  const Json* items = r.array(key);
  if (!items) return out;
  for (const Json& j : items->GetArray()) {
    Reader item(j, key);
    BandItem b;
    b.kind = kItems.parse(item.requiredText("item"), "item");
    b.align = kAligns.parse(item.text("align", "left"), "align");
    b.text = item.text("text");
    out.push_back(std::move(b));
  }
  return out;
}

using Writer = rapidjson::PrettyWriter<rapidjson::StringBuffer>;

void put(Writer& w, const char* key, const std::string& value) {
  w.Key(key);
  w.String(value.data(), static_cast<rapidjson::SizeType>(value.size()));
}
void put(Writer& w, const char* key, double value) {
  w.Key(key);
  if (value == static_cast<double>(static_cast<long long>(value))) {
    w.Int64(static_cast<long long>(value));
  } else {
    w.Double(value);
  }
}

void writeBand(Writer& w, const char* key, const std::vector<BandItem>& band) {
  w.Key(key);
  w.StartArray();
  for (const BandItem& b : band) {
    w.StartObject();
    put(w, "item", kItems.name(b.kind));
    put(w, "align", kAligns.name(b.align));
    if (b.kind == BandItemKind::Text) put(w, "text", b.text);
    w.EndObject();
  }
  w.EndArray();
}

}  // namespace

bool sameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::toupper(static_cast<unsigned char>(x)) ==
           std::toupper(static_cast<unsigned char>(y));
  });
}

double PageSetup::width() const {
  const PaperSize& p = paper(size);
  return orientation == Orientation::Portrait ? p.width : p.height;
}
double PageSetup::height() const {
  const PaperSize& p = paper(size);
  return orientation == Orientation::Portrait ? p.height : p.width;
}

const ReportParamDef* ReportDefinition::param(std::string_view name) const {
  for (const ReportParamDef& p : params)
    if (sameName(p.name, name)) return &p;
  return nullptr;
}

const ReportColumn* ReportDefinition::column(std::string_view field) const {
  for (const ReportColumn& c : columns)
    if (sameName(c.field, field)) return &c;
  return nullptr;
}

ReportDefinition parseReportDefinition(std::string_view json) {
  rapidjson::Document doc;
  doc.Parse<rapidjson::kParseFullPrecisionFlag>(json.data(), json.size());
  if (doc.HasParseError()) {
    throw ReportError(std::string("Definição de relatório inválida (posição ") +
                      std::to_string(doc.GetErrorOffset()) +
                      "): " + rapidjson::GetParseError_En(doc.GetParseError()));
  }
  ReportDefinition d;
  Reader r(doc, "relatório");
  if (r.text("format", "qbk-report") != "qbk-report") {
    throw ReportError("O arquivo não é uma definição de relatório.");
  }
  if (r.number("version", 1) != 1) throw ReportError("Versão de definição não suportada.");
  d.code = r.text("code");
  d.title = r.text("title");
  d.fontSize = r.number("fontSize", d.fontSize);
  if (d.fontSize < 4 || d.fontSize > 36) throw ReportError("'fontSize' fora de 4 a 36.");
  if (const Json* page = r.get("page")) {
    Reader p(*page, "page");
    d.page.size = p.text("size", d.page.size);
    paper(d.page.size);
    d.page.orientation = kOrientations.parse(p.text("orientation", "portrait"), "orientation");
    if (const Json* margins = p.get("margins")) {
      Reader m(*margins, "page.margins");
      d.page.marginLeft = m.number("left", d.page.marginLeft);
      d.page.marginTop = m.number("top", d.page.marginTop);
      d.page.marginRight = m.number("right", d.page.marginRight);
      d.page.marginBottom = m.number("bottom", d.page.marginBottom);
    }
  }
  {
    const Json* query = r.get("query");
    if (!query) throw ReportError("A definição não tem 'query'.");
    Reader q(*query, "query");
    d.sql = q.requiredText("sql");
    if (const Json* params = q.array("params")) {
      for (const Json& j : params->GetArray()) {
        Reader p(j, "query.params");
        ReportParamDef def;
        def.name = p.requiredText("name");
        def.type = kParamTypes.parse(p.text("type", "text"), "type");
        if (d.param(def.name)) throw ReportError("Parâmetro declarado duas vezes: " + def.name);
        d.params.push_back(std::move(def));
      }
    }
  }
  if (const Json* columns = r.array("columns")) {
    for (const Json& j : columns->GetArray()) {
      Reader c(j, "columns");
      ReportColumn col;
      col.field = c.requiredText("field");
      col.caption = c.text("caption", col.field);
      col.width = c.number("width", col.width);
      if (col.width <= 0) throw ReportError("Largura de coluna inválida: " + col.field);
      col.align = kAligns.parse(c.text("align", "left"), "align");
      col.format = c.text("format");
      d.columns.push_back(std::move(col));
    }
  }
  if (d.columns.empty()) throw ReportError("A definição não tem colunas.");
  d.header = readBand(r, "header");
  d.footer = readBand(r, "footer");
  if (const Json* group = r.get("group")) {
    Reader g(*group, "group");
    d.groupField = g.requiredText("field");
    d.groupCaption = g.text("caption");
  }
  if (const Json* totals = r.array("totals")) {
    for (const Json& j : totals->GetArray()) {
      Reader t(j, "totals");
      ReportTotal total;
      total.field = t.requiredText("field");
      total.function = kFunctions.parse(t.text("function", "count"), "function");
      total.caption = t.text("caption");
      d.totals.push_back(std::move(total));
    }
  }
  return d;
}

std::string writeReportDefinition(const ReportDefinition& d) {
  rapidjson::StringBuffer buffer;
  Writer w(buffer);
  w.SetIndent(' ', 2);
  w.StartObject();
  put(w, "format", std::string("qbk-report"));
  put(w, "version", 1.0);
  put(w, "code", d.code);
  put(w, "title", d.title);
  put(w, "fontSize", d.fontSize);
  w.Key("page");
  w.StartObject();
  put(w, "size", d.page.size);
  put(w, "orientation", kOrientations.name(d.page.orientation));
  w.Key("margins");
  w.StartObject();
  put(w, "left", d.page.marginLeft);
  put(w, "top", d.page.marginTop);
  put(w, "right", d.page.marginRight);
  put(w, "bottom", d.page.marginBottom);
  w.EndObject();
  w.EndObject();
  w.Key("query");
  w.StartObject();
  put(w, "sql", d.sql);
  w.Key("params");
  w.StartArray();
  for (const ReportParamDef& p : d.params) {
    w.StartObject();
    put(w, "name", p.name);
    put(w, "type", kParamTypes.name(p.type));
    w.EndObject();
  }
  w.EndArray();
  w.EndObject();
  w.Key("columns");
  w.StartArray();
  for (const ReportColumn& c : d.columns) {
    w.StartObject();
    put(w, "caption", c.caption);
    put(w, "field", c.field);
    put(w, "width", c.width);
    put(w, "align", kAligns.name(c.align));
    if (!c.format.empty()) put(w, "format", c.format);
    w.EndObject();
  }
  w.EndArray();
  writeBand(w, "header", d.header);
  writeBand(w, "footer", d.footer);
  if (!d.groupField.empty()) {
    w.Key("group");
    w.StartObject();
    put(w, "field", d.groupField);
    put(w, "caption", d.groupCaption);
    w.EndObject();
  }
  w.Key("totals");
  w.StartArray();
  for (const ReportTotal& t : d.totals) {
    w.StartObject();
    put(w, "field", t.field);
    put(w, "function", kFunctions.name(t.function));
    put(w, "caption", t.caption);
    w.EndObject();
  }
  w.EndArray();
  w.EndObject();
  return std::string(buffer.GetString(), buffer.GetSize()) + "\n";
}

ReportDefinition loadReportDefinition(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw ReportError("Não foi possível ler o relatório '" + file.string() + "'.");
  std::ostringstream text;
  text << in.rdbuf();
  try {
    return parseReportDefinition(text.str());
  } catch (const ReportError& e) {
    throw ReportError(file.filename().string() + ": " + e.what());
  }
}

void saveReportDefinition(const ReportDefinition& definition, const std::filesystem::path& file) {
  const std::string text = writeReportDefinition(definition);
  // Written beside and renamed over, so a failed write never leaves half a definition.
  std::filesystem::path temp = file;
  temp += ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
      std::error_code ec;
      std::filesystem::remove(temp, ec);
      throw ReportError("Não foi possível gravar o relatório '" + file.string() + "'.");
    }
  }
  std::error_code ec;
  std::filesystem::rename(temp, file, ec);
  if (ec) {
    std::filesystem::remove(temp, ec);
    throw ReportError("Não foi possível gravar o relatório '" + file.string() + "'.");
  }
}

std::filesystem::path findReportDefinition(const std::filesystem::path& dir,
                                           std::string_view code) {
  if (dir.empty() || code.empty()) return {};
  for (const char* ext : {".qr2", ".QR2"}) {
    std::filesystem::path candidate = dir / (std::string(code) + ext);
    std::error_code ec;
    if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
  }
  return {};
}

}  // namespace qbk::host::report
