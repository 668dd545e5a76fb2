// What follows the current bank on the company settings: their reload while they are on
// screen, and the bank-specific controls of the "Dados" page (which layout notebooks,
// pages and check boxes a clearing house has).
#include "module/cnab/company_settings.h"
#include "module/frame/tfrm_banco.h"

namespace qbk::module {

namespace {

// Where the payment-layout notebook rests, and where the Bradesco page moves it up to.
constexpr int kLayoutPagTop = 125;
constexpr int kLayoutPagTopBradesco = 55;
constexpr int kDadosBancTopCaixa = 209;

enum LayoutPage { kPageConcItau = 0, kPageLayoutHsbc = 1, kPageLayoutCaixa = 2 };
enum LayoutPagPage { kPagePagItau = 0, kPagePagBradesco = 1 };
enum DadosBancPage { kPageHsbc = 1, kPageCaixa = 2, kPagePagForDta = 3 };

// The 266-position layout, second item of the HSBC layout choice.
constexpr int kLayout266Item = 1;

void show(forms::Notebook& notebook, int page) {
  notebook.setVisible(true);
  notebook.setPageIndex(page);
}

}  // namespace

void CompanySettings::bankChanged() {
  auto& layoutPag = *c_.ntbLayoutPag;
  layoutPag.setVisible(false);
  layoutPag.setTop(kLayoutPagTop);
  const std::string clearing = screen_.bank().codigoCompensacao();
  // The company settings follow the bank only while they are on screen; a failed load
  // leaves the rest of the arrangement as the previous bank had it.
  if (screen_.isCurrent(PlaceId::Companies)) {
    load();
    showVariation(clearing == "001");
    HabDadosFornBanc();
    dtsEmprBancStateChange();
  }
  arrangeCnabPanels(clearing);
}

void CompanySettings::HabDadosFornBanc() {
  if (screen_.bank().codigoCompensacao() != "399") return;
  const bool layout266 = c_.dbrgLayCnab->itemIndex() == kLayout266Item;
  if (layout266) c_.ntbDadosBanc->setPageIndex(kPageHsbc);
  c_.ntbDadosBanc->setVisible(layout266);
  c_.grbFornBanc->setVisible(layout266);
}

void CompanySettings::arrangeCnabPanels(const std::string& clearing) {
  auto& layout = *c_.ntbLayout;
  auto& layoutPag = *c_.ntbLayoutPag;
  auto& dadosBanc = *c_.ntbDadosBanc;
  auto schedulingPattern = [this](bool shown) {
    c_.lblPadrAgend->setVisible(shown);
    c_.cbbPadrAgend->setVisible(c_.lblPadrAgend->visible());
  };
  auto checkBoxes = [this](bool linhaComplementar, bool linhaEmail) {
    c_.ckcLinhaComplemtentar->setVisible(linhaComplementar);
    c_.ckcRegistroSCobranca->setVisible(false);
    c_.ckcLinhaCobEmail->setVisible(linhaEmail);
  };

  // Each code sets only the controls it needs; the others keep what the previous bank
  // left, which is how people who move between these banks know the page.
  if (clearing == "341") {
    show(layout, kPageConcItau);
    show(layoutPag, kPagePagItau);
    layoutPag.setTop(kLayoutPagTop);
    c_.rdbLayoutCnabPag->setVisible(true);
    checkBoxes(true, false);
  } else if (clearing == "237") {
    show(layoutPag, kPagePagBradesco);
    layoutPag.setTop(kLayoutPagTopBradesco);
    show(dadosBanc, kPagePagForDta);
    schedulingPattern(true);
    checkBoxes(false, false);
  } else if (clearing == "399") {
    show(layout, kPageLayoutHsbc);
    layoutPag.setVisible(false);
    schedulingPattern(false);
    checkBoxes(false, false);
  } else if (clearing == "104") {
    show(layout, kPageLayoutCaixa);
    layoutPag.setVisible(false);
    show(dadosBanc, kPageCaixa);
    dadosBanc.setTop(kDadosBancTopCaixa);
    schedulingPattern(false);
    checkBoxes(false, false);
  } else if (clearing == "422") {
    layout.setVisible(false);
    layoutPag.setVisible(false);
    dadosBanc.setVisible(false);
    schedulingPattern(false);
    checkBoxes(false, true);
  } else {
    layout.setVisible(false);
    layoutPag.setVisible(false);
    layoutPag.setTop(kLayoutPagTop);
    dadosBanc.setVisible(false);
    schedulingPattern(false);
    c_.rdbLayoutCnabPag->setVisible(false);
    c_.grbFornBanc->setVisible(false);
    checkBoxes(false, false);
  }
}

}  // namespace qbk::module
