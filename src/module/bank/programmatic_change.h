// The mark that the screen itself is setting chkVerifAgen.
#pragma once

#include "data/record_set.h"

namespace qbk::module {

// The Tag of cdsBanco while the screen itself sets chkVerifAgen, so that the check box's
// click handler does not take the change for a person's and start an edit.
inline constexpr int kProgrammaticChange = 99;

class ProgrammaticChange {
 public:
  explicit ProgrammaticChange(data::RecordSet& rs) : rs_(rs) { rs_.tag = kProgrammaticChange; }
  ~ProgrammaticChange() { rs_.tag = 0; }
  ProgrammaticChange(const ProgrammaticChange&) = delete;
  ProgrammaticChange& operator=(const ProgrammaticChange&) = delete;

 private:
  data::RecordSet& rs_;
};

}  // namespace qbk::module
