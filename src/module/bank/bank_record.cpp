// The bank record's reactions to inserts, edits, posts, deletions and cancels, the send of
// every saved change, and the commands of the "Dados Principais" tab.
#include "forms/buttons.h"
#include "forms/choices.h"
#include "forms/menus.h"
#include "forms/pages.h"
#include "host/progress.h"
#include "host/strings.h"
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

namespace {

// The Tag of cdsBanco while the screen itself sets chkVerifAgen, so that the check box's
// click handler does not take the change for a person's and start an edit.
constexpr int kProgrammaticChange = 99;

class ProgrammaticChange {
 public:
  explicit ProgrammaticChange(data::RecordSet& rs) : rs_(rs) { rs_.tag = kProgrammaticChange; }
  ~ProgrammaticChange() { rs_.tag = 0; }
  ProgrammaticChange(const ProgrammaticChange&) = delete;
  ProgrammaticChange& operator=(const ProgrammaticChange&) = delete;

 private:
  data::RecordSet& rs_;
};

}  // namespace

// ---- checks ----------------------------------------------------------------------------
// The bank's field checks (code, name, masks, clearing-house code) are filled in with the
// bank record's rules; the save and the confirm command already call them in their order.

void TfrmBanco::Codigo_Banco(bool /*strict*/) {}
void TfrmBanco::Desc_Banco(bool /*strict*/) {}
void TfrmBanco::Vd_CdCnabP(bool /*strict*/) {}
void TfrmBanco::Mascara_Banco(bool /*strict*/) {}
void TfrmBanco::Mascara_Agencia(bool /*strict*/) {}
void TfrmBanco::Vd_tamanho_agencia() {}

void TfrmBanco::dbeCodigoExit() {
  Codigo_Banco(false);
}

void TfrmBanco::dbeBancoExit() {
  Desc_Banco(false);
}

void TfrmBanco::dbeMascaraCCExit() {
  Mascara_Banco(false);
}

void TfrmBanco::dbeMascAgenciaExit() {
  Mascara_Agencia(false);
  Vd_tamanho_agencia();
}

// ---- record set events -----------------------------------------------------------------

void TfrmBanco::cdsBancoBeforeInsert() {
  // The form tab is disabled while there is no bank; the first one is typed there.
  if (cdsBanco.isEmpty()) sheet("tshFormulario").setEnabled(true);
  cdsBancoBeforeEdit();
}

void TfrmBanco::cdsBancoBeforeEdit() {
  // Back in browse mode the mode rules enable it again.
  sheet("tshCNAB").setEnabled(false);
}

void TfrmBanco::cdsBancoBeforePost() {
  Codigo_Banco(true);
  Desc_Banco(true);
  Mascara_Banco(true);
  Mascara_Agencia(true);
  Vd_CdCnabP(true);
  // Blank optional fields travel as null, and SetBanco is told which ones they are.
  host::Seta_Campo_Null(cdsBanco);
}

void TfrmBanco::cdsBancoAfterPost() {
  apply(cdsBanco,
        {.method = "SetBanco",
         .cacheName = "BANCO",
         .finish = {host::Finish::Cache, host::Finish::Hide, host::Finish::Repaint,
                    host::Finish::Merge},
         .extraArgs = [this] { return host::nullFieldNames(cdsBanco, host::kBancoNullableFields); },
         .followUp =
             [this] {
               syncAgencyCheckBox();
               cdsBancoAfterScroll();
             },
         .followUpFailureCancels = true});
}

void TfrmBanco::cdsBancoAfterDelete() {
  apply(cdsBanco, {.method = "SetBanco",
                   .cacheName = "BANCO",
                   .finish = {host::Finish::Cache, host::Finish::Hide, host::Finish::Repaint,
                              host::Finish::Merge},
                   .extraArgs = [this] {
                     return host::nullFieldNames(cdsBanco, host::kBancoNullableFields);
                   }});
}

void TfrmBanco::cdsBancoAfterCancel() {
  cdsBanco.cancelUpdates();
  syncAgencyCheckBox();
}

void TfrmBanco::cdsBancoAfterScroll() {
  // The company settings follow the bank only while they are on screen. The bank-specific
  // CNAB panels are arranged with the bank selection rules.
  if (mainTabIs("tshCNAB") && cnabSubTabIs("tshDadosEmpr")) {
    host::fetchInto(netBanco, cdsEmprBanc, "GetEmprBanc", {codigoBanco()});
    dtsEmprBancStateChange();
  }
  if (!cdsBanco.editing()) syncAgencyCheckBox();
}

void TfrmBanco::syncAgencyCheckBox() {
  ProgrammaticChange mark(cdsBanco);
  ctl<forms::CheckBox>("chkVerifAgen")
      .setChecked(cdsBanco.fieldByName("CDPICTAGEN").asString().find('-') != std::string::npos);
}

// ---- commands of the tab ---------------------------------------------------------------

void TfrmBanco::sbtAtualizarMsgClick() {
  host::ShowAviScope indicator(nullptr, host::kAviFetch);
  host::execProcedure(netBanco, "ExecProcMsgPadraoBanco",
                      {cdsBanco.fieldByName("CDBANCCNAB").asString()});
}

void TfrmBanco::sbtEditClick() {
  // The model pop-up opens under the button, at its lower-left corner.
  const auto& button = ctl<forms::CommandButton>("sbtEdit");
  ctl<forms::PopupMenu>("pmnEditModelo").popup(button.left(), button.top() + button.height());
}

void TfrmBanco::mnuEditClick() {
  ctl<forms::CommandButton>("sbtEdit").click();
}

}  // namespace qbk::module
