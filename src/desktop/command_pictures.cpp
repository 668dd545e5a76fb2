#include "desktop/command_pictures.h"

#include <QDir>
#include <QPainter>
#include <QPixmap>
#include <map>
#include <vector>

#include "desktop/qt_text.h"

namespace qbk::desktop {
namespace {

struct Picture {
  std::vector<const char*> themeNames;  // the first one the theme has
  const char* symbol;
};

const std::map<std::string, Picture, std::less<>>& pictures() {
  static const std::map<std::string, Picture, std::less<>> table = {
      {"incluir", {{"document-new"}, "✚"}},
      {"alterar", {{"document-edit", "document-properties"}, "✎"}},
      {"excluir", {{"edit-delete"}, "✖"}},
      {"confirmar", {{"document-save"}, "✔"}},
      {"cancelar", {{"document-revert", "edit-undo"}, "✘"}},
      {"procurar", {{"edit-find"}, "⚲"}},
      {"verificar", {{"view-refresh"}, "⟳"}},
      {"ordenar", {{"view-sort-ascending"}, "⇅"}},
      {"imprimir", {{"document-print"}, "⎙"}},
      {"visualizar", {{"document-print-preview"}, "👁"}},
      {"salvarcomo", {{"document-save-as"}, "⇩"}},
      {"modelo", {{"document-page-setup", "document-print-preview"}, "▤"}},
      {"mensagem", {{"mail-message-new"}, "✉"}},
      {"ajuda", {{"help-contents", "help-browser"}, "?"}},
      {"fechar", {{"window-close", "application-exit"}, "⏏"}},
  };
  return table;
}

QIcon firstThemeIcon(const std::vector<const char*>& names) {
  for (const char* name : names) {
    if (QIcon::hasThemeIcon(QString::fromLatin1(name))) return QIcon::fromTheme(name);
  }
  return {};
}

}  // namespace

QIcon themeIconFor(const std::string& glyph) {
  auto it = pictures().find(glyph);
  return it == pictures().end() ? QIcon() : firstThemeIcon(it->second.themeNames);
}

QString symbolFor(const std::string& glyph) {
  auto it = pictures().find(glyph);
  return it == pictures().end() ? qs(glyph) : QString::fromUtf8(it->second.symbol);
}

QIcon symbolIcon(const QString& symbol, const QFont& font, const QColor& color) {
  constexpr int kSize = 16;
  QPixmap picture(kSize, kSize);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setFont(font);
  painter.setPen(color);
  painter.drawText(picture.rect(), Qt::AlignCenter, symbol);
  return QIcon(picture);
}

QIcon themeIconFor(forms::NavButton button) {
  using forms::NavButton;
  switch (button) {
    case NavButton::First:
      return firstThemeIcon({"go-first"});
    case NavButton::Prior:
      return firstThemeIcon({"go-previous"});
    case NavButton::Next:
      return firstThemeIcon({"go-next"});
    case NavButton::Last:
      return firstThemeIcon({"go-last"});
    case NavButton::Insert:
      return firstThemeIcon({"list-add"});
    case NavButton::Delete:
      return firstThemeIcon({"list-remove"});
    case NavButton::Edit:
      return firstThemeIcon({"document-edit", "document-properties"});
    case NavButton::Post:
      return firstThemeIcon({"document-save"});
    case NavButton::Cancel:
      return firstThemeIcon({"edit-undo"});
    case NavButton::Refresh:
      return firstThemeIcon({"view-refresh"});
  }
  return {};
}

void useInstalledIconThemes() {
  // Themes whose icons are bitmaps under the freedesktop names, which Qt reads without an
  // image plug-in; the first installed one fills in for a desktop that names none.
  for (const char* theme : {"Tango", "oxygen"}) {
    for (const QString& dir : QIcon::themeSearchPaths()) {
      if (QDir(dir + "/" + theme).exists("index.theme")) {
        QIcon::setFallbackThemeName(QString::fromLatin1(theme));
        return;
      }
    }
  }
}

}  // namespace qbk::desktop
