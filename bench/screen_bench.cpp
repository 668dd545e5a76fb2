// bench_screen: the bank screen, headless, as a person uses it, against the real server
// program on a database of many banks, companies and codes. Each action is timed over
// several runs; the figures to watch are the median and the worst against the goal.
//
//   build/bin/bench_screen [BANKS [COMPANIES [CODES [RUNS [SUPPLIERS]]]]]
//                                                  (10000 1000 5000 15 10000)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "forms/buttons.h"
#include "forms/edits.h"
#include "forms/grid.h"
#include "forms/keys.h"
#include "forms/pages.h"
#include "host/config.h"
#include "host/errors_ui.h"
#include "host/local_cache.h"
#include "host/screens/application.h"
#include "host/user_interface_scripted.h"
#include "module/frame/module_entry.h"
#include "module/frame/tfrm_banco.h"
#include "support/server_process.h"
#include "support/temp_dir.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kGoalMs = 50;

// Codes of `width` characters, distinct, in the order the server sorts them.
std::string codeOf(int n, int width) {
  static constexpr std::string_view kSymbols =
      "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  std::string code(width, '0');
  for (int i = width - 1; i >= 0; --i, n /= static_cast<int>(kSymbols.size()))
    code[i] = kSymbols[n % kSymbols.size()];
  return code;
}

// Two printable characters, for the two-character instruction codes.
std::string instructionCode(int n) {
  return {static_cast<char>('!' + n / 94), static_cast<char>('!' + n % 94)};
}

// Fourteen digits, distinct: a CNPJ as the supplier table stores it.
std::string supplierNumber(int n) {
  return std::to_string(10000000000000LL + n);
}

// Banks, companies, and codes in each code table of `bank`, on a database with the schema.
// The first bank is on the 399 clearing house with the 266-position layout, so each company
// names a supplier and every save looks it up.
void fillScreenData(const std::string& path, const std::string& bank, int banks, int companies,
                    int codes, int suppliers) {
  auto c = qbk::db::open(path);
  qbk::db::Transaction tx(*c);
  for (int i = 0, made = 0; made < banks; ++i) {
    const std::string code = codeOf(i, 3);
    if (code == "999") continue;  // the fixed-fund bank is the screen's to create
    c->execute(
        "INSERT INTO BANCO (CDBANCO, NMBANCO, CDPICTAGEN, CDPICTCONT, CDBANCCNAB) "
        "VALUES (?, ?, ?, ?, ?)",
        {code, "Banco de Teste " + code, std::string(made % 2 ? "9999-9" : "9999"),
         std::string("99999999-9"), code == bank ? std::string("399") : code});
    ++made;
  }
  for (int i = 0; i < companies; ++i) {
    const std::string company = codeOf(i, 2);
    c->execute("INSERT INTO EMPRESA (CDEMPRESA, NMEMPRESA) VALUES (?, ?)",
               {company, "Empresa de Teste " + company});
    c->execute(
        "INSERT INTO EMPRBANC (CDEMPRESA, CDBANCO, CDCARTCOBR, IDCARTCOBR, IDLAYOUTCNAB, "
        "NRINSJURFORN, IDTPIJURFORN) VALUES (?, ?, ?, 'S', '266', ?, 'J')",
        {company, bank, std::string("109"), supplierNumber(i % std::max(suppliers, 1))});
  }
  for (int i = 0; i < suppliers; ++i)
    c->execute(
        "INSERT INTO FORNECEDOR (CDFORNECED, NRINSJURFORN, NMFANTFORN, NMRAZSOCFORN, "
        "IDTPIJURFORN, IDSITUCADA) VALUES (?, ?, ?, ?, 'J', 'A')",
        {codeOf(i, 6), supplierNumber(i), "Fornecedor " + codeOf(i, 6),
         "Fornecedor de Teste " + codeOf(i, 6) + " Ltda"});
  for (int i = 0; i < codes; ++i) {
    const std::string code = codeOf(i, 4);
    c->execute("INSERT INTO ERRCNABP (CDBANCO, CDERRCNABP, DSERRCNABP) VALUES (?, ?, ?)",
               {bank, code, "Ocorrência de pagamento " + code});
    c->execute("INSERT INTO ERRCNABR (CDBANCO, CDERRCNABR, DSERRCNABR) VALUES (?, ?, ?)",
               {bank, code, "Ocorrência de recebimento " + code});
    c->execute("INSERT INTO INSTCOBRANCA (CDBANCO, CDINSTCOBR, NMINSTCOBR) VALUES (?, ?, ?)",
               {bank, instructionCode(i), "Instrução " + code});
  }
  tx.commit();
}

