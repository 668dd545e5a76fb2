#include "module/bank/bank_fields.h"

#include "host/query.h"
#include "module/frame/field_specs.h"

namespace qbk::module {

void declareBancoFields(data::RecordSet& cdsBanco) {
  // Only the code and the name are listed; the rest is edited on "Dados Principais".
  declareFields(
      cdsBanco,
      {
          hidden(text("CDPICTAGEN", 10, "Máscara Agência")),
          text("CDBANCO", 3, "Código", "BANCO.CDBANCO"),
          text("NMBANCO", 30, "Nome", "BANCO.NMBANCO"),
          hidden(text("CDPICTCONT", 20, "Máscara C/C", "BANCO.CDPICTCONT")),
          hidden(text("CDBANCCNAB", 3, "Código do Banco na Câmara de Compensação",
                      "BANCO.CDBANCCNAB")),
          hidden(number("QTDIAPRORCNT", "Dias para Prorrogação")),
          hidden(text("DSARQBOLCOMP", 100, "Modelo de Boleto Completo", "BANCO.DSARQBOLCOMP")),
          hidden(text("DSARQBOLPREI", 100, "Modelo de Boleto Pré-Impresso", "BANCO.DSARQBOLPREI")),
          hidden(text("DSARQCHEQUE", 100, "Modelo de Cheque", "BANCO.DSARQCHEQUE")),
          hidden(text("DSARQBORDREC", 250, "Modelo de Borderô Cobrança",
                      "DBQUELVAR.BANCO.DSARQBORDREC")),
          hidden(text("DSARQBORDPAG", 250, "Modelo de Borderô Pagamento",
                      "DBQUELVAR.BANCO.DSARQBORDPAG")),
          hidden(text("DSARQBORDCHQ", 250, "Modelo de Borderô Cheque",
                      "DBQUELVAR.BANCO.DSARQBORDCHQ")),
          hidden(masked(text("CDBANCOCONV", 3, "Banco Convêniado"), "999;0; ")),
          hidden(text("DSDIRIMPARQDDA", 250)),
          hidden(text("DSEMAILDDA", 250)),
          hidden(text("DSARQLOGMAR", 250, "Modelo Logomarca", "BANCO.DSARQLOGMAR")),
      });
}

void declareChavPrimQuery(host::TADOIBQuery& qryChavPrim) {
  qryChavPrim.SQL = "SELECT CDBANCO FROM BANCO WHERE (CDBANCO = :P_CDBANCO) ORDER BY CDBANCO";
  qryChavPrim.SQL_ORACLE = qryChavPrim.SQL;
  qryChavPrim.SQL_IB =
      "SELECT CDBANCO FROM BANCO, PARAM(:P_CDBANCO) P1 WHERE (CDBANCO = P1.PARAM) ORDER BY "
      "CDBANCO";
  declareFields(qryChavPrim, {text("CDBANCO", 3)});
}

}  // namespace qbk::module
