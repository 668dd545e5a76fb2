// What the company-settings tests share: the screen on a bank's "Dados por Empresa"
// sub-tab, a company row put into edit through the controls, and the row as saved.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>

#include "host/config.h"
#include "host/errors_ui.h"
#include "scenario/bank_screen_fixture.h"
#include "scenario/call_recorder.h"

namespace qbk::module::testing {

class CompanySettingsTest : public BankScreenTest {
 protected:
  // The screen on the demo data (changed by the statements of `prepare`, separated by
  // ";"), every call kept when `recorded`.
  TfrmBanco& open(const std::string& prepare = "", bool recorded = false) {
    startServer();
    for (std::size_t from = 0; from < prepare.size();) {
      const std::size_t end = std::min(prepare.find(';', from), prepare.size());
      if (end > from) exec(prepare.substr(from, end - from));
      from = end + 1;
    }
    if (recorded) {
      recorder = std::make_unique<CallRecorder>(host::hostConfig().webPort);
      host::HostConfig config = host::hostConfig();
      config.webPort = recorder->port();
      host::setHostConfig(config);
    }
    return openScreen();
  }
  // Makes a bank current with the bank navigator, as a person does from any tab.
  bool toBank(std::string_view code) {
    auto& nav = ctl<forms::Navigator>("dbnPadrao");
    const auto& banks = screen().bank().cdsBanco;
    bool moved = false;
    if (!host::runGuarded([&] { moved = nav.press(forms::NavButton::First); })) return false;
    while (banks.fieldByName("CDBANCO").asString() != code) {
      moved = false;
      if (!host::runGuarded([&] { moved = nav.press(forms::NavButton::Next); }) || !moved)
        return false;
    }
    return true;
  }
  // The bank's companies on screen, on the inner tab "Empresa".
  bool companiesOf(std::string_view bank) { return toBank(bank) && choose("mnuEmpresa"); }
  // The company's row of the bank, into edit with Alterar (which shows "Dados").
  bool editCompany(std::string_view bank, std::string_view company = "01") {
    if (!companiesOf(bank) || !toCompany(company)) return false;
    return press("sbtAlterar") && screen().cnab().cdsEmprBanc.state() == data::DataSetState::Edit;
  }
  bool toCompany(std::string_view company) {
    const auto& rs = screen().cnab().cdsEmprBanc;
    for (int guard = 0; guard < 50 && rs.fieldByName("CDEMPRESA").asString() != company; ++guard) {
      const int before = rs.recNo();
      if (!keyDown("dbgEmprBanc", company > rs.fieldByName("CDEMPRESA").asString()
                                      ? forms::vk::Down
                                      : forms::vk::Up) ||
          rs.recNo() == before)
        return false;
    }
    return rs.fieldByName("CDEMPRESA").asString() == company;
  }

  bool focusOn(std::string_view name) {
    return host::runGuarded([&] { ctl(name).setFocus(); });
  }
  // Leaves an edit as a person does: the focus goes to the wallet number.
  bool leave() { return focusOn("dbeCarteira"); }
  bool setText(std::string_view edit, const std::string& value) {
    return host::runGuarded([&] { ctl<forms::Edit>(edit).setText(value); });
  }
  bool pick(std::string_view list, int index) {
    bool picked = false;
    const bool done =
        host::runGuarded([&] { picked = ctl<forms::ComboBox>(list).userPick(index); });
    return done && picked;
  }
  const forms::Control* focused() const { return screen().form().activeControl(); }
  std::string focusName() const { return focused() ? std::string(focused()->name()) : ""; }
  std::string text(std::string_view edit) const { return ctl<forms::Edit>(edit).text(); }
  data::Field& field(std::string_view name) const {
    return screen().cnab().cdsEmprBanc.fieldByName(name);
  }

  // A column of the saved row: "<null>" for null, "<sem linha>" when there is no row.
  std::string stored(const std::string& column, const std::string& bank,
                     const std::string& company = "01") {
    const db::Result r = query(
        "SELECT " + column + " FROM EMPRBANC WHERE CDBANCO = ? AND CDEMPRESA = ?", {bank, company});
    if (r.rows.empty()) return "<sem linha>";
    const auto* s = std::get_if<std::string>(&r.rows.at(0).at(0));
    if (s) return *s;
    if (const auto* d = std::get_if<double>(&r.rows.at(0).at(0)))
      return std::to_string(static_cast<int>(*d));
    return "<null>";
  }

  std::unique_ptr<CallRecorder> recorder;
};

}  // namespace qbk::module::testing
