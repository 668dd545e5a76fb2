#include "desktop/bindings/table.h"

#include <vector>

#include "desktop/bindings/families.h"
#include "forms/buttons.h"
#include "forms/choices.h"
#include "forms/edits.h"
#include "forms/grid.h"
#include "forms/menus.h"
#include "forms/navigator.h"
#include "forms/pages.h"
#include "forms/static_controls.h"

namespace qbk::desktop {
namespace {

struct Row {
  bool (*is)(const forms::Control&);
  Binding binding;
};

template <class C>
bool isA(const forms::Control& c) {
  return dynamic_cast<const C*>(&c) != nullptr;
}

// A kind is found by the first row it is an instance of: list a derived kind before its base
// when it is bound differently.
const std::vector<Row>& rows() {
  using namespace forms;
  static const std::vector<Row> table = {
      {isA<Edit>, bindings::edit()},
      {isA<CheckBox>, bindings::checkBox()},
      {isA<RadioButton>, bindings::radioButton()},
      {isA<ComboBox>, bindings::comboBox()},
      {isA<RadioGroup>, bindings::radioGroup()},
      {isA<DBText>, bindings::dataText()},
      {isA<Label>, bindings::label()},
      {isA<Panel>, bindings::panel()},
      {isA<GroupBox>, bindings::groupBox()},
      {isA<PageControl>, bindings::pageControl()},
      {isA<TabSheet>, bindings::tabSheet()},
      {isA<Notebook>, bindings::notebook()},
      {isA<Page>, bindings::notebookPage()},
      {isA<CommandButton>, bindings::commandButton()},
      {isA<Grid>, bindings::grid()},
      {isA<Navigator>, bindings::navigator()},
      {isA<MainMenu>, bindings::mainMenu()},
      {isA<PopupMenu>, bindings::popupMenu()},
      {isA<MenuItem>, bindings::menuItem()},
  };
  return table;
}

}  // namespace

const Binding& bindingFor(const forms::Control& control) {
  for (const Row& row : rows()) {
    if (row.is(control)) return row.binding;
  }
  static const Binding plain = bindings::plainContainer();
  return plain;
}

}  // namespace qbk::desktop
