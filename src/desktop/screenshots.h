// Pictures of a screen for the documentation: one per main tab and per sub-tab of the
// CNAB tab (and of its company tab), taken of the whole main window after a person's tab
// selection, on the demo bank that has something on every tab.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qbk::host {
class Screen;
}

namespace qbk::desktop {

class MainWindow;

// Selects each tab a person can select (as a click on it would) and saves the main window
// as "<nn>-<tab name>.png" in `dir`. Returns the files written.
std::vector<std::filesystem::path> takeScreenshots(MainWindow& window, host::Screen& screen,
                                                   const std::filesystem::path& dir);

}  // namespace qbk::desktop
