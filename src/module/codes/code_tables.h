// The current bank's code tables on the "CNAB" tab: the return-occurrence codes of
// payables and of receivables, the collection instructions, and the small look-up sets
// their duplicate checks load.
#pragma once

#include <string_view>

#include "data/data_source.h"
#include "data/record_set.h"
#include "forms/grid.h"
#include "forms/navigator.h"
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
  // While "CNAB" is in front its lists follow the bank: a list left from the previous
  // bank would take a new row under the wrong bank's codes.
  void bankChanged() override;

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

  // ---- checks --------------------------------------------------------------------------
  // The code of a row being inserted: refused when the bank has it already (asked of the
  // server), and when empty only if `strict`. Rows being edited keep their code unchecked.
  void Vd_CodigoPag(bool strict);
  void Vd_CodigoRec(bool strict);
  // The description of the return-code table whose sub-tab is in front.
  void Vd_DescErro();
  // The instruction code of a row being inserted, normalised to its two characters first.
  void Vd_CdInstrucaoCob(bool strict);

  // ---- handlers ------------------------------------------------------------------------
  void cdsErrCnabPagAfterInsert();
  void cdsErrCnabRecAfterInsert();
  void cdsInstruCobrBeforeInsert();
  void dbgErrCnabPagColExit();
  void dbgErrCnabRecColExit();
  void dbgInstruCobrColExit();
  // The key-field filter of the three grids: an existing row's code is not typed over.
  void dbgErrCnabPagKeyPress(forms::Grid& grid, char32_t& key);
  // The return-code grids' own deletion by Ctrl+Delete never runs.
  void dbgErrCnabRecKeyDown(int& key, forms::Shift shift);
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
    Ctl<forms::Navigator> dbnPadrao{*this, "dbnPadrao"};
  } c_;

  // A grid's column takes the focus, as when a person clicks the cell.
  static void focusColumn(forms::Grid& grid, std::string_view field);
  // The return-code check of one table, with the look-up set its answer lands in and the
  // key of its duplicate message.
  struct CodeCheck {
    data::RecordSet& rows;
    forms::Grid& grid;
    const char* field;
    const char* method;
    data::RecordSet& answer;
    const char* duplicateKey;
  };
  void checkReturnCode(const CodeCheck& check, bool strict);
  bool anyEditing() const;

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
