#include "variant.h"

#include "errors.h"

namespace qbk::data {

namespace {
[[noreturn]] void wrongKind(const char* expected) {
  throw DataError(std::string("Valor recebido do servidor não é ") + expected + ".");
}
}  // namespace

bool Variant::asBool() const {
  if (auto p = std::get_if<bool>(&v_)) return *p;
  wrongKind("um valor lógico");
}

double Variant::asNumber() const {
  if (auto p = std::get_if<double>(&v_)) return *p;
  wrongKind("um número");
}

const std::string& Variant::asString() const {
  if (auto p = std::get_if<std::string>(&v_)) return *p;
  wrongKind("um texto");
}

const Packet& Variant::asPacket() const {
  return *packetPtr();
}

std::shared_ptr<const Packet> Variant::packetPtr() const {
  if (auto p = std::get_if<std::shared_ptr<const Packet>>(&v_)) return *p;
  wrongKind("um pacote de dados");
}

Packet Variant::takePacket() && {
  std::shared_ptr<const Packet> p = packetPtr();
  v_ = std::monostate{};
  // Built by Variant(Packet) from a non-const object; with no other owner nobody can see
  // the rows change.
  if (p.use_count() == 1) return std::move(const_cast<Packet&>(*p));
  return *p;
}

const Delta& Variant::asDelta() const {
  if (auto p = std::get_if<std::shared_ptr<const Delta>>(&v_)) return **p;
  wrongKind("um pacote de alterações");
}

const VariantArray& Variant::asArray() const {
  if (auto p = std::get_if<VariantArray>(&v_)) return *p;
  wrongKind("uma lista");
}

bool Variant::operator==(const Variant& o) const {
  if (v_.index() != o.v_.index()) return false;
  if (isPacket()) return asPacket() == o.asPacket();
  if (isDelta()) return asDelta() == o.asDelta();
  return v_ == o.v_;
}

}  // namespace qbk::data
