// The places of the bank screen, with what each command of the bar does at each.
#include "host/server_calls.h"
#include "module/frame/tfrm_banco.h"
#include "protocol/bank_object.h"

namespace qbk::module {

void TfrmBanco::buildPlaces() {
  BankRecord& b = bank_;
  CompanySettings& cn = cnab_;
  CodeTables& cd = codes_;
  DdaSettings& d = dda_;
  const auto bankActions = [this, &b] {
    return PlaceActions{.incluir = [&b] { b.incluir(); },
                        .alterar = [&b] { b.alterar(); },
                        .confirmar = [&b] { b.confirmar(); },
                        .cancelar = [&b] { b.cdsBanco.cancel(); },
                        .excluir = [&b] { b.excluir(); },
                        .procurar = [this] { TfrmPadrao::sbtProcurarClick(); },
                        .verificar = [this, &b] { fetch(b.cdsBanco, protocol::method::GetBanco); },
                        .stateChanged = [this] { dtsPadraoStateChange(); }};
  };
  const auto codeActions = [&cd, &b](PlaceId id) {
    return PlaceActions{.incluir = [&cd, id] { cd.incluir(id); },
                        .alterar = [&cd, id] { cd.alterar(id); },
                        .confirmar = [&cd, id] { cd.confirmar(id); },
                        .cancelar = [&cd, id] { cd.cancelar(id); },
                        .excluir = [&cd, id] { cd.excluir(id); },
                        .procurar = [&cd, id] { cd.procurar(id); },
                        .verificar = [&cd, id] { cd.verificar(id); },
                        .stateChanged = [&cd] { cd.Controle_Butoes(); }};
  };

  places_.add(
      {PlaceId::List, "tshFolhaDados", "", "mnuFolhaDados", &b.cdsBanco, false, bankActions()});
  places_.add(
      {PlaceId::Form, "tshFormulario", "", "mnuFormulario", &b.cdsBanco, true, bankActions()});
  places_.add({PlaceId::Companies,
               "tshCNAB",
               "tshDadosEmpr",
               "mnuDadosEmpr",
               &cn.cdsEmprBanc,
               true,
               {.alterar = [&cn] { cn.alterar(); },
                .confirmar = [&cn] { cn.confirmar(); },
                .cancelar = [&cn] { cn.cancelar(); },
                // Companies come from the company table: nothing is deleted here.
                .excluir = [&b] { b.refuseFixedFundDeletion(); },
                .procurar = [&cn] { cn.procurar(); },
                .verificar = [&cn] { cn.verificar(); },
                .stateChanged = [&cn] { cn.dtsEmprBancStateChange(); }}});
  places_.add({PlaceId::Payables, "tshCNAB", "tshErroRetornoPag", "mnuErroRetornoPag",
               &cd.cdsErrCnabPag, true, codeActions(PlaceId::Payables)});
  places_.add({PlaceId::Receivables, "tshCNAB", "tshErroRetornoRec", "mnuErroRetornoRec",
               &cd.cdsErrCnabRec, true, codeActions(PlaceId::Receivables)});
  PlaceActions instructions = codeActions(PlaceId::Instructions);
  instructions.confirmar = [&cd] { cd.confirmarInstrucao(); };
  instructions.cancelar = [&cd] { cd.cancelarInstrucao(); };
  instructions.excluir = [&cd, &b] {
    // An instruction of the fixed-fund bank is no more deleted than the bank itself.
    b.refuseFixedFundDeletion();
    cd.excluir(PlaceId::Instructions);
  };
  places_.add({PlaceId::Instructions, "tshCNAB", "tshInstruCobr", "mnuInstruCobr",
               &cd.cdsInstruCobr, true, std::move(instructions)});
  PlaceActions dda = bankActions();
  dda.alterar = [&d] { d.alterar(); };
  dda.confirmar = [&d] { d.confirmar(); };
  dda.cancelar = [&d] { d.cancelar(); };
  dda.verificar = [&d] { d.verificar(); };
  dda.stateChanged = [&d] { d.dtsDDAStateChange(); };
  places_.add({PlaceId::DDA, "tshDDA", "", "", &d.cdsDDA, true, std::move(dda)});
}

}  // namespace qbk::module
