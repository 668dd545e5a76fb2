#include "server/packet_query.h"

namespace qbk::server {

data::Packet fetchPacket(db::Connection& conn, const PacketLayout& layout, std::string_view sql,
                         const std::vector<data::Value>& params) {
  data::Packet packet;
  packet.fields = layout.fieldDefs();
  const int width = static_cast<int>(packet.fields.size());
  conn.forEachRow(sql, params, [&](const db::Cursor& cursor) {
    data::Row& row = packet.rows.emplace_back();
    row.reserve(width);
    for (int i = 0; i < width; ++i) row.push_back(cursor.value(i, packet.fields[i].type));
  });
  return packet;
}

data::Packet fetchWhere(db::Connection& conn, const PacketLayout& layout, std::string_view where,
                        const std::vector<data::Value>& params) {
  std::string sql = "SELECT " + selectList(layout) + " FROM " + layout.table->name;
  if (!where.empty()) {
    sql += " WHERE ";
    sql += where;
  }
  sql += " ORDER BY ";
  for (std::size_t i = 0; i < layout.table->key.size(); ++i) {
    if (i) sql += ", ";
    sql += layout.table->key[i];
  }
  return fetchPacket(conn, layout, sql, params);
}

std::string selectList(const PacketLayout& layout, std::string_view qualifier) {
  std::string list;
  for (const auto& f : layout.fields) {
    if (!list.empty()) list += ", ";
    if (!qualifier.empty()) {
      list += qualifier;
      list += '.';
    }
    list += f.def.name;
  }
  return list;
}

}  // namespace qbk::server
