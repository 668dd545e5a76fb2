// The bindings of each family of controls, gathered by the table (table.cpp).
#pragma once

#include "desktop/bindings/binding.h"

namespace qbk::desktop::bindings {

// edit_bindings.cpp
Binding edit();
// choice_bindings.cpp
Binding checkBox();
Binding radioButton();
Binding comboBox();
Binding radioGroup();
// static_bindings.cpp
Binding label();
Binding dataText();
Binding panel();
Binding groupBox();
Binding plainContainer();
// page_bindings.cpp
Binding pageControl();
Binding notebook();
Binding tabSheet();
Binding notebookPage();
// command_bindings.cpp
Binding commandButton();
Binding navigator();
// grid_binding.cpp
Binding grid();
// menu_bindings.cpp
Binding mainMenu();
Binding popupMenu();
Binding menuItem();

}  // namespace qbk::desktop::bindings
