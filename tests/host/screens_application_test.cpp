// The host's screen life cycle, headless: two-phase creation, activation once per
// activation, closing with deferred release, modal screens and the shared database.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "db/connection.h"
#include "forms/buttons.h"
#include "host/config.h"
#include "host/messages.h"
#include "host/screens/application.h"
#include "host/user_interface_scripted.h"
#include "support/expect_throw.h"
#include "support/temp_dir.h"

namespace qbk::host {
namespace {

constexpr const char* kResource = R"({
  "class": "TfrmTeste", "name": "frmTeste", "caption": "Teste",
  "controls": [
    {"class": "TPanel", "name": "panMenu", "controls": [
      {"class": "TSpeedButton", "name": "sbtFechar", "hint": "Fechar"}
    ]}
  ]
})";

// Records what the host did to it, in order, into a log the test owns (the screen itself
// goes away).
class LogScreen : public Screen {
 public:
  LogScreen(Application& app, std::vector<std::string>& log, std::string id)
      : Screen(app), log_(log), id_(std::move(id)) {}
  ~LogScreen() override { log_.push_back(id_ + ":destroyed"); }

  std::string resourceName() const override { return "TfrmTeste"; }
  void bindEvents() override {
    log_.push_back(id_ + ":bindEvents " + form().caption());
    // A handler that closes its own screen and then still uses it.
    form().find<forms::CommandButton>("sbtFechar").onClick = [this](forms::CommandButton&) {
      close();
      log_.push_back(id_ + ":after close " + std::to_string(closed()));
    };
  }
  void FormCreate() override {
    log_.push_back(id_ + ":FormCreate");
    if (failCreate) throw Error("falhou ao criar");
  }
  void FormActivate() override { log_.push_back(id_ + ":FormActivate"); }
  bool FormCloseQuery() override {
    ++asked;
    if (closeWhileAsked) nestedClose = close();
    return allowClose;
  }
  void FormClose() override {
    log_.push_back(id_ + ":FormClose");
    if (failClose) throw Error("não pode fechar");
  }

  static inline bool failCreate = false;
  bool failClose = false;
  bool allowClose = true;
  bool closeWhileAsked = false;
  int asked = 0;
  bool nestedClose = true;

 private:
  std::vector<std::string>& log_;
  std::string id_;
};

const char* eventName(AppEvent e) {
  switch (e) {
    case AppEvent::ScreenShown:
      return "shown";
    case AppEvent::ScreenActivated:
      return "activated";
    case AppEvent::ScreenClosed:
      return "closed";
    case AppEvent::ScreenStateChanged:
      return "state";
    case AppEvent::ModalShown:
      return "modal";
  }
  return "?";
}

class ApplicationTest : public ::testing::Test {
 protected:
  ApplicationTest() {
    LogScreen::failCreate = false;
    app.builder().addResource("TfrmTeste", kResource);
    int n = 0;
    app.registerScreen("TfrmTeste", [this, n](Application& a) mutable {
      return std::make_unique<LogScreen>(a, log, "s" + std::to_string(++n));
    });
    app.observe([this](Application&, AppEvent e, Screen* s) {
      log.push_back(std::string(eventName(e)) + " " + (s ? s->caption() : ""));
    });
  }

  LogScreen& create() { return app.create<LogScreen>("TfrmTeste"); }

  std::vector<std::string> log;
  ScriptedUserInterface ui;
  UserInterfaceScope scope{ui};
  Application app;
};

TEST_F(ApplicationTest, createBuildsTheFormBeforeBindingAndShowActivatesOncePerActivation) {
  LogScreen& a = create();
  EXPECT_EQ(log, (std::vector<std::string>{"s1:bindEvents Teste", "s1:FormCreate"}));
  EXPECT_FALSE(a.visible());
  log.clear();

  a.show();
  a.show();
  app.activate(a);
  EXPECT_EQ(log, (std::vector<std::string>{"shown Teste", "activated Teste", "s1:FormActivate"}));
  EXPECT_EQ(app.activeScreen(), &a);

  LogScreen& b = create();
  b.show();
  log.clear();
  app.activate(a);  // switching back to a child window activates it again
  EXPECT_EQ(log, (std::vector<std::string>{"activated Teste", "s1:FormActivate"}));

  a.setWindowState(WindowState::Minimized);
  a.setWindowState(WindowState::Minimized);
  EXPECT_EQ(log.back(), "state Teste");
  EXPECT_EQ(app.screens(), (std::vector<Screen*>{&a, &b}));
}

TEST_F(ApplicationTest, closingReleasesAfterTheHandlerReturnsAndActivatesThePreviousChild) {
  LogScreen& a = create();
  a.show();
  LogScreen& b = create();
  b.show();
  log.clear();

  // The handler goes on using its screen after closing it.
  b.form().find<forms::CommandButton>("sbtFechar").click();
  EXPECT_EQ(log, (std::vector<std::string>{"s2:FormClose", "closed Teste", "activated Teste",
                                           "s1:FormActivate", "s2:after close 1"}));
  EXPECT_EQ(app.screens(), (std::vector<Screen*>{&a}));
  EXPECT_EQ(app.activeScreen(), &a);
  EXPECT_EQ(app.pendingReleases(), 1);

  log.clear();
  b.close();  // closing twice runs nothing
  app.processEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"s2:destroyed"}));
  EXPECT_EQ(app.pendingReleases(), 0);
}

