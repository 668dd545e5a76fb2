#include "module/cnab/cnab_queries.h"

#include "host/query.h"
#include "module/frame/field_specs.h"

namespace qbk::module {

void declareFornecedorQuery(host::TADOIBQuery& qryFornecedor) {
  qryFornecedor.SQL =
      "SELECT NRINSJURFORN, NMFANTFORN, NMRAZSOCFORN, IDTPIJURFORN, CDFORNECED, CDTPCTPAGAR, "
      "IDSITUCADA, IDAGRUBOLFOR, CDTPBAIXAPAG FROM FORNECEDOR WHERE ((NRINSJURFORN = "
      ":P_NRINSJURFORN) OR (:P_TNRINSJURFORN = 'T')) ORDER BY NMFANTFORN";
  declareFields(qryFornecedor, {
                                   text("NRINSJURFORN", 20, "Inscrição Jurídica"),
                                   text("NMRAZSOCFORN", 40, "Razão Social"),
                                   text("NMFANTFORN", 40, "Nome Fantasia"),
                                   hidden(text("IDTPIJURFORN", 1)),
                                   hidden(text("CDFORNECED", 21)),
                                   hidden(text("CDTPCTPAGAR", 6)),
                                   hidden(text("IDSITUCADA", 1)),
                                   hidden(text("IDAGRUBOLFOR", 1)),
                                   hidden(text("CDTPBAIXAPAG", 2)),
                               });
}

void declarePesqTbBaixaQuery(host::TADOIBQuery& qryPesqTbBaixa) {
  qryPesqTbBaixa.SQL =
      "SELECT CDTPBAIXAPAG, NMTPBAIXAPAG, IDBAIXAUTILP FROM TIPOBAIXAPAG ORDER BY CDTPBAIXAPAG";
  declareFields(qryPesqTbBaixa, {
                                    text("CDTPBAIXAPAG", 2, "Código"),
                                    text("NMTPBAIXAPAG", 50, "Nome"),
                                    hidden(text("IDBAIXAUTILP", 1, "Operação")),
                                });
}

void declareContCorrQuery(host::TADOIBQuery& qryContCorr) {
  qryContCorr.SQL =
      "SELECT CC.CDREDUCONT, CC.CDBANCO, CC.CDAGENCIA, CC.CDCONTCORR, CC.DSCONTCORR, "
      "BC.CDPICTCONT, BC.CDPICTAGEN, BC.CDBANCCNAB FROM BANCO BC, CONTCORR CC WHERE "
      "(CC.CDEMPRESA = :P_CDEMPRESA) AND (BC.CDBANCO = CC.CDBANCO) AND ((CC.CDREDUCONT = "
      ":P_CDREDUCONT) OR (:P_TCDREDUCONT = 'T')) ORDER BY CC.CDREDUCONT";
  declareFields(qryContCorr, {
                                 text("CDREDUCONT", 3, "Código"),
                                 text("CDBANCO", 3, "Banco"),
                                 text("CDAGENCIA", 5, "Agência"),
                                 text("CDCONTCORR", 10, "Conta Corrente"),
                                 text("DSCONTCORR", 20, "Descrição"),
                                 hidden(text("CDPICTCONT", 20)),
                                 hidden(text("CDPICTAGEN", 10)),
                                 hidden(text("CDBANCCNAB", 3)),
                             });
}

}  // namespace qbk::module
