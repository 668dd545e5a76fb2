// The DDA import settings of the current bank on the "DDA" tab: the local and shared
// import directories and the recipient e-mail (columns of BANCO, edited through cdsDDA).
#pragma once

#include "data/data_source.h"
#include "data/record_set.h"
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

  // ---- handlers ------------------------------------------------------------------------
  void dtsDDAStateChange();
  void cdsDDAAfterPost();
  void vd_diretorio();

 private:
  struct Controls : ControlTable {
    Ctl<forms::DBEdit> dbeDirDDA{*this, "dbeDirDDA"};
    Ctl<forms::DBEdit> dbeDirLocal{*this, "dbeDirLocal"};
    Ctl<forms::Navigator> dbnPadrao{*this, "dbnPadrao"};
  } c_;
};

}  // namespace qbk::module