TEST_F(ApplicationTest, failuresInCreationAndClosingLeaveTheScreensConsistent) {
  LogScreen::failCreate = true;
  ASSERT_THROW_MSG(create(), Error, "falhou ao criar");
  EXPECT_TRUE(app.screens().empty());
  EXPECT_EQ(log.back(), "s1:destroyed");

  LogScreen::failCreate = false;
  LogScreen& s = create();
  s.show();
  s.failClose = true;
  EXPECT_THROW(s.close(), Error);
  EXPECT_FALSE(s.closed());
  EXPECT_EQ(app.activeScreen(), &s);
  s.failClose = false;
  s.close();
  EXPECT_EQ(app.activeScreen(), nullptr);

  EXPECT_THROW(app.createScreen("TfrmNenhuma"), Error);
  app.builder().addResource("TfrmTeste", R"({"controls": [{"class": "TNada", "name": "x"}]})");
  EXPECT_THROW(create(), forms::ResourceError);
  EXPECT_TRUE(app.screens().empty());
}

TEST_F(ApplicationTest, aScreenMayRefuseToCloseUnlessTheHostIsGoingAway) {
  LogScreen& first = create();
  LogScreen& second = create();
  second.allowClose = false;
  second.closeWhileAsked = true;  // e.g. a second click on the close box during the question
  EXPECT_FALSE(app.closeAll());
  EXPECT_EQ(second.asked, 1) << "the close that came while asking was not asked again";
  EXPECT_FALSE(second.nestedClose);
  EXPECT_FALSE(second.closed());
  EXPECT_FALSE(first.closed()) << "closing everything stops at the refusing screen";
  EXPECT_EQ(first.asked, 0);

  app.closeUnasked(second);
  EXPECT_TRUE(second.closed());
  EXPECT_EQ(second.asked, 1);
  first.allowClose = false;
  EXPECT_FALSE(first.close());
}

TEST_F(ApplicationTest, headlessModalReturnsAtOnceAndARealRunnerGetsTheResult) {
  LogScreen& m = create();
  log.clear();
  EXPECT_EQ(app.showModal(m), mrNone);
  EXPECT_EQ(log, (std::vector<std::string>{"modal Teste", "s1:FormActivate"}));
  EXPECT_EQ(app.modalScreen(), &m);
  m.close();
  EXPECT_EQ(m.modalResult, mrCancel);
  EXPECT_EQ(app.modalScreen(), nullptr);

  // A runner that closes the screen and lets the event loop run before returning: the
  // screen is kept until showModal is done with it.
  app.setModalRunner([this](Screen& s) {
    s.modalResult = mrOk;
    s.close();
    app.processEvents();
    return s.modalResult;
  });
  LogScreen& n = create();
  EXPECT_EQ(app.showModal(n), mrOk);
  app.processEvents();
  EXPECT_EQ(log.back(), "s2:destroyed");
}

TEST(ApplicationInstance, oneAtATimeAndItClosesItsScreensWhenDestroyed) {
  ScriptedUserInterface ui;
  UserInterfaceScope scope{ui};
  EXPECT_FALSE(Application::exists());
  EXPECT_THROW(Application::instance(), Error);
  std::vector<std::string> log;
  {
    Application app;
    EXPECT_EQ(&Application::instance(), &app);
    EXPECT_THROW({ Application second; }, Error);
    app.builder().addResource("TfrmTeste", kResource);
    app.registerScreen("TfrmTeste",
                       [&log](Application& a) { return std::make_unique<LogScreen>(a, log, "x"); });
    app.createScreen("TfrmTeste").show();
  }
  // Closing runs FormClose, so what the screen's module keeps about it is reset.
  EXPECT_EQ(log, (std::vector<std::string>{"x:bindEvents Teste", "x:FormCreate", "x:FormActivate",
                                           "x:FormClose", "x:destroyed"}));
  EXPECT_FALSE(Application::exists());
}

TEST(ApplicationDatabase, opensTheConfiguredLocationOnFirstUseAndRefusesWithoutOne) {
  const HostConfig saved = hostConfig();
  const ::qbk::testing::TempDir tmp;
  const std::filesystem::path& dir = tmp.path();
  {
    HostConfig config;
    config.database.clear();
    setHostConfig(config);
    Application app;
    EXPECT_THROW_MSG(app.sharedDatabase(), Error,
                     "Nenhum banco de dados configurado para as consultas diretas (configuração "
                     "\"database\").");

    config.database = (dir / "host.sqlite").string();
    setHostConfig(config);
    db::Connection& conn = app.sharedDatabase();
    conn.execute("CREATE TABLE T (X VARCHAR(3))");
    EXPECT_EQ(&app.sharedDatabase(), &conn);
    EXPECT_TRUE(std::filesystem::exists(dir / "host.sqlite"));
  }
  setHostConfig(saved);
}

}  // namespace
}  // namespace qbk::host
