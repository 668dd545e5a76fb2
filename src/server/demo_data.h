// Data for trying the screens out and for measuring them: banks, companies, suppliers and
// codes that a Brazilian finance user recognises.
#pragma once

#include "db/connection.h"

namespace qbk::server {

// Fills a database whose tables are all empty with demonstration data, in one transaction.
// Returns false, writing nothing, when any table already holds a row.
bool fillDemoData(db::Connection& c);

// Adds `count` banks with every column filled to a realistic length, in one transaction,
// under generated three-character codes (digits and capital letters) that no bank uses yet.
// Throws std::invalid_argument when that many free codes do not exist.
void fillBenchBanks(db::Connection& c, int count);

}  // namespace qbk::server
