#include "server/packet_query.h"

#include "data/codec.h"

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

namespace {

std::string selectWhere(const PacketLayout& layout, std::string_view where) {
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
  return sql;
}

}  // namespace

data::Packet fetchWhere(db::Connection& conn, const PacketLayout& layout, std::string_view where,
                        const std::vector<data::Value>& params) {
  return fetchPacket(conn, layout, selectWhere(layout, where), params);
}

void streamPacket(db::Connection& conn, const PacketQuery& query, std::string& out) {
  const std::vector<data::FieldDef> fields = query.layout->fieldDefs();
  const int width = static_cast<int>(fields.size());
  data::json::PacketStream stream(out, fields);
  conn.forEachRow(selectWhere(*query.layout, query.where), query.params,
                  [&](const db::Cursor& cursor) {
                    stream.beginRow();
                    for (int i = 0; i < width; ++i) {
                      if (cursor.isNull(i)) {
                        stream.null();
                      } else if (fields[i].type == data::FieldType::Float) {
                        stream.number(cursor.number(i));
                      } else {
                        stream.text(cursor.text(i));
                      }
                    }
                    stream.endRow();
                  });
  stream.finish();
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
