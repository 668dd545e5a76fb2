// Record search, list picker and search button, answered by the scripted person.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "db/connection.h"
#include "forms/buttons.h"
#include "host/query.h"
#include "host/screens/application.h"
#include "host/search.h"
#include "host/user_interface_scripted.h"
#include "support/temp_dir.h"

namespace qbk::host {
namespace {

using data::FieldType;

class SearchTest : public ::testing::Test {
 protected:
  SearchTest() {
    banks.addField("CDBANCO", FieldType::String, 3).displayLabel = "Código";
    banks.addField("NMBANCO", FieldType::String, 30).displayLabel = "Nome";
    banks.addField("QTDIAS", FieldType::Float).visible = false;
    banks.setData(data::Packet{banks.fieldDefs(),
                               {{std::string("001"), std::string("Banco do Brasil"), 1.0},
                                {std::string("237"), std::string("Bradesco"), 2.0},
                                {std::string("3'4"), data::Value{}, 3.0}}});
  }

  data::RecordSet banks{"cdsBanco"};
  data::DataSource source{"dtsBanco", &banks};
  ScriptedUserInterface ui;
  UserInterfaceScope scope{ui};
};

TEST_F(SearchTest, procuraListsTheVisibleFieldsAndMovesToTheChosenRecord) {
  int scrolls = 0;
  banks.afterScroll = [&](data::RecordSet&) { ++scrolls; };
  ui.answerChoose(1);
  EXPECT_TRUE(Procura(banks));
  EXPECT_EQ(banks.fieldByName("CDBANCO").asString(), "237");
  EXPECT_EQ(scrolls, 1) << "listing the rows does not walk through the set";
  const UiEvent asked = ui.events(UiEventKind::Choose).at(0);
  EXPECT_EQ(asked.text, "Procurar");
  EXPECT_EQ(asked.columns, (std::vector<std::string>{"Código", "Nome"}));
  EXPECT_EQ(asked.rows,
            (std::vector<ChoiceRow>{{"001", "Banco do Brasil"}, {"237", "Bradesco"}, {"3'4", ""}}));

  ui.answerChoose(std::nullopt);
  EXPECT_FALSE(Procura(banks));
  EXPECT_EQ(banks.recNo(), 2) << "a cancel changes nothing";

  banks.edit();
  EXPECT_FALSE(Procura(banks)) << "an edit is never posted or dropped by a search";
  EXPECT_EQ(banks.state(), data::DataSetState::Edit);
  ui.verifyDone();
}

TEST_F(SearchTest, pesquisaListaLeavesTheChosenKeysAsAnSqlList) {
  std::string list = "'237'";
  ui.answerChooseMany(std::vector<int>{0, 2});
  EXPECT_TRUE(PesquisaLista(source, "CDBANCO", "Banco", false, list));
  EXPECT_EQ(list, "'001','3''4'") << "a quote inside a key is doubled";
  const UiEvent asked = ui.events(UiEventKind::ChooseMany).at(0);
  EXPECT_EQ(asked.text, "Banco");
  EXPECT_EQ(asked.preselected, (std::vector<int>{1})) << "the list chosen before starts ticked";
  EXPECT_EQ(splitKeyList(list), (std::vector<std::string>{"001", "3'4"}));

  ui.answerChooseMany(std::nullopt);
  EXPECT_FALSE(PesquisaLista(source, "CDBANCO", "Banco", false, list));
  EXPECT_EQ(list, "'001','3''4'") << "a cancel leaves the list";

  ui.answerChooseMany(std::vector<int>{1});
  PesquisaLista(source, "CDBANCO", "Banco", true, list);
  EXPECT_EQ(list, "237");
  EXPECT_EQ(banks.recNo(), 1) << "the picker does not move the current record";

  banks.setData(data::Packet{banks.fieldDefs(), {}});
  EXPECT_FALSE(PesquisaLista(source, "CDBANCO", "Banco", false, list));
  EXPECT_EQ(ui.events(UiEventKind::Info).at(0).text, "Não há registros para mostrar.");
  EXPECT_EQ(list, "237");
  ui.verifyDone();
}

// A screen with search buttons over a direct query and over a client set.
class SearchButtonTest : public ::testing::Test {
 protected:
  class PickScreen : public Screen {
   public:
    using Screen::Screen;
    std::string resourceName() const override { return "TfrmPick"; }
    void registerDataSources(forms::FormBuilder& b) override {
      b.addDataSource("dtsBanco__", &dtsBanco);
      b.addDataSource("dtsVazio", &dtsVazio);
    }
    TADOIBQuery qryBanco{"qryBanco"};
    data::DataSource dtsBanco{"dtsBanco__", &qryBanco};
    data::RecordSet cdsVazio{"cdsVazio"};
    data::DataSource dtsVazio{"dtsVazio", &cdsVazio};
  };

