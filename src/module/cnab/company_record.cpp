// The company CNAB record: its save rules and the send of every saved change.
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

void TfrmBanco::cdsEmprBancBeforePost() {
  // The supplier and instruction checks and the defaults of the coded and layout fields
  // come with the company record's rules; the row always belongs to the current bank.
  cdsEmprBanc.fieldByName("CDBANCO").setString(codigoBanco());
}

void TfrmBanco::cdsEmprBancAfterPost() {
  apply(cdsEmprBanc, {.method = "SetEmprBanc",
                      .cacheName = "EMPRBANC",
                      .finish = {host::Finish::Hide, host::Finish::Repaint, host::Finish::Merge,
                                 host::Finish::Cache}});
}

void TfrmBanco::cdsEmprBancBeforeDelete() {
  // No control of the screen deletes a company row; rows arrive with the bank's code.
}

void TfrmBanco::cdsEmprBancAfterDelete() {
  cdsEmprBancAfterPost();
}

}  // namespace qbk::module
