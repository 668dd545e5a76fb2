// The return-occurrence code tables and the collection instructions: the command bar while
// their sub-tab is in front, and the send of every saved change.
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

using host::Finish;

void TfrmBanco::dtsErrCnabPagStateChange() {
  if (cnabSubTabIs("tshErroRetornoPag")) Controle_Butoes();
}

void TfrmBanco::dtsErrCnabRecStateChange() {
  if (cnabSubTabIs("tshErroRetornoRec")) Controle_Butoes();
}

void TfrmBanco::dtsInstruCobrStateChange() {
  if (cnabSubTabIs("tshInstruCobr")) Controle_Butoes();
}

// The code and description checks of each table come with the code tables' rules; a row
// always belongs to the current bank.

void TfrmBanco::cdsErrCnabPagBeforePost() {
  cdsErrCnabPag.fieldByName("CDBANCO").setString(codigoBanco());
}

void TfrmBanco::cdsErrCnabRecBeforePost() {
  cdsErrCnabRec.fieldByName("CDBANCO").setString(codigoBanco());
}

void TfrmBanco::cdsInstruCobrBeforePost() {
  cdsInstruCobr.fieldByName("CDBANCO").setString(codigoBanco());
}

void TfrmBanco::cdsErrCnabPagAfterPost() {
  apply(cdsErrCnabPag, {.method = "SetErrCnabPag",
                        .cacheName = "ERRCNABP",
                        .finish = {Finish::Hide, Finish::Merge, Finish::Cache}});
}

void TfrmBanco::cdsErrCnabPagAfterDelete() {
  // The cache name of a deleted code is the one the host knows deletions by.
  apply(cdsErrCnabPag, {.method = "SetErrCnabPag",
                        .cacheName = "DELETECAHE",
                        .finish = {Finish::Hide, Finish::Repaint, Finish::Merge, Finish::Cache},
                        .followUp = [this] { dtsErrCnabPagStateChange(); }});
}

void TfrmBanco::cdsErrCnabRecAfterPost() {
  apply(cdsErrCnabRec, {.method = "SetErrCnabRec",
                        .cacheName = "ERRCNABR",
                        .finish = {Finish::Hide, Finish::Repaint, Finish::Merge, Finish::Cache}});
}

void TfrmBanco::cdsErrCnabRecAfterDelete() {
  apply(cdsErrCnabRec, {.method = "SetErrCnabRec",
                        .cacheName = "DELETECAHE",
                        .finish = {Finish::Hide, Finish::Repaint, Finish::Merge, Finish::Cache},
                        .followUp = [this] { dtsErrCnabRecStateChange(); }});
}

void TfrmBanco::cdsInstruCobrAfterDelete() {
  apply(cdsInstruCobr, {.method = "SetInstruCobr",
                        .cacheName = "INSTCOBRANCA",
                        .finish = {Finish::Hide, Finish::Repaint, Finish::Merge, Finish::Cache}});
}

void TfrmBanco::cdsInstruCobrAfterCancel() {
  cdsInstruCobr.cancelUpdates();
}

}  // namespace qbk::module
