// Direct queries behind the search lists of a company's CNAB data: suppliers, payables
// write-off types and the company's current accounts.
#pragma once

namespace qbk::host {
class TADOIBQuery;
}

namespace qbk::module {

// Suppliers by registration number (P_NRINSJURFORN), or all when P_TNRINSJURFORN is "T".
void declareFornecedorQuery(host::TADOIBQuery& qryFornecedor);
// Every payables write-off type.
void declarePesqTbBaixaQuery(host::TADOIBQuery& qryPesqTbBaixa);
// A company's current accounts (P_CDEMPRESA), one by code (P_CDREDUCONT) or all when
// P_TCDREDUCONT is "T".
void declareContCorrQuery(host::TADOIBQuery& qryContCorr);

}  // namespace qbk::module
