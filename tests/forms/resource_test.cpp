// Screens built from form resources: a base screen plus a derived overlay, data sources
// resolved by name, and every mistake in a resource refused with its name.
#include "forms/resource.h"

#include <gtest/gtest.h>

#include <string>

#include "data/data_source.h"
#include "data/record_set.h"
#include "forms/buttons.h"
#include "forms/choices.h"
#include "forms/edits.h"
#include "forms/grid.h"
#include "forms/menus.h"
#include "forms/navigator.h"
#include "forms/pages.h"
#include "forms/static_controls.h"
#include "support/expect_throw.h"

namespace qbk::forms {
namespace {

constexpr const char* kBase = R"({
  "class": "TfrmPadrao", "name": "frmPadrao", "caption": "Padrão",
  "left": 0, "top": 0, "width": 640, "height": 480,
  "controls": [
    {"class": "TPanel", "name": "panMenu", "controls": [
      {"class": "TSpeedButton", "name": "sbtIncluir", "hint": "Incluir", "menuItem": "mnuIncluir"},
      {"class": "TSpeedButton", "name": "sbtImprimir", "hint": "Imprimir", "left": 200}
    ]},
    {"class": "TPageControl", "name": "pgcPadrao", "activePage": "tshFormulario", "controls": [
      {"class": "TTabSheet", "name": "tshFolhaDados", "caption": "Lista", "controls": [
        {"class": "TDBGrid", "name": "dbgPadrao", "dataSource": "dtsPadrao", "readOnly": true,
         "options": ["titles", "rowSelect", "confirmDelete"],
         "columns": [{"fieldName": "CDBANCO", "width": 60}, {"fieldName": "NMBANCO", "title": "Banco"}]}
      ]},
      {"class": "TTabSheet", "name": "tshFormulario", "caption": "Formulário"}
    ]},
    {"class": "TDBNavigator", "name": "dbnPadrao", "dataSource": "dtsPadrao",
     "visibleButtons": ["First", "Prior", "Next", "Last"]},
    {"class": "TMainMenu", "name": "mnuPrincipal", "items": [
      {"name": "mnuOperacao", "caption": "&Operação", "items": [
        {"name": "mnuFolhaDados", "caption": "&Lista", "checked": true}
      ]},
      {"name": "mnuManutencao", "caption": "&Manutenção", "items": [
        {"name": "mnuIncluir", "caption": "&Incluir", "shortcut": "Ins"}
      ]}
    ]}
  ]
})";

constexpr const char* kBank = R"({
  "inherit": "TfrmPadrao", "class": "TfrmBanco", "name": "frmBanco", "caption": "Banco",
  "controls": [
    {"inherited": "tshFormulario", "caption": "Dados Principais", "controls": [
      {"class": "TLabel", "name": "lblCodigo", "caption": "Código", "enabled": false},
      {"class": "TDBEdit", "name": "dbeCodigo", "dataSource": "dtsPadrao", "dataField": "CDBANCO",
       "left": 8, "top": 24, "width": 40, "tabOrder": 0},
      {"class": "TCheckBox", "name": "chkVerifAgen", "caption": "Ultiliza Dígito Verificador Agência",
       "checked": true},
      {"class": "TDBRadioGroup", "name": "dbrgLayCnab", "caption": "Layout CNAB",
       "dataSource": "dtsPadrao", "dataField": "IDLAYOUTCNAB", "values": ["240", "266"],
       "items": ["Arquivo de 240 posições", "Arquivo de 266 posições"]}
    ]},
    {"inherited": "pgcPadrao", "class": "TPageControl", "controls": [
      {"class": "TTabSheet", "name": "tshCNAB", "caption": "CNAB", "tabVisible": false}
    ]},
    {"class": "TSpeedButton", "name": "sbtEdit", "parent": "panMenu", "hint": "Editar Modelo",
     "enabled": false, "menuItem": "mnuEdit", "left": 150},
    {"inherited": "sbtImprimir", "left": 260},
    {"inherited": "mnuManutencao", "items": [
      {"name": "N1", "caption": "-"},
      {"name": "mnuEdit", "caption": "Editar &Modelo", "shortcut": "Ctrl+E"}
    ]}
  ]
})";