struct Row {
  std::string action;
  double median = 0;
  double worst = 0;
};

class Bench {
 public:
  explicit Bench(int runs) : runs_(runs) {}

  // Times `action` `runs` times, with `reset` (untimed) before each run.
  void time(const std::string& name, const std::function<void()>& action,
            const std::function<void()>& reset = {}) {
    std::vector<double> ms;
    for (int i = 0; i < runs_; ++i) {
      if (reset) reset();
      const auto t0 = Clock::now();
      action();
      ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    rows_.push_back({name, ms[ms.size() / 2], ms.back()});
  }

  int report() const {
    int over = 0;
    std::printf("%-48s %10s %10s\n", "action", "median ms", "worst ms");
    for (const Row& r : rows_) {
      std::printf("%-48s %10.2f %10.2f%s\n", r.action.c_str(), r.median, r.worst,
                  r.worst > kGoalMs ? "  over the goal" : "");
      if (r.worst > kGoalMs) ++over;
    }
    std::printf("goal: every action under %.0f ms; %d over\n", kGoalMs, over);
    return over;
  }

 private:
  int runs_;
  std::vector<Row> rows_;
};

// A person's action, through the host's error boundary; a refused one ends the run.
void act(const char* what, const std::function<bool()>& action) {
  bool done = false;
  if (!qbk::host::runGuarded([&] { done = action(); }) || !done) {
    std::fprintf(stderr, "bench_screen: the action \"%s\" was refused\n", what);
    std::exit(2);
  }
}

}  // namespace

