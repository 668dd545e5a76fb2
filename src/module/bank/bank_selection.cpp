// Another bank became current: the parts that follow it hear so, and the agency check box
// shows the new bank's agency mask.
#include "module/bank/bank_record.h"
#include "module/bank/programmatic_change.h"
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

void BankRecord::cdsBancoAfterScroll() {
  // A part that fails to follow (its reload refused) stops the rest, as an error of the
  // bank change should: the check box then keeps the previous bank's state too.
  screen_.bankChanged();
  if (!cdsBanco.editing()) syncAgencyCheckBox();
}

void BankRecord::syncAgencyCheckBox() {
  ProgrammaticChange mark(cdsBanco);
  c_.chkVerifAgen->setChecked(cdsBanco.fieldByName("CDPICTAGEN").asString().find('-') !=
                              std::string::npos);
}

}  // namespace qbk::module