class ResourceTest : public ::testing::Test {
 protected:
  ResourceTest() {
    banks.addField("CDBANCO", data::FieldType::String, 3).displayLabel = "Código";
    banks.addField("NMBANCO", data::FieldType::String, 40);
    banks.addField("IDLAYOUTCNAB", data::FieldType::String, 3);
    banks.setData(
        data::Packet{banks.fieldDefs(),
                     {{std::string("001"), std::string("Banco do Brasil"), std::string("266")}}});
    builder.addDataSource("dtsPadrao", &source);
    builder.addResource("TfrmPadrao", kBase);
  }

  data::RecordSet banks{"cdsBanco"};
  data::DataSource source{"dtsPadrao", &banks};
  FormBuilder builder;
};

TEST_F(ResourceTest, derivedScreenIsTheBasePlusItsOverlay) {
  auto form = builder.build(kBank);
  EXPECT_EQ(form->className(), "TfrmBanco");
  EXPECT_EQ(form->name(), "frmBanco");
  EXPECT_EQ(form->caption(), "Banco");
  EXPECT_EQ(form->width(), 640) << "geometry of the base stays";

  auto& pages = form->find<PageControl>("pgcPadrao");
  ASSERT_EQ(pages.pages().size(), 3u);
  EXPECT_EQ(pages.pages()[2]->name(), "tshCNAB");
  EXPECT_FALSE(pages.pages()[2]->tabVisible());
  EXPECT_EQ(pages.activePage()->caption(), "Dados Principais");

  auto& edit = form->find<CommandButton>("sbtEdit");
  EXPECT_EQ(edit.parent()->name(), "panMenu");
  EXPECT_FALSE(edit.enabled());
  EXPECT_EQ(edit.menuItem(), &form->find<MenuItem>("mnuEdit"));
  EXPECT_EQ(form->find<CommandButton>("sbtImprimir").left(), 260);
  EXPECT_EQ(form->find<CommandButton>("sbtIncluir").menuItem(),
            &form->find<MenuItem>("mnuIncluir"));
  EXPECT_TRUE(form->find<MenuItem>("mnuFolhaDados").checked());
  EXPECT_TRUE(form->find<MenuItem>("N1").isSeparator());
  EXPECT_TRUE(form->find<CheckBox>("chkVerifAgen").checked());
  EXPECT_FALSE(form->find<Label>("lblCodigo").enabled());

  int clicked = 0;
  form->find<MenuItem>("mnuEdit").onClick = [&](MenuItem&) { ++clicked; };
  EXPECT_TRUE(form->shortcut('E', Shift{.ctrl = true}));
  EXPECT_EQ(clicked, 1);

  auto base = builder.buildResource("TfrmPadrao");
  EXPECT_EQ(base->tryFindControl("sbtEdit"), nullptr) << "the base resource is unchanged";
  EXPECT_EQ(base->find<CommandButton>("sbtImprimir").left(), 200);
}

TEST_F(ResourceTest, dataAwareControlsAreBoundThroughTheRegistry) {
  auto form = builder.build(kBank);
  EXPECT_EQ(form->find<DBEdit>("dbeCodigo").text(), "001");
  EXPECT_EQ(form->find<DBRadioGroup>("dbrgLayCnab").itemIndex(), 1)
      << "items after values in the document still resolve";

  auto& grid = form->find<Grid>("dbgPadrao");
  EXPECT_EQ(grid.columnTitle(0), "Código");
  EXPECT_EQ(grid.columnTitle(1), "Banco");
  EXPECT_TRUE(grid.readOnly());
  EXPECT_TRUE(grid.options().rowSelect);
  EXPECT_FALSE(grid.options().editing) << "listed options replace the defaults";
  EXPECT_EQ(grid.cellText(0, 1), "Banco do Brasil");

  auto& nav = form->find<Navigator>("dbnPadrao");
  EXPECT_EQ(nav.visibleButtons().size(), 4u);
  EXPECT_FALSE(nav.visibleButtons().contains(NavButton::Delete));
}

