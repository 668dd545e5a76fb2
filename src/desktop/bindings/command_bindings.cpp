// The command bar's buttons and the navigators: a click never takes the focus from the
// control a person was in.
#include <QHBoxLayout>
#include <QToolButton>

#include "desktop/bindings/families.h"
#include "desktop/command_pictures.h"
#include "desktop/qt_text.h"
#include "forms/buttons.h"
#include "forms/navigator.h"

namespace qbk::desktop::bindings {

using namespace forms;

namespace {

// The theme's small size: the design's buttons are 25 high.
constexpr int kIconSize = 16;

struct NavCaption {
  NavButton button;
  const char* text;
  const char* hint;
};
constexpr NavCaption kNavButtons[] = {
    {NavButton::First, "|<", "Primeiro"}, {NavButton::Prior, "<", "Anterior"},
    {NavButton::Next, ">", "Próximo"},    {NavButton::Last, ">|", "Último"},
    {NavButton::Insert, "+", "Incluir"},  {NavButton::Delete, "-", "Excluir"},
    {NavButton::Edit, "^", "Alterar"},    {NavButton::Post, "✓", "Confirmar"},
    {NavButton::Cancel, "x", "Cancelar"}, {NavButton::Refresh, "↻", "Atualizar"},
};

QString buttonText(const CommandButton& b) {
  if (!b.caption().empty()) return plainCaption(b.caption());
  if (dynamic_cast<const SearchButton*>(&b)) return "...";
  return symbolFor(b.glyph());
}

// A button that shows only its picture takes it from the icon theme when there is one.
QIcon buttonIcon(const CommandButton& b) {
  if (!b.caption().empty() || dynamic_cast<const SearchButton*>(&b)) return {};
  return themeIconFor(b.glyph());
}

}  // namespace

Binding commandButton() {
  TypedBinding<CommandButton, QToolButton> b;
  b.build = [](RenderContext& ctx, CommandButton& button, QWidget* parent) {
    auto* tb = new QToolButton(parent);
    tb->setFocusPolicy(Qt::NoFocus);  // a click leaves the focused control alone
    tb->setAutoRaise(true);
    tb->setIconSize(QSize(kIconSize, kIconSize));
    QObject::connect(tb, &QToolButton::clicked, [&ctx, &button] {
      ctx.actForPerson(button, [&button] { button.userClick(); });
    });
    return tb;
  };
  b.show = [](RenderContext&, CommandButton& button, QToolButton& tb) {
    tb.setText(buttonText(button));
    const QIcon icon = buttonIcon(button);
    tb.setIcon(icon);
    tb.setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
  };
  b.textSize = [](CommandButton&, QToolButton& tb) {
    if (tb.toolButtonStyle() == Qt::ToolButtonIconOnly) return QSize();
    const QFontMetrics fm = tb.fontMetrics();
    return QSize(fm.horizontalAdvance(tb.text()) + 4, fm.height());
  };
  return b;
}

Binding navigator() {
  TypedBinding<Navigator, QWidget> b;
  b.build = [](RenderContext& ctx, Navigator& nav, QWidget* parent) {
    auto* box = new QWidget(parent);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const NavCaption& nc : kNavButtons) {
      auto* tb = new QToolButton(box);
      tb->setText(QString::fromUtf8(nc.text));
      tb->setToolTip(QString::fromUtf8(nc.hint));
      const QIcon icon = themeIconFor(nc.button);
      if (!icon.isNull()) {
        tb->setIcon(icon);
        tb->setIconSize(QSize(kIconSize, kIconSize));
        tb->setToolButtonStyle(Qt::ToolButtonIconOnly);
      }
      tb->setFocusPolicy(Qt::NoFocus);
      tb->setProperty("navButton", static_cast<int>(nc.button));
      layout->addWidget(tb);
      const NavButton which = nc.button;
      QObject::connect(tb, &QToolButton::clicked, [&ctx, &nav, which] {
        ctx.actForPerson(nav, [&nav, which] { nav.press(which); });
      });
    }
    return box;
  };
  b.show = [](RenderContext&, Navigator& nav, QWidget& box) {
    for (auto* tb : box.findChildren<QToolButton*>()) {
      const auto which = static_cast<NavButton>(tb->property("navButton").toInt());
      tb->setVisible(nav.visibleButtons().contains(which));
      tb->setEnabled(nav.buttonEnabled(which));
    }
  };
  return b;
}

}  // namespace qbk::desktop::bindings
