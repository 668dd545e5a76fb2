#include "record_set.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "errors.h"

namespace qbk::data {

namespace {

const Value kNull{};

std::string_view trimBlanks(std::string_view s) {
  const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Numbers typed by a person: blanks around are ignored, an optional sign, "," or "." as
// the decimal separator (not both: "1.234,5" is ambiguous and refused). Blank is null.
// Returns false for anything else, infinities and NaN included.
bool parseNumber(std::string_view text, Value& out) {
  std::string_view s = trimBlanks(text);
  if (s.empty()) {
    out = std::monostate{};
    return true;
  }
  if (s.front() == '+') {
    s.remove_prefix(1);
    if (s.empty() || s.front() == '-') return false;
  }
  std::string buf(s);
  const auto comma = buf.find(',');
  if (comma != std::string::npos) {
    if (buf.find(',', comma + 1) != std::string::npos || buf.find('.') != std::string::npos)
      return false;
    buf[comma] = '.';
  }
  double d = 0;
  const char* end = buf.data() + buf.size();
  auto [p, ec] = std::from_chars(buf.data(), end, d, std::chars_format::general);
  if (ec != std::errc{} || p != end || !std::isfinite(d)) return false;
  out = d;
  return true;
}

[[noreturn]] void notANumber(std::string_view text) {
  throw DataError("'" + std::string(text) + "' não é um valor numérico válido.");
}

[[noreturn]] void noField(std::string_view name) {
  throw DataError("Campo '" + std::string(name) + "' não encontrado.");
}

// Whether a stored value equals a value searched for, in the field's own terms.
bool matches(FieldType type, const Value& stored, const Value& wanted) {
  if (isNull(wanted) || isNull(stored)) return isNull(wanted) && isNull(stored);
  if (type == FieldType::Float) {
    Value n = wanted;
    if (const auto* s = std::get_if<std::string>(&wanted)) {
      if (!parseNumber(*s, n) || isNull(n)) return false;
    }
    return std::get<double>(n) == std::get<double>(stored);
  }
  if (const auto* d = std::get_if<double>(&wanted))
    return formatNumber(*d) == std::get<std::string>(stored);
  return std::get<std::string>(wanted) == std::get<std::string>(stored);
}

}  // namespace

// ---- storage ---------------------------------------------------------------------------

// Versions are shared, never copied: a loaded or merged row holds the same version twice.
struct RecordSet::StoredRow {
  std::shared_ptr<const Row> original;  // null: inserted since the last merge
  std::shared_ptr<const Row> current;   // null: deleted since the last merge

  bool deleted() const { return !current; }
  bool inserted() const { return !original; }
  bool changed() const { return original != current; }
};

struct RecordSet::Impl {
  // Store order is display order; deleted rows stay in place, hidden, so that cancelling
  // the updates brings them back where they were.
  std::vector<StoredRow> rows;
  // Store indices of the rows not deleted, in display order.
  std::vector<std::size_t> visible;
  int cur = -1;  // display index of the current record, -1 when there is none

  Row buffer;         // the record being edited or inserted
  int insertAt = -1;  // display index of an unposted insertion

  std::vector<Listener*> listeners;  // null entries: removed while notifying
  int notifying = 0;

  bool adoptedFields = false;  // fields were taken from a packet, not declared

  int count() const { return static_cast<int>(visible.size()); }
  const Row& row(int displayIndex) const { return *rows[visible[displayIndex]].current; }

