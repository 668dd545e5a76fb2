// Reading table rows into packets shaped by a PacketLayout.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "data/packet.h"
#include "data/variant.h"
#include "db/connection.h"
#include "server/packet_layouts.h"

namespace qbk::server {

// Runs a query whose result columns are the layout's fields in order.
data::Packet fetchPacket(db::Connection& conn, const PacketLayout& layout, std::string_view sql,
                         const std::vector<data::Value>& params);

// The rows of the layout's table that satisfy `where` (a condition with `?` parameters;
// empty for all rows), ordered by the table's key.
data::Packet fetchWhere(db::Connection& conn, const PacketLayout& layout, std::string_view where,
                        const std::vector<data::Value>& params);

// A read whose rows go straight from the database cursor into the reply's JSON text, never
// held as values: whole-table reads are the calls whose cost a person feels. A method
// answers with one of these and the dispatcher runs it while it writes the reply.
struct PacketQuery {
  const PacketLayout* layout = nullptr;
  std::string where;  // as for fetchWhere
  std::vector<data::Value> params;
};

// Appends the JSON packet of the query's rows to `out`; on failure `out` is left as it was.
void streamPacket(db::Connection& conn, const PacketQuery& query, std::string& out);

// "A, B, C": the layout's fields as a select list, each prefixed with `qualifier.` when
// one is given.
std::string selectList(const PacketLayout& layout, std::string_view qualifier = {});

}  // namespace qbk::server
