// The values that cross the server link: method arguments and results.
#pragma once

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "packet.h"

namespace qbk::data {

class Variant;
using VariantArray = std::vector<Variant>;

// null | bool | number | text | packet | delta | array. Packets and deltas are held by
// shared pointer so that copying a result never copies its rows.
class Variant {
 public:
  using Storage =
      std::variant<std::monostate, bool, double, std::string, std::shared_ptr<const Packet>,
                   std::shared_ptr<const Delta>, VariantArray>;

  Variant() = default;
  Variant(bool b) : v_(b) {}
  Variant(double d) : v_(d) {}
  Variant(int i) : v_(static_cast<double>(i)) {}
  Variant(std::string s) : v_(std::move(s)) {}
  Variant(const char* s) : v_(std::string(s)) {}
  // The packet object itself is not const, so a sole owner may take its rows (takePacket).
  Variant(Packet p) : v_(std::shared_ptr<const Packet>(std::make_shared<Packet>(std::move(p)))) {}
  Variant(Delta d) : v_(std::make_shared<const Delta>(std::move(d))) {}
  Variant(std::shared_ptr<const Packet> p) : v_(std::move(p)) {}
  Variant(VariantArray a) : v_(std::move(a)) {}

  bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
  bool isBool() const { return std::holds_alternative<bool>(v_); }
  bool isNumber() const { return std::holds_alternative<double>(v_); }
  bool isString() const { return std::holds_alternative<std::string>(v_); }
  bool isPacket() const { return std::holds_alternative<std::shared_ptr<const Packet>>(v_); }
  bool isDelta() const { return std::holds_alternative<std::shared_ptr<const Delta>>(v_); }
  bool isArray() const { return std::holds_alternative<VariantArray>(v_); }

  // Accessors throw std::runtime_error (Portuguese text) on a kind mismatch.
  bool asBool() const;
  double asNumber() const;
  const std::string& asString() const;
  const Packet& asPacket() const;
  // The packet's rows, moved out when this value is their only owner (a fresh server
  // answer), copied otherwise. The value should not be used afterwards.
  Packet takePacket() &&;
  std::shared_ptr<const Packet> packetPtr() const;
  const Delta& asDelta() const;
  const VariantArray& asArray() const;

  const Storage& storage() const { return v_; }
  bool operator==(const Variant& o) const;

 private:
  Storage v_;
};

}  // namespace qbk::data
