#include "protocol/packets.h"

#include <array>

namespace qbk::protocol {

const FieldSpec* findField(FieldList fields, std::string_view name) {
  for (const FieldSpec& f : fields)
    if (f.name == name) return &f;
  return nullptr;
}

namespace {

constexpr std::array kBanco{
    text("CDPICTAGEN", 10, "Máscara Agência"),
    text("CDBANCO", 3, "Código", "BANCO.CDBANCO"),
    text("NMBANCO", 30, "Nome", "BANCO.NMBANCO"),
    text("CDPICTCONT", 20, "Máscara C/C", "BANCO.CDPICTCONT"),
    text("CDBANCCNAB", 3, "Código do Banco na Câmara de Compensação", "BANCO.CDBANCCNAB"),
    number("QTDIAPRORCNT", "Dias para Prorrogação"),
    text("DSARQBOLCOMP", 100, "Modelo de Boleto Completo", "BANCO.DSARQBOLCOMP"),
    text("DSARQBOLPREI", 100, "Modelo de Boleto Pré-Impresso", "BANCO.DSARQBOLPREI"),
    text("DSARQCHEQUE", 100, "Modelo de Cheque", "BANCO.DSARQCHEQUE"),
    text("DSARQBORDREC", 250, "Modelo de Borderô Cobrança", "DBQUELVAR.BANCO.DSARQBORDREC"),
    text("DSARQBORDPAG", 250, "Modelo de Borderô Pagamento", "DBQUELVAR.BANCO.DSARQBORDPAG"),
    text("DSARQBORDCHQ", 250, "Modelo de Borderô Cheque", "DBQUELVAR.BANCO.DSARQBORDCHQ"),
    text("CDBANCOCONV", 3, "Banco Convêniado"),
    text("DSDIRIMPARQDDA", 250),
    text("DSEMAILDDA", 250),
    text("DSARQLOGMAR", 250, "Modelo Logomarca", "BANCO.DSARQLOGMAR"),
};

// The company's name is read from EMPRESA; the supplier, write-off type and account
// fields are the copies the screen made when they were chosen.
constexpr std::array kEmprBanc{
    text("CDDIADEVOL", 1),
    text("CDCOMPROMISSO", 4),
    text("CDEMPRESA", 2, "Código"),
    joined(text("NMEMPRESA", 40, "Nome")),
    text("CDBANCO", 3),
    text("CDEMPBANCPAG", 20, "Ident. (Pagar)"),
    text("CDEMPBANCREC", 20, "Ident. (Receber)"),
    text("CDCARTCOBR", 3, "Nº da Carteira"),
    text("CDINS1COBR", 2, "1º Instrução"),
    text("CDINS2COBR", 2, "2º Instrução"),
    number("QTDIAPROTEST", "Dias para Protesto"),
    text("IDIMPRBOLETO", 1, "Impr. Boleto"),
    text("IDPADRCNABREC", 1),
    text("IDCARTCOBR", 1, "Carteira"),
    text("TXMENSBOLETO", 500, "Emissão do boleto pela empresa"),
    text("CDDIAPROTEST", 1),
    text("IDFORMCADBANC", 1),
    text("IDLAYEXTBANCO", 3),
    text("NRVARIACARTCOB", 3),
    text("IDLAYOUTCNAB", 3),
    text("CDFORNECED", 21),
    text("NMRAZSOCFORN", 40),
    text("IDTPIJURFORN", 1),
    text("NRINSJURFORN", 20),
    text("CDTPBAIXAPAG", 2),
    text("NMTPBAIXAPAG", 50),
    text("CDREDUCONT", 3),
    text("CDBANCODDA", 3),
    text("CDAGENCIA", 5),
    text("IDCONSDTENVREM", 1),
    text("IDPADRAGENCNABPAG", 1),
    text("CDCONTCORR", 20),
    text("DSCONTCORR", 20),
    text("IDPADRCNABPAG", 20),
    text("IDGERLINHACOMP", 1),
    number("QTDIADEVOL"),
    text("IDREGSEGSCOB", 1),
    text("IDGERLINHACOBEMAIL", 1),
};

constexpr std::array kErrCnabPag{
    text("CDBANCO", 3, {}, "ERRCNABP.CDBANCO"),
    text("CDERRCNABP", 10, "Código", "ERRCNABP.CDERRCNABP"),
    text("DSERRCNABP", 200, "Descrição"),
};

constexpr std::array kErrCnabRec{
    text("CDBANCO", 3, {}, "ERRCNABR.CDBANCO"),
    text("CDERRCNABR", 10, "Código", "ERRCNABR.CDERRCNABR"),
    text("DSERRCNABR", 200, "Descrição"),
};

constexpr std::array kInstruCobr{
    text("CDBANCO", 3),
    text("NMINSTCOBR", 100, "Nome"),
    text("CDINSTCOBR", 2, "Código"),
};

constexpr std::array kPesqInstru{
    text("CDINSTCOBR", 2, "Código"),
    text("NMINSTCOBR", 100, "Nome"),
    text("CDBANCO", 3),
};

constexpr std::array kCdInstrucaoCob{
    text("CDBANCO", 3),
    text("CDINSTCOBR", 2),
    text("NMINSTCOBR", 100),
};

// The bank code travels with the width the DDA record set declares; the column is still
// three characters, which the server enforces.
constexpr std::array kDda{
    text("DSDIRIMPARQDDA", 250),
    text("DSEMAILDDA", 250),
    text("DSDIRIMPARQDDALOCAL", 250),
    text("CDBANCO", 20),
};

}  // namespace

namespace packets {
const PacketSpec banco{"BANCO", kBanco};
const PacketSpec emprBanc{"EMPRBANC", kEmprBanc};
const PacketSpec errCnabPag{"ERRCNABP", kErrCnabPag};
const PacketSpec errCnabRec{"ERRCNABR", kErrCnabRec};
const PacketSpec instruCobr{"INSTCOBRANCA", kInstruCobr};
const PacketSpec pesqInstru{"INSTCOBRANCA", kPesqInstru};
const PacketSpec cdInstrucaoCob{"INSTCOBRANCA", kCdInstrucaoCob};
const PacketSpec dda{"BANCO", kDda};
}  // namespace packets

}  // namespace qbk::protocol
