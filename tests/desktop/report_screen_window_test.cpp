// The bank report screen as a person meets it on the desktop: Imprimir on the bank screen
// opens it as a modal window, whose captions fit clear of each other, and Visualizar there
// opens the preview of the bank list.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

#include "desktop/report_preview_window.h"
#include "desktop_fixture.h"
#include "host/config.h"
#include "host/report/report_output.h"
#include "layout_check.h"

namespace qbk::desktop::testing {
namespace {

// Runs `act` on the next modal window other than `shown`, once it is up.
void whenModalShows(std::function<void(QWidget*)> act, QWidget* shown = nullptr) {
  auto attempt = std::make_shared<std::function<void()>>();
  *attempt = [act, attempt, shown] {
    QWidget* w = QApplication::activeModalWidget();
    if (w && w != shown) {
      act(w);
    } else {
      QTimer::singleShot(10, *attempt);
    }
  };
  QTimer::singleShot(0, *attempt);
}

class ReportScreenWindowTest : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    host::HostConfig config = host::hostConfig();
    config.reportDir = QBK_TEST_REPORT_DIR;
    host::setHostConfig(config);
    previous_ = host::report::setReportPresenter(reportPresenter(window.get()));
  }
  void TearDown() override {
    host::report::setReportPresenter(previous_);
    DesktopTest::TearDown();
  }

 private:
  host::report::ReportPresenter previous_;
};

TEST_F(ReportScreenWindowTest, imprimirOpensTheReportWindowAndVisualizarItsPreview) {
  openBankScreen();
  const int banks = count("1 = 1");
  bool reportShown = false, previewShown = false;
  whenModalShows([&](QWidget* report) {
    auto* dialog = dynamic_cast<ScreenDialog*>(report);
    ASSERT_NE(dialog, nullptr);
    reportShown = true;
    EXPECT_EQ(dialog->windowTitle().toStdString(), "Banco");
    FormRenderer& r = dialog->view().renderer();
    EXPECT_FALSE(r.widgetFor("BtpBanco")->isEnabled());
    EXPECT_THAT(layoutFaults(r), ::testing::IsEmpty());
    whenModalShows(
        [&](QWidget* w) {
          auto* preview = dynamic_cast<ReportPreviewWindow*>(w);
          ASSERT_NE(preview, nullptr);
          previewShown = true;
          EXPECT_GE(preview->pageCount(), 1);
          EXPECT_EQ(preview->findChild<QLabel*>("lblPagina")->text().toStdString(),
                    "Página 1 de " + std::to_string(preview->pageCount()));
          QString error;
          EXPECT_TRUE(preview->savePdf(QString::fromStdString(dir.file("lista.pdf")), error));
          preview->findChild<QToolButton*>("btnFechar")->click();
        },
        report);
    QTest::mouseClick(qobject_cast<QToolButton*>(r.widgetFor("sbtPreview")), Qt::LeftButton);
    QTest::mouseClick(qobject_cast<QToolButton*>(r.widgetFor("sbtFechar")), Qt::LeftButton);
  });
  click("sbtImprimir");
  EXPECT_TRUE(reportShown);
  EXPECT_TRUE(previewShown);
  EXPECT_GT(banks, 0);
  EXPECT_TRUE(std::filesystem::exists(dir.file("lista.pdf")));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace qbk::desktop::testing
