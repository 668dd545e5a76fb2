// Main and pop-up menus and their entries: an entry is a QAction, so its shortcut acts
// while the focus is anywhere in the screen.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "desktop/bindings/families.h"
#include "desktop/command_pictures.h"
#include "desktop/qt_text.h"
#include "forms/buttons.h"
#include "forms/form.h"
#include "forms/menus.h"

namespace qbk::desktop::bindings {

using namespace forms;

namespace {

// An entry shows the picture of the command button that follows it, as the command bar
// does: the theme's icon, else the button's symbol.
QIcon pictureOf(RenderContext& ctx, const MenuItem& item) {
  for (Control* c : ctx.form().controls()) {
    auto* button = dynamic_cast<CommandButton*>(c);
    if (!button || button->menuItem() != &item || button->glyph().empty()) continue;
    const QIcon icon = themeIconFor(button->glyph());
    if (!icon.isNull()) return icon;
    const QWidget* content = ctx.content();
    return symbolIcon(symbolFor(button->glyph()), content->font(),
                      content->palette().color(QPalette::WindowText));
  }
  return {};
}

}  // namespace

Binding mainMenu() {
  TypedBinding<MainMenu, QMenuBar> b;
  b.placement = Placement::Menu;
  b.build = [](RenderContext& ctx, MainMenu& menu, QWidget*) -> QMenuBar* {
    QMenuBar* bar = ctx.menuBar();
    if (!bar) return nullptr;
    for (MenuItem* item : menu.items()) ctx.build(*item, nullptr);
    // Top-level entries go straight into the bar.
    for (MenuItem* item : menu.items()) {
      bar->addAction(qobject_cast<QAction*>(ctx.objectFor(*item)));
    }
    return bar;
  };
  return b;
}

Binding popupMenu() {
  TypedBinding<PopupMenu, QMenu> b;
  b.placement = Placement::Menu;
  b.build = [](RenderContext& ctx, PopupMenu& popup, QWidget*) {
    auto* menu = new QMenu(ctx.content());
    for (MenuItem* item : popup.items()) ctx.build(*item, menu);
    return menu;
  };
  b.event = [](RenderContext&, PopupMenu& popup, QMenu& menu, Property property) {
    if (property != Property::Popup) return false;
    menu.popup(QPoint(popup.popupX(), popup.popupY()));
    return true;
  };
  return b;
}

Binding menuItem() {
  TypedBinding<MenuItem, QAction> b;
  b.placement = Placement::Menu;
  b.build = [](RenderContext& ctx, MenuItem& item, QWidget* parent) {
    QAction* action = nullptr;
    if (!item.items().empty()) {
      auto* sub = new QMenu(plainCaption(item.caption()), ctx.content());
      for (MenuItem* child : item.items()) ctx.build(*child, sub);
      action = sub->menuAction();
    } else {
      action = new QAction(ctx.content());
      action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
      if (QWidget* scope = ctx.shortcutScope()) scope->addAction(action);
      QObject::connect(action, &QAction::triggered,
                       [&ctx, &item] { ctx.actForPerson(item, [&item] { item.userClick(); }); });
    }
    if (auto* into = qobject_cast<QMenu*>(parent)) into->addAction(action);
    action->setIcon(pictureOf(ctx, item));
    return action;
  };
  b.show = [](RenderContext&, MenuItem& item, QAction& action) {
    action.setText(qs(item.caption()));
    action.setSeparator(item.isSeparator());
    action.setEnabled(item.enabled());
    action.setVisible(item.visible());
    if (item.checked()) action.setCheckable(true);
    action.setChecked(item.checked());
    action.setShortcuts(keySequences(item.shortcut()));
    action.setToolTip(qs(item.hint()));
    action.setStatusTip(qs(item.hint()));
  };
  return b;
}

}  // namespace qbk::desktop::bindings
