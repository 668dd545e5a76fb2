// The pictures of the screens' commands: the icon the desktop's icon theme has for the
// command, by its freedesktop name, and a symbol drawn as text where no theme has one, so
// the program needs no image files of its own.
#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QString>
#include <string>

#include "forms/navigator.h"

namespace qbk::desktop {

// A command button's glyph name ("incluir", "imprimir", ...) as a theme icon (null when no
// installed theme has one) and as a symbol.
QIcon themeIconFor(const std::string& glyph);
QString symbolFor(const std::string& glyph);
// A symbol drawn as an icon, for a menu entry whose command has no theme icon.
QIcon symbolIcon(const QString& symbol, const QFont& font, const QColor& color);

// The same for a navigator's buttons.
QIcon themeIconFor(forms::NavButton button);

// The desktop's theme comes first; without a desktop (a virtual display) no theme is named,
// and a freedesktop theme that is installed is looked in after it.
void useInstalledIconThemes();

}  // namespace qbk::desktop
