// The sides a control keeps its distance to when its container is shown at another size,
// and the client areas those distances are measured in.
#include <gtest/gtest.h>

#include "forms/pages.h"
#include "forms/resource.h"
#include "forms/static_controls.h"
#include "support/expect_throw.h"

namespace qbk::forms {
namespace {

std::unique_ptr<Form> build(const char* json) {
  FormBuilder builder;
  return builder.build(json);
}

TEST(Anchors, theResourceNamesTheSidesAndLeftTopIsTheDefault) {
  auto form = build(R"({"name": "frmX", "controls": [
    {"class": "TPanel", "name": "panA", "anchors": ["left", "top", "right", "bottom"]},
    {"class": "TPanel", "name": "panB", "anchors": ["right"]},
    {"class": "TPanel", "name": "panC", "anchors": []},
    {"class": "TPanel", "name": "panD"}
  ]})");
  EXPECT_EQ(form->find("panA").anchors(), (Anchors{true, true, true, true}));
  EXPECT_EQ(form->find("panB").anchors(), (Anchors{false, false, true, false}));
  EXPECT_EQ(form->find("panC").anchors(), (Anchors{false, false, false, false}));
  EXPECT_EQ(form->find("panD").anchors(), (Anchors{true, true, false, false}));

  FormBuilder builder;
  EXPECT_THROW_MSG(
      builder.build(R"({"name": "frmX", "controls": [
      {"class": "TPanel", "name": "panA", "anchors": ["left", "rigth"]}]})"),
      ResourceError,
      "Recurso do formulário 'frmX': lado de ancoragem desconhecido 'rigth' em 'panA'.");
}

TEST(Anchors, clientAreasAreTheScreensExtentThePageLessItsTabsAndTheNotebook) {
  auto form = build(R"({"name": "frmX", "width": 700, "height": 650, "controls": [
    {"class": "TPanel", "name": "panTopo", "left": 0, "top": 0, "width": 680, "height": 30},
    {"class": "TPageControl", "name": "pgcX", "left": 0, "top": 30, "width": 600, "height": 500,
     "controls": [{"class": "TTabSheet", "name": "tshX", "controls": [
       {"class": "TNotebook", "name": "ntbX", "width": 300, "height": 90, "controls": [
         {"class": "TPage", "name": "pagX"}]}]}]},
    {"class": "TPanel", "name": "panBase", "left": 0, "top": 530, "width": 640, "height": 66}
  ]})");
  EXPECT_EQ(form->clientWidth(), 680);
  EXPECT_EQ(form->clientHeight(), 596);
  EXPECT_EQ(form->find("tshX").clientWidth(), 592);
  EXPECT_EQ(form->find("tshX").clientHeight(), 472);
  EXPECT_EQ(form->find("pagX").clientWidth(), 300);
  EXPECT_EQ(form->find("pagX").clientHeight(), 90);
  EXPECT_EQ(form->find("panBase").clientHeight(), 66);
}

}  // namespace
}  // namespace qbk::forms
