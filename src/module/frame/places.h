// The places of the bank screen and the ways between them.
//
// A place is where a person works on one record set: the bank list, "Dados Principais",
// the companies' CNAB settings, the two return-code tables, the instructions and the DDA
// settings. The one command bar acts on the record set of the place in front; each place
// says what each command does there.
//
// A way is a tab or a menu entry that leads to places. Exactly one record set is edited
// at a time: while a place is edited, every way that leads elsewhere is closed, and so is
// every way into a list (moving in a list would end the edit); with no bank at all every
// way is closed, since nothing there can belong to no bank.
#pragma once

#include <array>
#include <functional>
#include <string_view>
#include <vector>

#include "data/record_set.h"
#include "forms/form.h"
#include "forms/menus.h"
#include "forms/pages.h"

namespace qbk::module {

enum class PlaceId { List, Form, Companies, Payables, Receivables, Instructions, DDA };

// What each command of the bar does at a place; an empty action does nothing there.
struct PlaceActions {
  std::function<void()> incluir{};
  std::function<void()> alterar{};
  std::function<void()> confirmar{};
  std::function<void()> cancelar{};
  std::function<void()> excluir{};
  std::function<void()> procurar{};
  std::function<void()> verificar{};
  // The enabling rules of the place's record set, run when its state changes and after a
  // refused send changed its rows.
  std::function<void()> stateChanged{};
};

struct Place {
  PlaceId id;
  std::string_view mainTab;  // the page of pgcPadrao
  std::string_view subTab;   // on "CNAB", the page of pgcCNAB; empty elsewhere
  std::string_view menu;     // the entry that leads here and is checked while it is in front
  data::RecordSet* records;  // what the place shows
  bool editedHere;           // the list shows the banks, but they are edited on the form
  PlaceActions actions;

  // Found when the screen is built.
  forms::TabSheet* mainSheet = nullptr;
  forms::TabSheet* subSheet = nullptr;
  forms::MenuItem* menuItem = nullptr;
};

class Places {
 public:
  void add(Place place);
  const Place& at(PlaceId id) const;
  const std::vector<Place>& all() const { return places_; }

  // The pages that decide where the person is, and each place's tabs and menu entry.
  void resolve(const forms::Form& form);
  // The main tab in front and, on "CNAB", its sub-tab in front.
  const Place& current() const;
  bool isCurrent(PlaceId id) const { return current().id == id; }
  // The place whose record set is being edited; null when none is.
  const Place* edited() const;
  // The places that show this record set, in table order.
  const Place* showing(const data::RecordSet& rs) const;

 private:
  std::vector<Place> places_;
  forms::PageControl* main_ = nullptr;
  forms::PageControl* cnab_ = nullptr;
};

class Ways {
 public:
  // Finds the tabs and menu entries of the table.
  void resolve(const forms::Form& form);
  // Opens or closes every way for the edited place (null: none) and whether there is any
  // bank at all.
  void apply(const Place* edited, bool noBanks);

 private:
  std::vector<forms::TabSheet*> sheets_;  // in table order; null for menu entries
  std::vector<forms::MenuItem*> items_;
};

}  // namespace qbk::module
