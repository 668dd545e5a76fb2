// The controls a part of a screen works with, declared once with their names and kinds and
// looked up when the screen is built: a misspelled name or a control of another kind fails
// as the screen opens, not when the line that uses it first runs.
//
//   struct Controls : ControlTable {
//     Ctl<forms::DBEdit> dbeCodigo{*this, "dbeCodigo"};
//   } c;
//   ...
//   c.resolve(form);   // when the form exists
//   c.dbeCodigo->setFocus();
#pragma once

#include <string_view>
#include <vector>

#include "forms/form.h"

namespace qbk::module {

class CtlBase;

class ControlTable {
 public:
  ControlTable() = default;
  ControlTable(const ControlTable&) = delete;
  ControlTable& operator=(const ControlTable&) = delete;

  // Finds every declared control; forms::FormError naming the first that is missing or of
  // another kind.
  void resolve(const forms::Form& form);

 private:
  friend class CtlBase;
  std::vector<CtlBase*> controls_;
};

class CtlBase {
 public:
  CtlBase(const CtlBase&) = delete;
  CtlBase& operator=(const CtlBase&) = delete;
  std::string_view name() const { return name_; }

 protected:
  CtlBase(ControlTable& table, std::string_view name) : name_(name) {
    table.controls_.push_back(this);
  }
  ~CtlBase() = default;
  // A control used before the screen was built: a programming error, reported by name.
  [[noreturn]] void unresolved() const;

 private:
  friend class ControlTable;
  virtual void resolve(const forms::Form& form) = 0;
  std::string_view name_;
};

template <class T>
class Ctl final : public CtlBase {
 public:
  Ctl(ControlTable& table, std::string_view name) : CtlBase(table, name) {}

  T& operator*() const { return get(); }
  T* operator->() const { return &get(); }
  T& get() const {
    if (!control_) unresolved();
    return *control_;
  }

 private:
  void resolve(const forms::Form& form) override { control_ = &form.find<T>(name()); }
  T* control_ = nullptr;
};

}  // namespace qbk::module
