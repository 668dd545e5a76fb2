#include "host/user_interface.h"

#include <algorithm>

#include "data/errors.h"

namespace qbk::host {

namespace {
UserInterface* current = nullptr;
}  // namespace

std::optional<int> UserInterface::choose(const std::string& title,
                                         const std::vector<std::string>& columns,
                                         const std::vector<ChoiceRow>& rows,
                                         const std::string& emptyMessage) {
  if (rows.empty()) {
    showInfo(emptyMessage);
    return std::nullopt;
  }
  auto chosen = chooseRow(title, columns, rows);
  if (chosen && (*chosen < 0 || *chosen >= static_cast<int>(rows.size()))) {
    throw Error("Linha escolhida fora da lista: " + std::to_string(*chosen) + ".");
  }
  return chosen;
}

std::optional<std::vector<int>> UserInterface::chooseMany(const std::string& title,
                                                          const std::vector<std::string>& columns,
                                                          const std::vector<ChoiceRow>& rows,
                                                          const std::vector<int>& preselected,
                                                          const std::string& emptyMessage) {
  if (rows.empty()) {
    showInfo(emptyMessage);
    return std::nullopt;
  }
  auto chosen = chooseRows(title, columns, rows, preselected);
  if (!chosen) return chosen;
  for (int i : *chosen) {
    if (i < 0 || i >= static_cast<int>(rows.size())) {
      throw Error("Linha escolhida fora da lista: " + std::to_string(i) + ".");
    }
  }
  std::sort(chosen->begin(), chosen->end());
  chosen->erase(std::unique(chosen->begin(), chosen->end()), chosen->end());
  return chosen;
}

UserInterface& userInterface() {
  if (!current) throw Error("Nenhuma interface com o usuário foi instalada.");
  return *current;
}

bool hasUserInterface() {
  return current != nullptr;
}

UserInterface* setUserInterface(UserInterface* ui) {
  UserInterface* previous = current;
  current = ui;
  return previous;
}

}  // namespace qbk::host
