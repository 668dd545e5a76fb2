// A list that cannot be imported: its text names the line, so the person can find the row.
#pragma once

#include <string>

#include "data/errors.h"

namespace qbk::banklist {

class ListError : public Error {
 public:
  // "Linha 12: código 077 repetido (já na linha 8)."; line 0 is the file as a whole.
  ListError(int line, const std::string& problem)
      : Error(line > 0 ? "Linha " + std::to_string(line) + ": " + problem : problem), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

}  // namespace qbk::banklist
