// Widgets need a QApplication before any test builds one; the offscreen platform lets the
// tests run without a display.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (!std::getenv("QBK_SERVER_BIN")) {
    const auto exe = std::filesystem::read_symlink("/proc/self/exe");
    setenv("QBK_SERVER_BIN", (exe.parent_path() / "qbk-server").c_str(), 1);
  }
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
