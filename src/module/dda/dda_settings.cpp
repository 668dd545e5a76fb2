// The DDA settings as a part of the bank screen: loading them when their tab comes to the
// front, the command bar and the tab locking while they are edited, the local directory
// check, and the send of a saved change.
#include "module/dda/dda_settings.h"

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

#include "host/errors_ui.h"
#include "host/server_calls.h"
#include "host/strings.h"
#include "host/user_interface.h"
#include "module/frame/field_specs.h"
#include "module/frame/tfrm_banco.h"
#include "protocol/bank_object.h"

namespace qbk::module {

using data::DataSetState;
namespace method = protocol::method;

DdaSettings::DdaSettings(TfrmBanco& screen) : ScreenPart(screen) {
  declareFields(cdsDDA, protocol::packets::dda,
                {.listed = {"DSDIRIMPARQDDA", "DSEMAILDDA", "DSDIRIMPARQDDALOCAL"}});
}

void DdaSettings::registerDataSources(forms::FormBuilder& b) {
  b.addDataSource(dtsDDA.name(), &dtsDDA);
}

void DdaSettings::bind(const forms::Form& form) {
  c_.resolve(form);
  cdsDDA.afterPost = [this](data::RecordSet&) { cdsDDAAfterPost(); };
  dtsDDA.onStateChange = [this](data::DataSource&) { dtsDDAStateChange(); };
  c_.dbeDirLocal->onExit = [this](forms::Control&) { vd_diretorio(); };
  // The host's own search of these buttons lists a data source; they pick directories.
  c_.btnArqDDA->onClick = [this](forms::CommandButton&) { btnArqDDAClick(); };
  c_.BtnPesDirLocas->onClick = [this](forms::CommandButton&) { sbtArquivoClick(); };
  c_.btnArqDDA->afterSearch = [this](forms::SearchButton&) { btnArqDDAAfterPesq(); };
  c_.BtnPesDirLocas->afterSearch = [this](forms::SearchButton&) { BtnPesDirLocasAfterPesq(); };
}

void DdaSettings::shown(PlaceId) {
  load();
}

void DdaSettings::load() {
  const std::string flag = host::fetchFlaggedInto(screen_.netBanco, cdsDDA, method::GetBancoDDA,
                                                  {screen_.bank().codigoBanco()});
  // The data stays loaded: the person may correct the directory right here.
  if (flag == "N")
    screen_.msgPadrao.ShowMsg("Dir_N_Existe", host::MsgType::Warning, host::MsgButtons::OK, 0);
}

void DdaSettings::alterar() {
  c_.dbeDirDDA->setFocus();
  cdsDDA.edit();
}

void DdaSettings::confirmar() {
  cdsDDA.edit();
  vd_diretorio();
  cdsDDA.post();
}

void DdaSettings::cancelar() {
  cdsDDA.cancel();
}

void DdaSettings::verificar() {
  // Reading the banks makes the first one current, under the settings of the one shown.
  BankRecord& bank = screen_.bank();
  const std::string shownBank = bank.codigoBanco();
  try {
    screen_.fetch(bank.cdsBanco, method::GetBanco);
    bank.cdsBanco.locate({"CDBANCO"}, {data::Value(shownBank)});
    // A row being typed stays as it is; it is read again once confirmed or cancelled.
    if (!cdsDDA.editing()) load();
  } catch (...) {
    dtsDDAStateChange();
    throw;
  }
  // Reading the banks ran the bank list's rules, which are not this tab's.
  dtsDDAStateChange();
}

void DdaSettings::dtsDDAStateChange() {
  forms::Form::UpdateLock freeze(screen_.form());
  const DataSetState state = cdsDDA.state();
  const bool edit = state == DataSetState::Edit;

  screen_.bank().setModelEditEnabled(!edit);
  screen_.setCommandEnabled("Confirmar", edit);
  screen_.setCommandEnabled("Cancelar", edit);
  for (const char* command : {"Incluir", "Excluir", "Procurar", "Ordenar"})
    screen_.setCommandEnabled(command, false);
  screen_.setCommandEnabled("Alterar", state == DataSetState::Browse && !cdsDDA.isEmpty());
  // The DDA row belongs to the current bank: the bank must not change under it.
  c_.dbnPadrao->setEnabled(false);
  screen_.lockWays();
}

void DdaSettings::vd_diretorio() {
  const std::string& dir = c_.dbeDirLocal->text();
  std::error_code ec;
  if (host::EmptyString(dir) || std::filesystem::is_directory(dir, ec)) return;
  c_.dbeDirLocal->setFocus();
  host::MensErro(screen_.msgPadrao.Msg("dire_inv"), true);
}

void DdaSettings::pickDirectory(forms::DBEdit& edit, const char* field) {
  try {
    const std::optional<std::string> chosen =
        host::userInterface().selectDirectory(edit.text(), true);
    if (!chosen) return;
    // The field would keep a cut path, which names another directory: refused, field kept.
    const data::Field& target = cdsDDA.fieldByName(field);
    if (const std::size_t length = data::utf8Length(*chosen);
        length > static_cast<std::size_t>(target.size())) {
      host::MensErro("O diretório escolhido tem " + std::to_string(length) +
                         " caracteres; o campo aceita no máximo " + std::to_string(target.size()) +
                         ". Escolha um caminho mais curto.",
                     false);
      return;
    }
    cdsDDA.edit();
    edit.setText(*chosen);
    cdsDDA.fieldByName(field).setString(edit.text());
  } catch (const host::Abort&) {
    // Already shown.
  } catch (const Error& e) {
    // The failure's own text: the system's last error would name some earlier call.
    host::MensErro(e.what(), false);
  }
}

void DdaSettings::btnArqDDAClick() {
  pickDirectory(*c_.dbeDirLocal, "DSDIRIMPARQDDALOCAL");
}

void DdaSettings::sbtArquivoClick() {
  pickDirectory(*c_.dbeDirDDA, "DSDIRIMPARQDDA");
}

void DdaSettings::btnArqDDAAfterPesq() {
  if (cdsDDA.state() == DataSetState::Browse) cdsDDA.edit();
}

void DdaSettings::BtnPesDirLocasAfterPesq() {
  btnArqDDAAfterPesq();
}

void DdaSettings::cdsDDAAfterPost() {
  // The settings are columns of BANCO: the host's copy of the banks is stale as well.
  screen_.apply(cdsDDA, {.method = method::SetBancoDDA,
                         .cacheName = protocol::cache::EmprBanc,
                         .extraCacheNames = {protocol::cache::Banco},
                         .finish = {host::Finish::Hide, host::Finish::Repaint, host::Finish::Merge,
                                    host::Finish::Cache}});
}

}  // namespace qbk::module