TEST_F(ResourceTest, mistakesAreRefusedNamingWhatIsWrong) {
  EXPECT_THROW_MSG(
      builder.build(R"({"name": "frmX", "controls": [{"class": "TEditt", "name": "dbeX"}]})"),
      ResourceError, "Recurso do formulário 'frmX': classe desconhecida 'TEditt' de 'dbeX'.");
  EXPECT_THROW_MSG(
      builder.build(
          R"({"name": "frmX", "controls": [{"class": "TEdit", "name": "dbeX", "captoin": "a"}]})"),
      ResourceError, "Recurso do formulário 'frmX': propriedade desconhecida 'captoin' em 'dbeX'.");
  EXPECT_THROW_MSG(
      builder.build(
          R"({"name": "frmX", "controls": [{"class": "TLabel", "name": "lblX", "maxLength": 3}]})"),
      ResourceError,
      "Recurso do formulário 'frmX': a propriedade 'maxLength' não se aplica a 'lblX' (TLabel).");
  EXPECT_THROW_MSG(
      builder.build(
          R"({"name": "frmX", "controls": [{"class": "TEdit", "name": "dbeX", "left": "8"}]})"),
      ResourceError, "Recurso do formulário 'frmX': valor inválido para 'left' em 'dbeX'.");
  EXPECT_THROW_MSG(
      builder.build(
          R"({"name": "frmX", "controls": [{"class": "TDBEdit", "name": "dbeX", "dataSource": "dtsOutro"}]})"),
      ResourceError,
      "Recurso do formulário 'frmX': fonte de dados 'dtsOutro' não registrada em 'dbeX'.");
  EXPECT_THROW_MSG(
      builder.build(
          R"({"name": "frmX", "inherit": "TfrmPadrao", "controls": [{"inherited": "panMenuu"}]})"),
      ResourceError, "Recurso do formulário 'frmX': o controle herdado 'panMenuu' não existe.");
  EXPECT_THROW_MSG(builder.build(R"({"name": "frmX", "inherit": "TfrmOutro"})"), ResourceError,
                   "Recurso do formulário 'frmX': recurso base 'TfrmOutro' não registrado.");
  EXPECT_THROW_MSG(
      builder.build(R"({"name": "frmX", "capton": "X"})"), ResourceError,
      "Recurso do formulário 'frmX': propriedade desconhecida 'capton' do formulário.");
  EXPECT_THROW_MSG(
      builder.build(
          R"({"name": "frmX", "controls": [{"class": "TDBGrid", "name": "dbgX", "options": ["titulos"]}]})"),
      ResourceError,
      "Recurso do formulário 'frmX': opção de grade desconhecida 'titulos' em 'dbgX'.");
  EXPECT_THROW_MSG(
      builder.build(
          R"({"name": "frmX", "controls": [{"class": "TMainMenu", "name": "mnuX", "items": [{"name": "mnuY", "shortcut": "Ctrl+Nada"}]}]})"),
      ResourceError,
      "Recurso do formulário 'frmX': 'shortcut' em 'mnuY': Atalho inválido: 'Ctrl+Nada'.");
  EXPECT_THROW_MSG(
      builder.build(
          R"({"name": "frmX", "controls": [{"class": "TPanel", "name": "panX"}, {"class": "TLabel", "name": "panX"}]})"),
      ResourceError,
      "Recurso do formulário 'frmX': Já existe um controle chamado 'panX' no formulário 'frmX'.");
  EXPECT_THROW_MSG(
      builder.build(R"({"name": "frmX", "controls": [{"class": "TTabSheet", "name": "tshX"}]})"),
      ResourceError,
      "Recurso do formulário 'frmX': O controle 'tshX' (TTabSheet) precisa de um controle "
      "que o contenha.");
  EXPECT_THROW_MSG(
      builder.build(
          R"({"name": "frmX", "controls": [{"class": "TSpeedButton", "name": "sbtX", "menuItem": "mnuNada"}]})"),
      ResourceError,
      "Recurso do formulário 'frmX': controle 'mnuNada' de 'menuItem' em 'sbtX' não existe.");
  EXPECT_THROW_MSG(builder.build(R"({"name": "frmX", "controls": [)"), ResourceError,
                   ::testing::HasSubstr("JSON inválido"));
}

TEST_F(ResourceTest, inheritanceCyclesAreRefused) {
  builder.addResource("TfrmA", R"({"inherit": "TfrmB"})");
  builder.addResource("TfrmB", R"({"inherit": "TfrmA"})");
  EXPECT_THROW_MSG(builder.build(R"({"name": "frmX", "inherit": "TfrmA"})"), ResourceError,
                   "Recurso do formulário 'frmX': herança circular em 'TfrmA'.");
}

}  // namespace
}  // namespace qbk::forms
