// The current bank's code tables on the "CNAB" tab: the return-occurrence codes of
// payables and of receivables, the collection instructions, and the small look-up sets
// their duplicate checks load.
#pragma once

#include "data/data_source.h"
#include "data/record_set.h"
#include "forms/grid.h"
#include "module/frame/controls.h"
#include "module/frame/screen_part.h"

namespace qbk::module {

// Tag bit of a key field: grids let it be typed into only while its row is inserted.
inline constexpr int kKeyFieldTag = 1;

class CodeTables : public ScreenPart {
 public:
  explicit CodeTables(TfrmBanco& screen);

  void registerDataSources(forms::FormBuilder& b) override;
  void bind(const forms::Form& form) override;
  void shown(PlaceId place) override;

  data::RecordSet cdsErrCnabPag{"cdsErrCnabPag"};
  data::RecordSet cdsErrCnabRec{"cdsErrCnabRec"};
  data::RecordSet cdsInstruCobr{"cdsInstruCobr"};
  // Duplicate-check answers: only whether they hold a row matters. cdsCodigoPag declares
  // no field and takes whatever the server's packet carries.
  data::RecordSet cdsCodigoPag{"cdsCodigoPag"};
  data::RecordSet cdsCodigoRec{"cdsCodigoRec"};
  data::RecordSet cdsCdInstrucaoCob{"cdsCdInstrucaoCob"};

  data::DataSource dtsErrCnabPag{"dtsErrCnabPag", &cdsErrCnabPag};
  data::DataSource dtsErrCnabRec{"dtsErrCnabRec", &cdsErrCnabRec};
  data::DataSource dtsInstruCobr{"dtsInstruCobr", &cdsInstruCobr};

  // Marks the three code fields as key fields (the first activation does it).
  void markKeyFields();
  // Entering "CNAB" loads both return-code tables, whichever sub-tab is in front; one
  // being edited keeps its rows.
  void loadReturnCodes();
  // The grid of payables codes takes input only while the bank is browsed.
  void setPayablesGridEnabled(bool enabled);

  // ---- the places' commands ------------------------------------------------------------
  void incluir(PlaceId place);
  void alterar(PlaceId place);
  void confirmar(PlaceId place);
  void cancelar(PlaceId place);
  // The instructions' own: the bank's checks first, and the command rules after.
  void confirmarInstrucao();
  void cancelarInstrucao();
  void excluir(PlaceId place);
  void procurar(PlaceId place);
  void verificar(PlaceId place);

  // ---- handlers ------------------------------------------------------------------------
  void dtsErrCnabPagStateChange();
  void dtsErrCnabRecStateChange();
  void dtsInstruCobrStateChange();
  void Controle_Butoes();
  void cdsErrCnabPagBeforePost();
  void cdsErrCnabPagAfterPost();
  void cdsErrCnabPagAfterDelete();
  void cdsErrCnabRecBeforePost();
  void cdsErrCnabRecAfterPost();
  void cdsErrCnabRecAfterDelete();
  void cdsInstruCobrBeforePost();
  void cdsInstruCobrAfterDelete();  // after post and after delete alike
  void cdsInstruCobrAfterCancel();

 private:
  struct Controls : ControlTable {
    Ctl<forms::Grid> dbgErrCnabPag{*this, "dbgErrCnabPag"};
    Ctl<forms::Grid> dbgErrCnabRec{*this, "dbgErrCnabRec"};
    Ctl<forms::Grid> dbgInstruCobr{*this, "dbgInstruCobr"};
  } c_;

  // The table shown at a code place, with its grid and the column a new or changed row
  // starts in.
  struct Table {
    data::RecordSet& rows;
    forms::Grid& grid;
    const char* insertColumn;
    const char* editColumn;
    const char* getMethod;
  };
  Table table(PlaceId place);
};

}  // namespace qbk::module