  void rebuildVisible() {
    visible.clear();
    visible.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
      if (!rows[i].deleted()) visible.push_back(i);
  }
};

// ---- Field -----------------------------------------------------------------------------

const Value& Field::value() const {
  return owner_->cell(index_);
}

bool Field::isNull() const {
  return data::isNull(value());
}

std::string Field::asString() const {
  const Value& v = value();
  if (const auto* s = std::get_if<std::string>(&v)) return *s;
  if (const auto* d = std::get_if<double>(&v)) return formatNumber(*d);
  return {};
}

double Field::asFloat() const {
  const Value& v = value();
  if (const auto* d = std::get_if<double>(&v)) return *d;
  if (const auto* s = std::get_if<std::string>(&v)) {
    Value n;
    if (!parseNumber(*s, n)) notANumber(*s);
    return data::isNull(n) ? 0.0 : std::get<double>(n);
  }
  return 0.0;
}

std::string Field::text() const {
  return onGetText ? onGetText(*this) : asString();
}

void Field::setValue(Value v) {
  owner_->writeField(*this, std::move(v));
}
void Field::setString(std::string_view s) {
  owner_->writeField(*this, std::string(s));
}
void Field::setFloat(double d) {
  owner_->writeField(*this, d);
}
void Field::clear() {
  owner_->writeField(*this, std::monostate{});
}

void Field::setText(std::string_view s) {
  if (onSetText)
    onSetText(*this, std::string(s));
  else
    setString(s);
}

// ---- RecordSet: fields -----------------------------------------------------------------

RecordSet::RecordSet(std::string name) : name_(std::move(name)), impl_(std::make_unique<Impl>()) {}

RecordSet::~RecordSet() {
  notify([this](Listener& l) { l.dataSetDestroyed(*this); });
}

Field& RecordSet::addField(std::string name, FieldType type, int size) {
  if (active())
    throw DataError("O conjunto de dados '" + name_ +
                    "' está aberto; não é possível incluir campos.");
  if (impl_->adoptedFields) {
    fields_.clear();
    impl_->adoptedFields = false;
  }
  if (findField(name)) throw DataError("Campo '" + name + "' duplicado.");
  const int index = fieldCount();
  fields_.push_back(std::unique_ptr<Field>(new Field(
      this, index, FieldDef{std::move(name), type, type == FieldType::Float ? 0 : size})));
  return *fields_.back();
}

Field* RecordSet::findField(std::string_view name) {
  for (auto& f : fields_)
    if (f->name() == name) return f.get();
  return nullptr;
}

const Field* RecordSet::findField(std::string_view name) const {
  return const_cast<RecordSet*>(this)->findField(name);
}

Field& RecordSet::fieldByName(std::string_view name) {
  if (Field* f = findField(name)) return *f;
  noField(name);
}

const Field& RecordSet::fieldByName(std::string_view name) const {
  return const_cast<RecordSet*>(this)->fieldByName(name);
}

std::vector<FieldDef> RecordSet::fieldDefs() const {
  std::vector<FieldDef> defs;
  defs.reserve(fields_.size());
  for (const auto& f : fields_) defs.push_back(f->def());
  return defs;
}

// ---- RecordSet: content ----------------------------------------------------------------

void RecordSet::setData(const Packet& packet) {
  setData(Packet(packet));
}

void RecordSet::setData(Packet&& packet) {
  // New content never silently replaces what a person typed or what was not sent yet.
  if (editing() || changeCount() > 0) {
    const std::string where = name_.empty() ? std::string() : " em '" + name_ + "'";
    throw DataError("Não é possível carregar novos dados" + where +
                    (editing() ? ": há um registro em edição." : ": há alterações não enviadas."));
  }
  const std::size_t width = packet.fields.size();
  for (const Row& r : packet.rows)
    if (r.size() != width) throw DataError("Pacote de dados inválido.");

  const bool adopt = fields_.empty() || impl_->adoptedFields;
  const std::vector<FieldDef>& defs = packet.fields;

  // Which packet column feeds each field of the set.
  std::vector<std::size_t> source;
  if (adopt) {
    for (std::size_t i = 0; i < width; ++i) source.push_back(i);
  } else {
    for (const auto& f : fields_) {
      const int at = packet.fieldIndex(f->name());
      if (at < 0) throw DataError("Campo '" + f->name() + "' não encontrado no pacote de dados.");
      if (defs[at].type != f->type())
        throw DataError("Campo '" + f->name() + "' de tipo diferente no pacote de dados.");
      source.push_back(static_cast<std::size_t>(at));
    }
  }
  for (const Row& r : packet.rows) {
    for (std::size_t c : source) {
      const Value& v = r[c];
      const bool fits = data::isNull(v) ||
                        (defs[c].type == FieldType::Float ? std::holds_alternative<double>(v)
                                                          : std::holds_alternative<std::string>(v));
      if (!fits) throw DataError("Valor inválido para o campo '" + defs[c].name + "'.");
    }
  }

  // Nothing below refuses the packet: build the new content, then switch to it.
  bool identity = source.size() == width;
  for (std::size_t i = 0; identity && i < source.size(); ++i) identity = source[i] == i;
  std::vector<StoredRow> rows;
  rows.reserve(packet.rows.size());
  for (Row& r : packet.rows) {
    std::shared_ptr<const Row> version;
    if (identity) {
      version = std::make_shared<const Row>(std::move(r));
    } else {
      Row picked;
      picked.reserve(source.size());
      for (std::size_t c : source) picked.push_back(std::move(r[c]));
      version = std::make_shared<const Row>(std::move(picked));
    }
    rows.push_back(StoredRow{version, version});
  }

  Impl& d = *impl_;
  d.buffer.clear();
  d.insertAt = -1;
  modified_ = false;
  if (active()) setState(DataSetState::Inactive);

  if (adopt && fieldDefs() != defs) {
    fields_.clear();
    for (std::size_t i = 0; i < width; ++i)
      fields_.push_back(std::unique_ptr<Field>(new Field(this, static_cast<int>(i), defs[i])));
  }
  d.adoptedFields = adopt;

  d.rows = std::move(rows);
  d.rebuildVisible();
  d.cur = d.visible.empty() ? -1 : 0;
  bof_ = true;
  eof_ = d.visible.empty();
  setState(DataSetState::Browse);
  notify([this](Listener& l) { l.dataChanged(*this); });
  fire(afterScroll);
}

Packet RecordSet::data() const {
  Packet p;
  p.fields = fieldDefs();
  p.rows.reserve(impl_->visible.size());
  for (int i = 0; i < impl_->count(); ++i) p.rows.push_back(impl_->row(i));
  return p;
}

void RecordSet::close() {
  Impl& d = *impl_;
  d.rows.clear();
  d.visible.clear();
  d.cur = -1;
  d.buffer.clear();
  d.insertAt = -1;
  modified_ = false;
  bof_ = eof_ = true;
  setState(DataSetState::Inactive);
}

// ---- RecordSet: change log -------------------------------------------------------------

int RecordSet::changeCount() const {
  return static_cast<int>(std::count_if(impl_->rows.begin(), impl_->rows.end(),
                                        [](const StoredRow& r) { return r.changed(); }));
}

Delta RecordSet::delta() const {
  Delta out;
  out.fields = fieldDefs();
  const auto& rows = impl_->rows;
  for (const auto& r : rows)
    if (r.deleted()) out.changes.push_back({Change::Op::Delete, *r.original, {}});
  for (const auto& r : rows)
    if (!r.deleted() && !r.inserted() && r.changed())
      out.changes.push_back({Change::Op::Update, *r.original, *r.current});
  for (const auto& r : rows)
    if (r.inserted()) out.changes.push_back({Change::Op::Insert, {}, *r.current});
  return out;
}

void RecordSet::mergeChangeLog() {
  Impl& d = *impl_;
  // Deleted rows are hidden, so dropping them leaves every display index where it was.
  std::erase_if(d.rows, [](const StoredRow& r) { return r.deleted(); });
  for (auto& r : d.rows) r.original = r.current;
  d.rebuildVisible();
}

void RecordSet::cancelUpdates() {
  if (!active()) return;
  cancel();
  Impl& d = *impl_;
  const bool hadCurrent = d.cur >= 0;
  const std::size_t oldCur = hadCurrent ? d.visible[d.cur] : 0;

  // The current row's new place: itself when it survives, else the row that followed it.
  std::size_t newCur = 0;
  std::vector<StoredRow> kept;
  kept.reserve(d.rows.size());
  for (std::size_t i = 0; i < d.rows.size(); ++i) {
    if (d.rows[i].inserted()) continue;
    if (i < oldCur) ++newCur;
    kept.push_back(StoredRow{d.rows[i].original, d.rows[i].original});
  }
  d.rows = std::move(kept);
  d.rebuildVisible();
  if (d.visible.empty())
    d.cur = -1;
  else
    d.cur = static_cast<int>(std::min(newCur, d.visible.size() - 1));
  bof_ = eof_ = d.visible.empty();
  notify([this](Listener& l) { l.dataChanged(*this); });
}

// ---- RecordSet: navigation -------------------------------------------------------------

int RecordSet::recNo() const {
  return displayCurrentRow() + 1;
}

int RecordSet::recordCount() const {
  return impl_->count();
}

void RecordSet::scrollTo(int target) {
  if (target == impl_->cur) return;
  fire(beforeScroll);
  impl_->cur = target;
  notify([this](Listener& l) { l.dataChanged(*this); });
  fire(afterScroll);
}

void RecordSet::first() {
  checkBrowseMode();
  if (impl_->count() > 0) scrollTo(0);
  bof_ = true;
  eof_ = impl_->count() == 0;
}

void RecordSet::last() {
  checkBrowseMode();
  if (impl_->count() > 0) scrollTo(impl_->count() - 1);
  eof_ = true;
  bof_ = impl_->count() == 0;
}

void RecordSet::next() {
  moveBy(1);
}
void RecordSet::prior() {
  moveBy(-1);
}

int RecordSet::moveBy(int distance) {
  checkBrowseMode();
  const int n = impl_->count();
  if (n == 0) {
    bof_ = eof_ = true;
    return 0;
  }
  const int from = impl_->cur;
  const int target = static_cast<int>(
      std::clamp(static_cast<long long>(from) + distance, 0LL, static_cast<long long>(n - 1)));
  scrollTo(target);
  const int moved = target - from;
  bof_ = distance < 0 && moved != distance;
  eof_ = distance > 0 && moved != distance;
  return moved;
}

void RecordSet::setRecNo(int recNo) {
  checkBrowseMode();
  const int n = impl_->count();
  if (n == 0) return;
  scrollTo(std::clamp(recNo, 1, n) - 1);
  bof_ = eof_ = false;
}

bool RecordSet::locate(const std::vector<std::string>& fieldNames,
                       const std::vector<Value>& values) {
  if (fieldNames.size() != values.size())
    throw DataError("Número de campos e de valores diferente na busca.");
  std::vector<const Field*> fields;
  for (const auto& name : fieldNames) fields.push_back(&fieldByName(name));
  checkBrowseMode();
  const Impl& d = *impl_;
  for (int i = 0; i < d.count(); ++i) {
    const Row& r = d.row(i);
    bool all = true;
    for (std::size_t k = 0; all && k < fields.size(); ++k)
      all = matches(fields[k]->type(), r[fields[k]->index()], values[k]);
    if (all) {
      scrollTo(i);
      bof_ = eof_ = false;
      return true;
    }
  }
  return false;
}

// ---- RecordSet: editing ----------------------------------------------------------------

void RecordSet::requireActive() const {
  if (!active()) throw DataError("O conjunto de dados '" + name_ + "' não está aberto.");
}

void RecordSet::checkBrowseMode() {
  if (!editing()) return;
  if (modified_)
    post();
  else
    cancel();
}

void RecordSet::insert() {
  beginInsert(false);
}
void RecordSet::append() {
  beginInsert(true);
}

void RecordSet::beginInsert(bool atEnd) {
  requireActive();
  checkBrowseMode();
  fire(beforeInsert);
  fire(beforeScroll);
  Impl& d = *impl_;
  d.buffer.assign(fields_.size(), Value{});
  d.insertAt = atEnd ? d.count() : std::max(d.cur, 0);
  setState(DataSetState::Insert);
  try {
    fire(onNewRecord);
  } catch (...) {
    d.buffer.clear();
    d.insertAt = -1;
    modified_ = false;
    setState(DataSetState::Browse);
    notify([this](Listener& l) { l.dataChanged(*this); });
    throw;
  }
  // Defaults filled by onNewRecord are not a person's change: an untouched new record is
  // dropped, not posted, when the person moves away.
  modified_ = false;
  bof_ = eof_ = false;
  notify([this](Listener& l) { l.dataChanged(*this); });
  fire(afterInsert);
  fire(afterScroll);
}

void RecordSet::edit() {
  if (editing()) return;
  requireActive();
  if (impl_->cur < 0) throw DataError("Não há registro para alterar.");
  fire(beforeEdit);
  impl_->buffer = impl_->row(impl_->cur);
  modified_ = false;
  setState(DataSetState::Edit);
  fire(afterEdit);
}

void RecordSet::updateRecord() {
  if (!editing()) return;
  notify([this](Listener& l) { l.updateData(*this); });
}

void RecordSet::post() {
  if (!editing()) return;
  updateRecord();
  fire(beforePost);
  Impl& d = *impl_;
  if (state_ == DataSetState::Insert) {
    const std::size_t at = static_cast<std::size_t>(d.insertAt);
    const std::size_t storeAt = at < d.visible.size() ? d.visible[at] : d.rows.size();
    d.rows.insert(d.rows.begin() + static_cast<std::ptrdiff_t>(storeAt),
                  StoredRow{nullptr, std::make_shared<const Row>(std::move(d.buffer))});
    if (storeAt + 1 < d.rows.size())
      for (auto& v : d.visible)
        if (v >= storeAt) ++v;
    d.visible.insert(d.visible.begin() + static_cast<std::ptrdiff_t>(at), storeAt);
    d.cur = static_cast<int>(at);
    d.insertAt = -1;
  } else {
    StoredRow& r = d.rows[d.visible[d.cur]];
    // Only a real change creates a version, and typing a row back to what it was makes it
    // unchanged again, so an untouched post leaves nothing to send.
    if (r.original && *r.original == d.buffer)
      r.current = r.original;
    else if (*r.current != d.buffer)
      r.current = std::make_shared<const Row>(std::move(d.buffer));
  }
  d.buffer.clear();
  modified_ = false;
  setState(DataSetState::Browse);
  notify([this](Listener& l) { l.dataChanged(*this); });
  fire(afterPost);
}

void RecordSet::cancel() {
  if (!editing()) return;
  // Dropping an insertion moves back to the record that was current before it.
  const bool wasInsert = state_ == DataSetState::Insert;
  fire(beforeCancel);
  if (wasInsert) fire(beforeScroll);
  impl_->buffer.clear();
  impl_->insertAt = -1;
  modified_ = false;
  setState(DataSetState::Browse);
  notify([this](Listener& l) { l.dataChanged(*this); });
  fire(afterCancel);
  if (wasInsert) fire(afterScroll);
}

void RecordSet::deleteRecord() {
  if (state_ == DataSetState::Insert) {
    cancel();
    return;
  }
  requireActive();
  Impl& d = *impl_;
  if (d.cur < 0) throw DataError("Não há registro para excluir.");
  fire(beforeDelete);
  fire(beforeScroll);
  const std::size_t s = d.visible[d.cur];
  if (d.rows[s].inserted()) {
    // Never sent, so nothing to undo on the server: it leaves no trace in the change log.
    d.rows.erase(d.rows.begin() + static_cast<std::ptrdiff_t>(s));
    d.visible.erase(d.visible.begin() + d.cur);
    for (auto& v : d.visible)
      if (v > s) --v;
  } else {
    d.rows[s].current.reset();
    d.visible.erase(d.visible.begin() + d.cur);
  }
  if (d.cur >= d.count()) d.cur = d.count() - 1;
  d.buffer.clear();
  modified_ = false;
  bof_ = eof_ = d.visible.empty();
  setState(DataSetState::Browse);
  notify([this](Listener& l) { l.dataChanged(*this); });
  fire(afterDelete);
  fire(afterScroll);
}

// ---- RecordSet: field values -----------------------------------------------------------

const Value& RecordSet::cell(int field) const {
  if (peekRow_ >= 0) return displayValue(peekRow_, field);
  const Impl& d = *impl_;
  if (editing()) return d.buffer[field];
  if (d.cur < 0) return kNull;
  return d.row(d.cur)[field];
}

void RecordSet::writeField(Field& f, Value v) {
  if (!editing())
    throw DataError("O conjunto de dados '" + name_ + "' não está em modo de edição ou inclusão.");
  if (f.type() == FieldType::Float) {
    if (auto* s = std::get_if<std::string>(&v)) {
      Value parsed;
      if (!parseNumber(*s, parsed)) notANumber(*s);
      v = std::move(parsed);
    } else if (auto* n = std::get_if<double>(&v); n && !std::isfinite(*n)) {
      throw DataError("Valor numérico inválido para o campo '" + f.name() + "'.");
    }
  } else {
    if (const auto* n = std::get_if<double>(&v)) v = formatNumber(*n);
    if (auto* s = std::get_if<std::string>(&v)) {
      if (!utf8Valid(*s)) throw DataError("Texto inválido para o campo '" + f.name() + "'.");
      if (f.size() > 0) s->resize(utf8Prefix(*s, static_cast<std::size_t>(f.size())).size());
    }
  }
  Value& slot = impl_->buffer[f.index()];
  if (slot == v) return;
  slot = std::move(v);
  modified_ = true;
  notify([this, &f](Listener& l) { l.fieldChanged(*this, f); });
}

// ---- RecordSet: display rows -----------------------------------------------------------

int RecordSet::displayRowCount() const {
  return impl_->count() + (state_ == DataSetState::Insert ? 1 : 0);
}

int RecordSet::displayCurrentRow() const {
  return state_ == DataSetState::Insert ? impl_->insertAt : impl_->cur;
}

std::string RecordSet::displayText(int row, int field) const {
  const Field& f = *fields_.at(static_cast<std::size_t>(field));
  if (row < 0 || row >= displayRowCount()) return {};
  struct Restore {
    const RecordSet& set;
    int saved;
    ~Restore() { set.peekRow_ = saved; }
  } restore{*this, peekRow_};
  peekRow_ = row;
  return f.text();
}

const Value& RecordSet::displayValue(int row, int field) const {
  const Impl& d = *impl_;
  if (row < 0 || row >= displayRowCount() || field < 0 || field >= fieldCount()) return kNull;
  if (state_ == DataSetState::Insert) {
    if (row == d.insertAt) return d.buffer[field];
    if (row > d.insertAt) --row;
  } else if (state_ == DataSetState::Edit && row == d.cur) {
    return d.buffer[field];
  }
  return d.row(row)[field];
}

// ---- RecordSet: events and listeners ---------------------------------------------------

void RecordSet::setState(DataSetState s) {
  if (s == state_) return;
  state_ = s;
  notify([this](Listener& l) { l.stateChanged(*this); });
}

void RecordSet::fire(const Handler& h) {
  if (!h) return;
  // A copy, so that a handler may replace itself while it runs.
  Handler run = h;
  run(*this);
}

template <class F>
void RecordSet::notify(F&& f) {
  Impl& d = *impl_;
  struct Depth {
    Impl& d;
    explicit Depth(Impl& i) : d(i) { ++d.notifying; }
    ~Depth() {
      if (--d.notifying == 0) std::erase(d.listeners, nullptr);
    }
  } depth(d);
  // Listeners added meanwhile hear from the next notification on; removed ones are nulled.
  const std::size_t n = d.listeners.size();
  for (std::size_t i = 0; i < n; ++i)
    if (Listener* l = d.listeners[i]) f(*l);
}

void RecordSet::addListener(Listener* l) {
  auto& ls = impl_->listeners;
  if (l && std::find(ls.begin(), ls.end(), l) == ls.end()) ls.push_back(l);
}

void RecordSet::removeListener(Listener* l) {
  auto& ls = impl_->listeners;
  const auto it = std::find(ls.begin(), ls.end(), l);
  if (it == ls.end()) return;
  if (impl_->notifying > 0)
    *it = nullptr;
  else
    ls.erase(it);
}

}  // namespace qbk::data