int main(int argc, char** argv) {
  using namespace qbk;
  const int banks = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int companies = argc > 2 ? std::atoi(argv[2]) : 1000;
  int codes = argc > 3 ? std::atoi(argv[3]) : 5000;
  const int runs = argc > 4 ? std::atoi(argv[4]) : 15;
  const int suppliers = argc > 5 ? std::atoi(argv[5]) : 10000;

  if (codes > 94 * 94 - 100) codes = 94 * 94 - 100;  // room for the new instructions
  if (!std::getenv("QBK_SERVER_BIN"))
    setenv("QBK_SERVER_BIN", (std::filesystem::path(argv[0]).parent_path() / "qbk-server").c_str(),
           1);
  qbk::testing::TempDir dir;
  const std::string path = dir.file("screen.db");
  // The server gives a new database its schema; the rows go in beside it.
  { qbk::testing::ServerProcess schema(path, false); }
  const std::string bank = "000";  // the first bank: current when the screen opens
  fillScreenData(path, bank, banks, companies, codes, suppliers);
  qbk::testing::ServerProcess server(path, false);

  host::ScriptedUserInterface ui;
  host::UserInterfaceScope uiScope(ui);
  host::Application app;
  host::HostConfig config;
  config.webUrl = "127.0.0.1";
  config.webPort = server.port();
  config.database = path;
  host::setHostConfig(config);
  QbkModuleLoad();

  auto screen = []() -> module::TfrmBanco& { return *module::frmBanco; };
  auto form = [&]() -> forms::Form& { return screen().form(); };
  auto tab = [&](const char* sheet) {
    return [&, sheet] {
      auto& page = form().find<forms::TabSheet>(sheet);
      act(sheet, [&] { return page.pageControl().userSelect(page); });
    };
  };
  auto press = [&](const char* button) {
    act(button, [&] { return form().find<forms::CommandButton>(button).userClick(); });
  };
  auto grid = [&](const char* name, int key, forms::Shift shift = {}) {
    act(name, [&] { return form().find<forms::Grid>(name).keyDown(key, shift); });
  };

  Bench b(runs);
  // Opening: the screen is created, connects, fetches every bank and looks up the
  // fixed-fund bank (inserting it the first time, outside the timing).
  IniProc();
  app.closeUnasked(screen());
  app.processEvents();
  b.time(
      "open and first activation", [] { IniProc(); },
      [&] {
        if (module::frmBanco) {
          app.closeUnasked(screen());
          app.processEvents();
        }
      });

  const forms::Shift ctrl{.ctrl = true};
  auto toFirstBank = [&] { form().find<forms::Grid>("dbgPadrao").keyDown(forms::vk::Home, ctrl); };
  b.time(
      "scroll to the last bank", [&] { grid("dbgPadrao", forms::vk::End, ctrl); }, toFirstBank);
  toFirstBank();

  for (const char* sheet : {"tshFormulario", "tshCNAB", "tshDDA"})
    b.time(std::string("main tab ") + sheet, tab(sheet), tab("tshFolhaDados"));
  b.time("main tab tshFolhaDados", tab("tshFolhaDados"), tab("tshFormulario"));

  tab("tshCNAB")();
  for (const char* sheet : {"tshErroRetornoPag", "tshErroRetornoRec", "tshInstruCobr"})
    b.time(std::string("CNAB sub-tab ") + sheet, tab(sheet), tab("tshDadosEmpr"));
  b.time("CNAB sub-tab tshDadosEmpr", tab("tshDadosEmpr"), tab("tshErroRetornoPag"));

  tab("tshFormulario")();
  int edits = 0;
  b.time("Alterar + Confirmar of a bank", [&] {
    press("sbtAlterar");
    auto& name = form().find<forms::Edit>("dbeBanco");
    name.setText("Banco Alterado " + std::to_string(++edits));
    press("sbtConfirmar");
  });

  // A new instruction typed into its grid: the code is checked against the server when its
  // cell is left and again before the post, then the row is sent.
  tab("tshCNAB")();
  tab("tshInstruCobr")();
  int added = 0;
  auto typeCell = [&](std::string_view text) {
    act("dbgInstruCobr",
        [&] { return form().find<forms::Grid>("dbgInstruCobr").typeText(text) > 0; });
  };
  b.time("Incluir + Confirmar of an instruction", [&] {
    press("sbtIncluir");
    typeCell(instructionCode(codes + added++));
    grid("dbgInstruCobr", forms::vk::Tab);
    typeCell("Instrução nova");
    press("sbtConfirmar");
  });

  struct Place {
    const char* label;
    std::vector<const char*> tabs;
  };
  for (const Place& p : std::vector<Place>{{"list", {"tshFolhaDados"}},
                                           {"Dados Principais", {"tshFormulario"}},
                                           {"companies", {"tshCNAB", "tshDadosEmpr"}},
                                           {"payables codes", {"tshErroRetornoPag"}},
                                           {"receivables codes", {"tshErroRetornoRec"}},
                                           {"instructions", {"tshInstruCobr"}},
                                           {"DDA", {"tshDDA"}}}) {
    for (const char* sheet : p.tabs) tab(sheet)();
    b.time(std::string("Verificar on ") + p.label, [&] { press("sbtVerificar"); });
  }

  // The companies of the first bank.
  tab("tshFolhaDados")();
  toFirstBank();
  tab("tshCNAB")();
  tab("tshDadosEmpr")();
  tab("tshEmpresa")();
  auto toFirstCompany = [&] {
    form().find<forms::Grid>("dbgEmprBanc").keyDown(forms::vk::Home, ctrl);
  };
  b.time(
      "companies: move to the last company", [&] { grid("dbgEmprBanc", forms::vk::End, ctrl); },
      toFirstCompany);
  int wallets = 0;
  b.time("companies: Alterar + Confirmar (supplier look-up)", [&] {
    press("sbtAlterar");
    form().find<forms::Edit>("dbeCarteira").setText(std::to_string(100 + ++wallets % 800));
    press("sbtConfirmar");
  });
  b.time("companies: instruction search", [&] {
    ui.answerChoose(std::nullopt);
    press("btpPesqPriInstru");
  });
  b.time("companies: supplier search", [&] {
    ui.answerChoose(std::nullopt);
    press("btpPesqFornBanc");
  });

  std::printf("%d banks, %d companies, %d codes in each code table, %d suppliers; %d runs\n", banks,
              companies, codes, suppliers, runs);
  const int over = b.report();
  if (!ui.errors().empty()) {
    std::fprintf(stderr, "bench_screen: the screen showed an error: %s\n",
                 ui.errors().front().c_str());
    return 2;
  }
  QbkModuleUnload();
  return over > 0 ? 1 : 0;
}
