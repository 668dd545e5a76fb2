// What follows the current bank on the company settings: their reload while they are on
// screen, and the bank-specific controls of the "Dados" page (which layout notebooks,
// pages and check boxes a clearing house has).
#include "module/cnab/company_settings.h"
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

namespace {

// Where the payment-layout notebook rests, and where the 237 page moves it up to.
constexpr int kLayoutPagTop = 125;
constexpr int kLayoutPagTop237 = 55;
// The bank-data notebook as the form places it, and where the 104 page moves it.
constexpr int kDadosBancTop = 232;
constexpr int kDadosBancTop104 = 209;
// The one check box a clearing house shows moves to the left edge of its group.
constexpr int kCheckBoxLeft = 3;
constexpr int kLinhaCobEmailTop = 376;

enum LayoutPage { kPageStatement = 0, kPageLayout399 = 1, kPageLayout104 = 2 };
enum LayoutPagPage { kPagePag341 = 0, kPagePag237 = 1 };
enum DadosBancPage { kPage399 = 1, kPage104 = 2, kPagePagForDta = 3 };

// The 266-position layout, second item of the 399 layout choice.
constexpr int kLayout266Item = 1;

void show(forms::Notebook& notebook, int page) {
  notebook.setVisible(true);
  notebook.setPageIndex(page);
}

}  // namespace

void CompanySettings::bankChanged() {
  c_.ntbLayoutPag->setVisible(false);
  c_.ntbLayoutPag->setTop(kLayoutPagTop);
  const std::string clearing = screen_.bank().codigoCompensacao();
  // The company settings follow the bank only while they are on screen.
  if (screen_.isCurrent(PlaceId::Companies)) {
    try {
      // The rows of the bank that was current must not stay: one confirmed now would be
      // saved under the new bank.
      reloadForBank();
    } catch (...) {
      arrangeCnabPanels(clearing);
      showVariation(clearing == "001");
      throw;
    }
    showVariation(clearing == "001");
    HabDadosFornBanc();
    dtsEmprBancStateChange();
  }
  arrangeCnabPanels(clearing);
}

void CompanySettings::emptyCompanies() {
  cdsEmprBanc.cancel();
  cdsEmprBanc.cancelUpdates();
  cdsEmprBanc.setData(data::Packet{cdsEmprBanc.fieldDefs(), {}});
}

void CompanySettings::HabDadosFornBanc() {
  if (screen_.bank().codigoCompensacao() != "399") return;
  const bool layout266 = c_.dbrgLayCnab->itemIndex() == kLayout266Item;
  if (layout266) c_.ntbDadosBanc->setPageIndex(kPage399);
  c_.ntbDadosBanc->setVisible(layout266);
  c_.grbFornBanc->setVisible(layout266);
}

void CompanySettings::arrangeCnabPanels(const std::string& clearing) {
  auto& layout = *c_.ntbLayout;
  auto& layoutPag = *c_.ntbLayoutPag;
  auto& dadosBanc = *c_.ntbDadosBanc;

  // Every bank-specific control is set for every code, hidden where the code has no use
  // for it: a control left as the previous bank had it would show that bank's choices
  // (the two payables layouts share one field, whose "1" and "2" mean different layouts
  // at the 341 and the 237 clearing houses, so a leftover group would store a wrong one).
  layout.setVisible(false);
  layoutPag.setVisible(false);
  layoutPag.setTop(kLayoutPagTop);
  dadosBanc.setVisible(false);
  dadosBanc.setTop(kDadosBancTop);
  c_.grbFornBanc->setVisible(false);
  c_.rdbLayoutCnabPag->setVisible(false);
  c_.lblPadrAgend->setVisible(false);
  c_.ckcLinhaComplemtentar->setVisible(false);
  c_.ckcRegistroSCobranca->setVisible(false);
  c_.ckcLinhaCobEmail->setVisible(false);

  if (clearing == "341") {
    show(layout, kPageStatement);
    show(layoutPag, kPagePag341);
    c_.rdbLayoutCnabPag->setVisible(true);
    c_.ckcLinhaComplemtentar->setVisible(true);
  } else if (clearing == "237") {
    show(layoutPag, kPagePag237);
    layoutPag.setTop(kLayoutPagTop237);
    show(dadosBanc, kPagePagForDta);
    c_.lblPadrAgend->setVisible(true);
  } else if (clearing == "399") {
    show(layout, kPageLayout399);
    HabDadosFornBanc();
  } else if (clearing == "104") {
    show(layout, kPageLayout104);
    show(dadosBanc, kPage104);
    dadosBanc.setTop(kDadosBancTop104);
  } else if (clearing == "422") {
    c_.ckcLinhaCobEmail->setLeft(kCheckBoxLeft);
    c_.ckcLinhaCobEmail->setTop(kLinhaCobEmailTop);
    c_.ckcLinhaCobEmail->setVisible(true);
  } else if (clearing == "001") {
    c_.ckcRegistroSCobranca->setLeft(kCheckBoxLeft);
    c_.ckcRegistroSCobranca->setVisible(true);
  }
  c_.cbbPadrAgend->setVisible(c_.lblPadrAgend->visible());
}

}  // namespace qbk::module
