#include "server/bank_methods.h"

#include <filesystem>
#include <system_error>

#include "data/errors.h"
#include "server/app_error.h"
#include "server/delta_resolver.h"
#include "server/packet_layouts.h"
#include "server/packet_query.h"

namespace qbk::server {

namespace {

using data::Packet;
using data::Value;
using data::Variant;
using data::VariantArray;

const std::string& text(const VariantArray& params, std::size_t i) {
  return params[i].asString();
}

Variant packet(Packet&& p) {
  return Variant(std::move(p));
}

// One row per company: its settings for the bank, or a row of nulls where it has none yet,
// always carrying the requested bank so that the row's key is complete and an update of an
// empty row can create it. A bank that does not exist has no rows.
Packet emprBancRows(db::Connection& conn, const std::string& bank) {
  static const std::string sql = [] {
    std::string list;
    for (const auto& f : layouts::emprBanc().fields) {
      if (!list.empty()) list += ", ";
      const std::string& n = f.def.name;
      if (n == "CDBANCO")
        list += "B.CDBANCO";
      else if (n == "CDEMPRESA" || n == "NMEMPRESA")
        list += "E." + n;
      else
        list += "EB." + n;
    }
    return "SELECT " + list +
           " FROM BANCO B CROSS JOIN EMPRESA E"
           " LEFT JOIN EMPRBANC EB ON EB.CDEMPRESA = E.CDEMPRESA AND EB.CDBANCO = B.CDBANCO"
           " WHERE B.CDBANCO = ? ORDER BY E.CDEMPRESA";
  }();
  return fetchPacket(conn, layouts::emprBanc(), sql, {bank});
}

// "N" when the bank names a shared DDA directory that does not exist here.
std::string sharedDirectoryFlag(const Packet& dda) {
  if (dda.rows.empty()) return "S";
  const auto* dir = std::get_if<std::string>(&dda.rows.front()[dda.fieldIndex("DSDIRIMPARQDDA")]);
  if (!dir || dir->find_first_not_of(' ') == std::string::npos) return "S";
  std::error_code ec;
  return std::filesystem::is_directory(*dir, ec) ? "S" : "N";
}

void checkNullableNames(const VariantArray& params) {
  for (std::size_t i = 0; i < kNullableBankFields.size(); ++i) {
    const std::string& name = text(params, i + 1);
    if (name.empty() || name == kNullableBankFields[i]) continue;
    throw data::ProtocolError(data::rpc_code::kInvalidParams,
                              "SetBanco: o parâmetro " + std::to_string(i + 2) +
                                  " deve ser \"\" ou \"" + std::string(kNullableBankFields[i]) +
                                  "\", recebeu \"" + name + "\".");
  }
}

// The standard boleto message of a clearing-house code goes into the settings of every
// company, for every bank with that clearing-house code, in one transaction. Only
// existing settings are changed: a company without settings for a bank gets none.
void copyStandardMessage(db::Connection& conn, const std::string& clearingCode) {
  db::Transaction tx(conn, db::Transaction::Mode::Write);
  const db::Result msg =
      conn.query("SELECT TXMENSBOLETO FROM MSGPADRAOBANCO WHERE CDBANCCNAB = ?", {clearingCode});
  if (msg.rows.empty())
    throw ApplicationError("Não há mensagem padrão cadastrada para o código de compensação '" +
                           clearingCode + "'.");
  conn.execute(
      "UPDATE EMPRBANC SET TXMENSBOLETO = ? WHERE CDBANCO IN "
      "(SELECT CDBANCO FROM BANCO WHERE CDBANCCNAB = ?)",
      {msg.rows.front().front(), clearingCode});
  tx.commit();
}

// The code tables and the DDA settings are a bank's: a row of no bank is refused by name.
ResolvePolicy ofABank() {
  ResolvePolicy policy;
  policy.rowsNeedBank = true;
  return policy;
}

Variant applied(db::Connection& conn, const PacketLayout& layout, const Variant& delta,
                const ResolvePolicy& policy = {}) {
  applyDelta(conn, layout, delta.asDelta(), policy);
  return Variant(true);
}

}  // namespace

void applyBancoDelta(db::Connection& conn, const data::Delta& delta) {
  applyDelta(conn, layouts::banco(), delta);
}

void registerBankMethods(Dispatcher& d) {
  namespace method = protocol::method;
  using K = ParamKind;
  using Conn = db::Connection;
  using Args = VariantArray;

  d.add(method::GetBanco, {}, [](Conn&, const Args&) {
    return PacketQuery{&layouts::banco(), "", {}};
  });
  d.add(method::GetErrCnabPag, {K::Text}, [](Conn&, const Args& p) {
    return PacketQuery{&layouts::errCnabPag(), "CDBANCO = ?", {text(p, 0)}};
  });
  d.add(method::GetErrCnabRec, {K::Text}, [](Conn&, const Args& p) {
    return PacketQuery{&layouts::errCnabRec(), "CDBANCO = ?", {text(p, 0)}};
  });
  d.add(method::GetBancoDDA, {K::Text}, [](Conn& c, const Args& p) {
    Packet dda = fetchWhere(c, layouts::dda(), "CDBANCO = ?", {text(p, 0)});
    std::string flag = sharedDirectoryFlag(dda);
    return Variant(VariantArray{Variant(std::move(flag)), packet(std::move(dda))});
  });
  d.add(method::GetEmprBanc, {K::Text},
        [](Conn& c, const Args& p) { return packet(emprBancRows(c, text(p, 0))); });
  d.add(method::GetInstruCobr, {K::Text}, [](Conn&, const Args& p) {
    return PacketQuery{&layouts::instruCobr(), "CDBANCO = ?", {text(p, 0)}};
  });
  d.add(method::GetPesqInstru, {K::Text, K::Text}, [](Conn&, const Args& p) {
    if (text(p, 1).empty()) return PacketQuery{&layouts::pesqInstru(), "CDBANCO = ?", {text(p, 0)}};
    return PacketQuery{
        &layouts::pesqInstru(), "CDBANCO = ? AND CDINSTCOBR = ?", {text(p, 0), text(p, 1)}};
  });
  d.add(method::GetCodigoPag, {K::Text, K::Text}, [](Conn&, const Args& p) {
    return PacketQuery{
        &layouts::errCnabPag(), "CDBANCO = ? AND CDERRCNABP = ?", {text(p, 0), text(p, 1)}};
  });
  d.add(method::GetCodigoRec, {K::Text, K::Text}, [](Conn&, const Args& p) {
    return PacketQuery{
        &layouts::errCnabRec(), "CDBANCO = ? AND CDERRCNABR = ?", {text(p, 0), text(p, 1)}};
  });
  d.add(method::VerifInstru, {K::Text, K::Text}, [](Conn&, const Args& p) {
    return PacketQuery{
        &layouts::cdInstrucaoCob(), "CDBANCO = ? AND CDINSTCOBR = ?", {text(p, 0), text(p, 1)}};
  });

  std::vector<ParamKind> setBancoParams{K::Delta};
  setBancoParams.insert(setBancoParams.end(), kNullableBankFields.size(), K::TextRef);
  // The nine names only say which fields the client left empty; the delta itself carries
  // those nulls, so they are checked for form and otherwise not needed.
  d.add(method::SetBanco, std::move(setBancoParams), [](Conn& c, const Args& p) {
    checkNullableNames(p);
    applyBancoDelta(c, p[0].asDelta());
    return Variant(true);
  });
  d.add(method::SetErrCnabPag, {K::Delta},
        [](Conn& c, const Args& p) { return applied(c, layouts::errCnabPag(), p[0], ofABank()); });
  d.add(method::SetErrCnabRec, {K::Delta},
        [](Conn& c, const Args& p) { return applied(c, layouts::errCnabRec(), p[0], ofABank()); });
  d.add(method::SetEmprBanc, {K::Delta}, [](Conn& c, const Args& p) {
    ResolvePolicy policy;
    policy.missingRowIsNulls = true;
    return applied(c, layouts::emprBanc(), p[0], policy);
  });
  d.add(method::SetInstruCobr, {K::Delta},
        [](Conn& c, const Args& p) { return applied(c, layouts::instruCobr(), p[0], ofABank()); });
  d.add(method::SetBancoDDA, {K::Delta}, [](Conn& c, const Args& p) {
    ResolvePolicy policy = ofABank();
    policy.allowInsertDelete = false;
    policy.insertDeleteRefusal = "Inclusão/exclusão não permitida em configurações DDA.";
    return applied(c, layouts::dda(), p[0], policy);
  });
  d.add(method::ExecProcMsgPadraoBanco, {K::Text}, [](Conn& c, const Args& p) {
    copyStandardMessage(c, text(p, 0));
    return Variant();
  });
}

}  // namespace qbk::server
