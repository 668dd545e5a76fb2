// The DDA import settings of the current bank on the "DDA" tab: the local and shared
// import directories and the recipient e-mail (columns of BANCO, edited through cdsDDA).
#pragma once

#include "data/data_source.h"
#include "data/record_set.h"
#include "forms/buttons.h"
#include "forms/edits.h"
#include "forms/navigator.h"
#include "module/frame/controls.h"
#include "module/frame/screen_part.h"

namespace qbk::module {

class DdaSettings : public ScreenPart {
 public:
  explicit DdaSettings(TfrmBanco& screen);

  void registerDataSources(forms::FormBuilder& b) override;
  void bind(const forms::Form& form) override;
  void shown(PlaceId place) override;

  data::RecordSet cdsDDA{"cdsDDA"};
  data::DataSource dtsDDA{"dtsDDA", &cdsDDA};

  // ---- the place's commands ------------------------------------------------------------
  void alterar();
  void confirmar();
  void cancelar();
  // Reads the banks again and stays on the bank whose settings are shown.
  void verificar();

  // ---- handlers ------------------------------------------------------------------------
  void dtsDDAStateChange();
  void cdsDDAAfterPost();
  void vd_diretorio();
  void btnArqDDAClick();
  void sbtArquivoClick();
  void btnArqDDAAfterPesq();
  void BtnPesDirLocasAfterPesq();

 private:
  struct Controls : ControlTable {
    Ctl<forms::DBEdit> dbeDirDDA{*this, "dbeDirDDA"};
    Ctl<forms::DBEdit> dbeDirLocal{*this, "dbeDirLocal"};
    Ctl<forms::Navigator> dbnPadrao{*this, "dbnPadrao"};
    Ctl<forms::SearchButton> btnArqDDA{*this, "btnArqDDA"};
    Ctl<forms::SearchButton> BtnPesDirLocas{*this, "BtnPesDirLocas"};
  } c_;

  // Loads the current bank's row (with the server's word on the shared directory).
  void load();
  // A directory dialog that starts at the edit's directory; a chosen one goes into the
  // edit and its field.
  void pickDirectory(forms::DBEdit& edit, const char* field);
};

}  // namespace qbk::module
