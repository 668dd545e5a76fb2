// What follows the current bank: the company CNAB settings while they are on screen, the
// agency check box, and the CNAB panels of the bank's clearing house.
#include "forms/choices.h"
#include "forms/edits.h"
#include "forms/pages.h"
#include "forms/static_controls.h"
#include "module/bank/programmatic_change.h"
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

}  // namespace

void TfrmBanco::cdsBancoAfterScroll() {
  auto& layoutPag = ctl<forms::Notebook>("ntbLayoutPag");
  layoutPag.setVisible(false);
  layoutPag.setTop(kLayoutPagTop);

  const std::string clearing = cdsBanco.fieldByName("CDBANCCNAB").asString();
  // The company settings follow the bank only while they are on screen; a failed load
  // leaves the rest of the arrangement as the previous bank had it.
  if (mainTabIs("tshCNAB") && cnabSubTabIs("tshDadosEmpr")) {
    host::fetchInto(netBanco, cdsEmprBanc, "GetEmprBanc", {codigoBanco()});
    const bool variation = clearing == "001";
    auto& label = ctl<forms::Label>("lblVarCartCob");
    if (label.visible() != variation) {
      label.setVisible(variation);
      ctl<forms::Edit>("dbeVarCartCob").setVisible(variation);
    }
    HabDadosFornBanc();
    dtsEmprBancStateChange();
  }

  if (!cdsBanco.editing()) syncAgencyCheckBox();
  arrangeCnabPanels(clearing);
}

void TfrmBanco::syncAgencyCheckBox() {
  ProgrammaticChange mark(cdsBanco);
  ctl<forms::CheckBox>("chkVerifAgen")
      .setChecked(cdsBanco.fieldByName("CDPICTAGEN").asString().find('-') != std::string::npos);
}

void TfrmBanco::HabDadosFornBanc() {
  if (cdsBanco.fieldByName("CDBANCCNAB").asString() != "399") return;
  auto& dadosBanc = ctl<forms::Notebook>("ntbDadosBanc");
  auto& fornBanc = ctl<forms::Control>("grbFornBanc");
  const bool layout266 = ctl<forms::RadioGroup>("dbrgLayCnab").itemIndex() == kLayout266Item;
  if (layout266) dadosBanc.setPageIndex(kPageHsbc);
  dadosBanc.setVisible(layout266);
  fornBanc.setVisible(layout266);
}

void TfrmBanco::arrangeCnabPanels(const std::string& clearing) {
  auto& layout = ctl<forms::Notebook>("ntbLayout");
  auto& layoutPag = ctl<forms::Notebook>("ntbLayoutPag");
  auto& dadosBanc = ctl<forms::Notebook>("ntbDadosBanc");
  auto& layoutCnabPag = ctl<forms::Control>("rdbLayoutCnabPag");
  auto& fornBanc = ctl<forms::Control>("grbFornBanc");
  auto& linhaComplementar = ctl<forms::Control>("ckcLinhaComplemtentar");
  auto& registroS = ctl<forms::Control>("ckcRegistroSCobranca");
  auto& linhaEmail = ctl<forms::Control>("ckcLinhaCobEmail");
  auto schedulingPattern = [this](bool shown) {
    auto& label = ctl<forms::Control>("lblPadrAgend");
    label.setVisible(shown);
    ctl<forms::Control>("cbbPadrAgend").setVisible(label.visible());
  };
  auto show = [](forms::Notebook& notebook, int page) {
    notebook.setVisible(true);
    notebook.setPageIndex(page);
  };

  // Each code sets only the controls it needs; the others keep what the previous bank
  // left, which is how people who move between these banks know the page.
  if (clearing == "341") {
    show(layout, kPageConcItau);
    show(layoutPag, kPagePagItau);
    layoutPag.setTop(kLayoutPagTop);
    layoutCnabPag.setVisible(true);
    linhaComplementar.setVisible(true);
    registroS.setVisible(false);
    linhaEmail.setVisible(false);
  } else if (clearing == "237") {
    show(layoutPag, kPagePagBradesco);
    layoutPag.setTop(kLayoutPagTopBradesco);
    show(dadosBanc, kPagePagForDta);
    schedulingPattern(true);
    linhaComplementar.setVisible(false);
    registroS.setVisible(false);
    linhaEmail.setVisible(false);
  } else if (clearing == "399") {
    show(layout, kPageLayoutHsbc);
    layoutPag.setVisible(false);
    schedulingPattern(false);
    linhaComplementar.setVisible(false);
    registroS.setVisible(false);
    linhaEmail.setVisible(false);
  } else if (clearing == "104") {
    show(layout, kPageLayoutCaixa);
    layoutPag.setVisible(false);
    show(dadosBanc, kPageCaixa);
    dadosBanc.setTop(kDadosBancTopCaixa);
    schedulingPattern(false);
    linhaComplementar.setVisible(false);
    registroS.setVisible(false);
    linhaEmail.setVisible(false);
  } else if (clearing == "422") {
    layout.setVisible(false);
    layoutPag.setVisible(false);
    dadosBanc.setVisible(false);
    schedulingPattern(false);
    linhaComplementar.setVisible(false);
    registroS.setVisible(false);
    linhaEmail.setVisible(true);
  } else {
    layout.setVisible(false);
    layoutPag.setVisible(false);
    layoutPag.setTop(kLayoutPagTop);
    dadosBanc.setVisible(false);
    schedulingPattern(false);
    layoutCnabPag.setVisible(false);
    fornBanc.setVisible(false);
    linhaComplementar.setVisible(false);
    registroS.setVisible(false);
    linhaEmail.setVisible(false);
  }
}

}  // namespace qbk::module
