// The field declarations of the company settings' record sets and direct queries.
#include "module/cnab/company_settings.h"
#include "module/cnab/supplier_link.h"
#include "module/frame/field_specs.h"

namespace qbk::module {

namespace {

void declareFornecedorQuery(host::TADOIBQuery& qryFornecedor) {
  qryFornecedor.SQL =
      "SELECT NRINSJURFORN, NMFANTFORN, NMRAZSOCFORN, IDTPIJURFORN, CDFORNECED, CDTPCTPAGAR, "
      "IDSITUCADA, IDAGRUBOLFOR, CDTPBAIXAPAG FROM FORNECEDOR WHERE ((NRINSJURFORN = "
      ":P_NRINSJURFORN) OR (:P_TNRINSJURFORN = 'T')) ORDER BY NMFANTFORN";
  declareFields(qryFornecedor,
                {
                    text("NRINSJURFORN", 20, "Inscrição Jurídica"),
                    text("NMRAZSOCFORN", 40, "Razão Social"),
                    text("NMFANTFORN", 40, "Nome Fantasia"),
                    text("IDTPIJURFORN", 1),
                    text("CDFORNECED", 21),
                    text("CDTPCTPAGAR", 6),
                    text("IDSITUCADA", 1),
                    text("IDAGRUBOLFOR", 1),
                    text("CDTPBAIXAPAG", 2),
                },
                {.listed = {"NRINSJURFORN", "NMRAZSOCFORN", "NMFANTFORN"}});
}

void declarePesqTbBaixaQuery(host::TADOIBQuery& qryPesqTbBaixa) {
  qryPesqTbBaixa.SQL =
      "SELECT CDTPBAIXAPAG, NMTPBAIXAPAG, IDBAIXAUTILP FROM TIPOBAIXAPAG ORDER BY CDTPBAIXAPAG";
  declareFields(qryPesqTbBaixa,
                {
                    text("CDTPBAIXAPAG", 2, "Código"),
                    text("NMTPBAIXAPAG", 50, "Nome"),
                    text("IDBAIXAUTILP", 1, "Operação"),
                },
                {.listed = {"CDTPBAIXAPAG", "NMTPBAIXAPAG"}});
}

void declareContCorrQuery(host::TADOIBQuery& qryContCorr) {
  qryContCorr.SQL =
      "SELECT CC.CDREDUCONT, CC.CDBANCO, CC.CDAGENCIA, CC.CDCONTCORR, CC.DSCONTCORR, "
      "BC.CDPICTCONT, BC.CDPICTAGEN, BC.CDBANCCNAB FROM BANCO BC, CONTCORR CC WHERE "
      "(CC.CDEMPRESA = :P_CDEMPRESA) AND (BC.CDBANCO = CC.CDBANCO) AND ((CC.CDREDUCONT = "
      ":P_CDREDUCONT) OR (:P_TCDREDUCONT = 'T')) ORDER BY CC.CDREDUCONT";
  declareFields(qryContCorr,
                {
                    text("CDREDUCONT", 3, "Código"),
                    text("CDBANCO", 3, "Banco"),
                    text("CDAGENCIA", 5, "Agência"),
                    text("CDCONTCORR", 10, "Conta Corrente"),
                    text("DSCONTCORR", 20, "Descrição"),
                    text("CDPICTCONT", 20),
                    text("CDPICTAGEN", 10),
                    text("CDBANCCNAB", 3),
                },
                {.listed = {"CDREDUCONT", "CDBANCO", "CDAGENCIA", "CDCONTCORR", "DSCONTCORR"}});
}

void declareVdTipoBaixaQuery(host::TADOIBQuery& qryVdTipoBaixa) {
  qryVdTipoBaixa.SQL =
      "SELECT CDTPBAIXAPAG, NMTPBAIXAPAG, IDBAIXAUTILP, VRMAXDOCCNAB FROM TIPOBAIXAPAG WHERE "
      "CDTPBAIXAPAG = :CDTPBAIXAPAG ORDER BY CDTPBAIXAPAG";
  declareFields(qryVdTipoBaixa, {
                                    text("CDTPBAIXAPAG", 2),
                                    text("NMTPBAIXAPAG", 50),
                                    text("IDBAIXAUTILP", 1),
                                    number("VRMAXDOCCNAB"),
                                });
}

}  // namespace

CompanySettings::CompanySettings(TfrmBanco& screen) : ScreenPart(screen) {
  // The company grid and the record search list the company alone; everything else is
  // edited on the "Dados" page.
  declareFields(cdsEmprBanc, protocol::packets::emprBanc,
                {.listed = {"CDEMPRESA", "NMEMPRESA"}, .masks = {{"NRVARIACARTCOB", "999;0; "}}});
  declareFields(cdsPesqInstru, protocol::packets::pesqInstru,
                {.listed = {"CDINSTCOBR", "NMINSTCOBR"}});
  declareFornecedorQuery(qryFornecedor);
  declarePesqTbBaixaQuery(qryPesqTbBaixa);
  declareContCorrQuery(qryContCorr);
  declareVdTipoBaixaQuery(qryVdTipoBaixa);
  // Registration numbers are stored bare and read with the mask of their person type.
  cdsEmprBanc.fieldByName("NRINSJURFORN").onGetText = registrationText;
  qryFornecedor.fieldByName("NRINSJURFORN").onGetText = registrationText;
  declareFields(qryContCtbl, {text("CDCONTCTBL", 0)});
}

}  // namespace qbk::module
