#include "module/cnab/cnab_fields.h"

#include "module/frame/field_specs.h"

namespace qbk::module {

void declareEmprBancFields(data::RecordSet& cdsEmprBanc) {
  // The company grid and the record search list the company alone; everything else is
  // edited on the "Dados" page.
  declareFields(cdsEmprBanc,
                {
                    hidden(text("CDDIADEVOL", 1)),
                    hidden(text("CDCOMPROMISSO", 4)),
                    text("CDEMPRESA", 2, "Código"),
                    text("NMEMPRESA", 40, "Nome"),
                    hidden(text("CDBANCO", 3)),
                    hidden(text("CDEMPBANCPAG", 20, "Ident. (Pagar)")),
                    hidden(text("CDEMPBANCREC", 20, "Ident. (Receber)")),
                    hidden(text("CDCARTCOBR", 3, "Nº da Carteira")),
                    hidden(text("CDINS1COBR", 2, "1º Instrução")),
                    hidden(text("CDINS2COBR", 2, "2º Instrução")),
                    hidden(number("QTDIAPROTEST", "Dias para Protesto")),
                    hidden(text("IDIMPRBOLETO", 1, "Impr. Boleto")),
                    hidden(text("IDPADRCNABREC", 1)),
                    hidden(text("IDCARTCOBR", 1, "Carteira")),
                    hidden(text("TXMENSBOLETO", 500, "Emissão do boleto pela empresa")),
                    hidden(text("CDDIAPROTEST", 1)),
                    hidden(text("IDFORMCADBANC", 1)),
                    hidden(text("IDLAYEXTBANCO", 3)),
                    hidden(masked(text("NRVARIACARTCOB", 3), "999;0; ")),
                    hidden(text("IDLAYOUTCNAB", 3)),
                    hidden(text("CDFORNECED", 21)),
                    hidden(text("NMRAZSOCFORN", 40)),
                    hidden(text("IDTPIJURFORN", 1)),
                    hidden(text("NRINSJURFORN", 20)),
                    hidden(text("CDTPBAIXAPAG", 2)),
                    hidden(text("NMTPBAIXAPAG", 50)),
                    hidden(text("CDREDUCONT", 3)),
                    hidden(text("CDBANCODDA", 3)),
                    hidden(text("CDAGENCIA", 5)),
                    hidden(text("IDCONSDTENVREM", 1)),
                    hidden(text("IDPADRAGENCNABPAG", 1)),
                    hidden(text("CDCONTCORR", 20)),
                    hidden(text("DSCONTCORR", 20)),
                    hidden(text("IDPADRCNABPAG", 20)),
                    hidden(text("IDGERLINHACOMP", 1)),
                    hidden(number("QTDIADEVOL")),
                    hidden(text("IDREGSEGSCOB", 1)),
                    hidden(text("IDGERLINHACOBEMAIL", 1)),
                });
}

void declarePesqInstruFields(data::RecordSet& cdsPesqInstru) {
  declareFields(cdsPesqInstru, {
                                   text("CDINSTCOBR", 2, "Código"),
                                   text("NMINSTCOBR", 100, "Nome"),
                                   hidden(text("CDBANCO", 3)),
                               });
}

}  // namespace qbk::module