  SearchButtonTest() {
    auto conn = db::open((dir / "pick.sqlite").string());
    conn->executeScript(
        "CREATE TABLE BANCO (CDBANCO VARCHAR(3), NMBANCO VARCHAR(30));"
        "INSERT INTO BANCO VALUES ('001', 'Banco do Brasil');"
        "INSERT INTO BANCO VALUES ('237', 'Bradesco')");
    app.setSharedDatabase(std::move(conn));
    app.builder().addResource("TfrmPick", R"({"controls": [
      {"class": "TRadioButton", "name": "rbtBancoLista", "caption": "Lista"},
      {"class": "TBtnPesquisa", "name": "BtpBanco", "title": "Banco", "dataSource": "dtsBanco__",
       "associate": "rbtBancoLista"},
      {"class": "TBtnPesquisa", "name": "BtpVazio", "title": "Vazio", "dataSource": "dtsVazio",
       "emptyMessage": "Não há banco cadastrado."}
    ]})");
    app.registerScreen("TfrmPick", [](Application& a) { return std::make_unique<PickScreen>(a); });
    screen = &app.create<PickScreen>("TfrmPick");
    screen->qryBanco.SQL = "SELECT CDBANCO, NMBANCO FROM BANCO ORDER BY CDBANCO";
    screen->qryBanco.addField("CDBANCO", FieldType::String, 3).displayLabel = "Código";
    screen->qryBanco.addField("NMBANCO", FieldType::String, 30).displayLabel = "Nome";
  }
  ~SearchButtonTest() override {
    app.closeAll();
    app.processEvents();
    app.setSharedDatabase(nullptr);
  }

  forms::SearchButton& button(const char* name) {
    return screen->form().find<forms::SearchButton>(name);
  }

  ::qbk::testing::TempDir tmp;
  const std::filesystem::path dir = tmp.path();
  ScriptedUserInterface ui;
  UserInterfaceScope scope{ui};
  Application app;
  PickScreen* screen = nullptr;
};

TEST_F(SearchButtonTest, beforeSearchCanStopAndAChoiceRunsAfterSearchOnTheChosenRow) {
  std::vector<std::string> log;
  bool allow = false;
  auto& b = button("BtpBanco");
  b.beforeSearch = [&](forms::SearchButton&, bool& ok) {
    log.push_back("before");
    ok = allow;
  };
  b.afterSearch = [&](forms::SearchButton&) {
    log.push_back("after " + screen->qryBanco.fieldByName("CDBANCO").asString());
  };

  EXPECT_TRUE(b.userClick());
  EXPECT_EQ(log, (std::vector<std::string>{"before"}));
  EXPECT_FALSE(screen->qryBanco.active()) << "stopped before the query ran";

  allow = true;
  ui.answerChoose(1);
  b.userClick();
  EXPECT_EQ(log, (std::vector<std::string>{"before", "before", "after 237"}));
  const UiEvent asked = ui.events(UiEventKind::Choose).at(0);
  EXPECT_EQ(asked.text, "Banco");
  EXPECT_EQ(asked.columns, (std::vector<std::string>{"Código", "Nome"}));
  EXPECT_EQ(asked.rows.size(), 2u);

  ui.answerChoose(std::nullopt);
  b.userClick();
  EXPECT_EQ(log.back(), "before") << "a cancel runs no after-search";
  ui.verifyDone();
}

TEST_F(SearchButtonTest, anEmptyListShowsTheButtonsMessageAndAScreenMayReplaceTheClick) {
  bool after = false;
  button("BtpVazio").afterSearch = [&](forms::SearchButton&) { after = true; };
  screen->cdsVazio.addField("CD", FieldType::String, 3);
  screen->cdsVazio.setData(data::Packet{screen->cdsVazio.fieldDefs(), {}});
  button("BtpVazio").userClick();
  EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Não há banco cadastrado."}));
  EXPECT_FALSE(after);

  int own = 0;
  button("BtpBanco").onClick = [&](forms::CommandButton&) { ++own; };
  button("BtpBanco").userClick();
  EXPECT_EQ(own, 1);
  EXPECT_TRUE(ui.events(UiEventKind::Choose).empty());
}

}  // namespace
}  // namespace qbk::host
