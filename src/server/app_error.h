// A request the server understood but refuses: a conflict, a duplicate, a value that does
// not fit. Its text goes to the person at the screen unchanged, so it names the table and
// the key and says what to do.
#pragma once

#include "data/errors.h"

namespace qbk::server {

class ApplicationError : public Error {
 public:
  using Error::Error;
};

}  // namespace qbk::server
