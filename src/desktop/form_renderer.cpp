#include "desktop/form_renderer.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <map>

#include "data/record_set.h"
#include "desktop/event_boundary.h"
#include "desktop/qt_text.h"
#include "forms/buttons.h"
#include "forms/choices.h"
#include "forms/edits.h"
#include "forms/grid.h"
#include "forms/menus.h"
#include "forms/navigator.h"
#include "forms/pages.h"
#include "forms/static_controls.h"

namespace qbk::desktop {

using namespace forms;

// Routes the events of every rendered widget to the renderer.
class FormRenderer::Filter : public QObject {
 public:
  explicit Filter(FormRenderer& r) : r_(r) {}
  bool eventFilter(QObject* watched, QEvent* event) override { return r_.filter(watched, event); }

 private:
  FormRenderer& r_;
};

namespace {

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

// The two halves of a page control: the tabs a person clicks and the pages behind them,
// kept apart so that a page whose tab is hidden can still be in front.
QTabBar* tabBarOf(QObject* pageControl) {
  return pageControl->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly);
}
QStackedWidget* stackOf(QObject* pageControl) {
  return pageControl->findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly);
}

// The command bar's pictures, drawn as symbols so the bar needs no image files; the hint
// names the command.
QString glyphSymbol(const std::string& glyph) {
  static const std::map<std::string, const char*, std::less<>> symbols = {
      {"incluir", "✚"},  {"alterar", "✎"},  {"excluir", "✖"},   {"confirmar", "✔"},
      {"cancelar", "✘"}, {"procurar", "⚲"}, {"verificar", "⟳"}, {"ordenar", "⇅"},
      {"imprimir", "⎙"}, {"modelo", "▤"},   {"mensagem", "✉"},  {"ajuda", "?"},
      {"fechar", "⏏"},
  };
  auto it = symbols.find(glyph);
  return it == symbols.end() ? qs(glyph) : QString::fromUtf8(it->second);
}

QString buttonText(const CommandButton& b) {
  if (!b.caption().empty()) return plainCaption(b.caption());
  if (dynamic_cast<const SearchButton*>(&b)) return "...";
  return glyphSymbol(b.glyph());
}

}  // namespace

FormRenderer::FormRenderer(Form& form, QWidget* content, QMenuBar* menuBar, QWidget* shortcutScope)
    : form_(form),
      content_(content),
      shortcutScope_(shortcutScope ? shortcutScope : content),
      filter_(std::make_unique<Filter>(*this)) {
  ++syncing_;
  for (Control* c : form.topLevelControls()) {
    if (auto* menu = dynamic_cast<MainMenu*>(c)) {
      if (!menuBar) continue;
      watch(*menu, menuBar);
      for (MenuItem* item : menu->items()) buildMenu(*item, nullptr);
      // Top-level entries go straight into the bar.
      for (MenuItem* item : menu->items()) {
        auto* action = qobject_cast<QAction*>(widgets_[item].data());
        menuBar->addAction(action);
      }
      continue;
    }
    if (auto* popup = dynamic_cast<PopupMenu*>(c)) {
      auto* qmenu = new QMenu(content);
      watch(*popup, qmenu);
      for (MenuItem* item : popup->items()) buildMenu(*item, qmenu);
      continue;
    }
    build(*c, content);
  }
  for (Control* c : form.controls()) showAll(*c);
  --syncing_;
  formSubscription_ = form.observe([this](Form&, FormEvent e) {
    if (!attached_ || !content_) return;
    if (e == FormEvent::ActiveControl) showFocus();
    if (e == FormEvent::UpdatesUnlocked) content_->setUpdatesEnabled(true);
  });
}

FormRenderer::~FormRenderer() {
  detach();
}

void FormRenderer::detach() {
  if (!attached_) return;
  attached_ = false;
  subscriptions_.clear();
  formSubscription_.reset();
  for (auto& [control, object] : widgets_) {
    if (object) object->removeEventFilter(filter_.get());
  }
}

QWidget* FormRenderer::widgetFor(const Control& control) const {
  auto it = widgets_.find(&control);
  return it == widgets_.end() ? nullptr : qobject_cast<QWidget*>(it->second.data());
}

QWidget* FormRenderer::widgetFor(std::string_view name) const {
  Control* c = form_.tryFindControl(name);
  return c ? widgetFor(*c) : nullptr;
}

QAction* FormRenderer::actionFor(const MenuItem& item) const {
  auto it = widgets_.find(&item);
  return it == widgets_.end() ? nullptr : qobject_cast<QAction*>(it->second.data());
}

Control* FormRenderer::controlFor(const QObject* widget) const {
  auto it = controls_.find(widget);
  return it == controls_.end() ? nullptr : it->second;
}

void FormRenderer::watch(Control& control, QObject* widget) {
  widgets_[&control] = widget;
  controls_[widget] = &control;
  widget->setObjectName(qs(control.name()));
  widget->installEventFilter(filter_.get());
  subscriptions_.push_back(control.observe([this](Control& c, Property p) { changed(c, p); }));
}

void FormRenderer::buildChildren(Control& control, QWidget* parent) {
  for (Control* child : control.children()) build(*child, parent);
}

void FormRenderer::buildMenu(MenuItem& item, QMenu* into) {
  QAction* action = nullptr;
  if (!item.items().empty()) {
    auto* sub = new QMenu(plainCaption(item.caption()), content_);
    for (MenuItem* child : item.items()) buildMenu(*child, sub);
    action = sub->menuAction();
  } else {
    action = new QAction(content_);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    if (shortcutScope_) shortcutScope_->addAction(action);
    QObject::connect(action, &QAction::triggered, [this, &item] {
      if (syncing_ || !attached_) return;
      act(item, [&item] { item.userClick(); });
    });
  }
  if (into) into->addAction(action);
  watch(item, action);
}

QWidget* FormRenderer::build(Control& control, QWidget* parent) {
  QWidget* w = nullptr;
  Control* c = &control;

  if (auto* edit = dynamic_cast<Edit*>(c)) {
    auto* le = new QLineEdit(parent);
    le->setFocusPolicy(Qt::StrongFocus);
    // Typing is the control's: the widget only shows the text and the caret.
    le->setContextMenuPolicy(Qt::NoContextMenu);
    (void)edit;
    w = le;
  } else if (auto* check = dynamic_cast<CheckBox*>(c)) {
    auto* cb = new QCheckBox(parent);
    QObject::connect(cb, &QCheckBox::clicked, [this, check] {
      if (!syncing_ && attached_) act(*check, [check] { check->userClick(); });
    });
    w = cb;
  } else if (auto* radio = dynamic_cast<RadioButton*>(c)) {
    auto* rb = new QRadioButton(parent);
    rb->setAutoExclusive(false);  // the control unticks its siblings itself
    QObject::connect(rb, &QRadioButton::clicked, [this, radio] {
      if (!syncing_ && attached_) act(*radio, [radio] { radio->userClick(); });
    });
    w = rb;
  } else if (auto* combo = dynamic_cast<ComboBox*>(c)) {
    auto* cb = new QComboBox(parent);
    QObject::connect(cb, &QComboBox::activated, [this, combo](int index) {
      if (!syncing_ && attached_) act(*combo, [combo, index] { combo->userPick(index); });
    });
    w = cb;
  } else if (dynamic_cast<RadioGroup*>(c)) {
    auto* box = new QGroupBox(parent);
    new QVBoxLayout(box);
    w = box;
  } else if (dynamic_cast<Label*>(c)) {
    w = new QLabel(parent);
  } else if (dynamic_cast<Panel*>(c)) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::StyledPanel);
    w = frame;
  } else if (dynamic_cast<GroupBox*>(c)) {
    w = new QGroupBox(parent);
  } else if (auto* pages = dynamic_cast<PageControl*>(c)) {
    auto* box = new QWidget(parent);
    box->setFocusPolicy(Qt::TabFocus);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* bar = new QTabBar(box);
    bar->setFocusPolicy(Qt::NoFocus);
    bar->setDrawBase(true);
    bar->setExpanding(false);
    auto* stack = new QStackedWidget(box);
    stack->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(bar);
    layout->addWidget(stack, 1);
    for (TabSheet* sheet : pages->pages()) {
      bar->addTab(plainCaption(sheet->caption()));
      auto* page = new QWidget(stack);
      stack->addWidget(page);
      watch(*sheet, page);
      buildChildren(*sheet, page);
    }
    QObject::connect(bar, &QTabBar::currentChanged, [this, pages](int index) {
      if (syncing_ || !attached_) return;
      act(*pages, [pages, index] {
        auto all = pages->pages();
        if (index >= 0 && index < static_cast<int>(all.size())) pages->userSelect(*all[index]);
      });
    });
    watch(control, box);
    return box;
  } else if (auto* notebook = dynamic_cast<Notebook*>(c)) {
    auto* stack = new QStackedWidget(parent);
    for (Page* page : notebook->pages()) {
      auto* pw = new QWidget(stack);
      stack->addWidget(pw);
      watch(*page, pw);
      buildChildren(*page, pw);
    }
    watch(control, stack);
    return stack;
  } else if (auto* button = dynamic_cast<CommandButton*>(c)) {
    auto* tb = new QToolButton(parent);
    tb->setFocusPolicy(Qt::NoFocus);  // a click leaves the focused control alone
    tb->setAutoRaise(true);
    QObject::connect(tb, &QToolButton::clicked, [this, button] {
      if (!syncing_ && attached_) act(*button, [button] { button->userClick(); });
    });
    w = tb;
  } else if (auto* grid = dynamic_cast<Grid*>(c)) {
    auto* table = new QTableWidget(parent);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setTabKeyNavigation(false);
    table->verticalHeader()->setDefaultSectionSize(20);
    QObject::connect(table, &QTableWidget::currentCellChanged,
                     [this, grid](int row, int column, int, int) {
                       if (syncing_ || !attached_ || row < 0) return;
                       act(*grid, [grid, row, column] {
                         if (!grid->focused()) grid->form().userFocus(*grid);
                         if (row != grid->currentRow() && grid->dataSet()) {
                           grid->dataSet()->setRecNo(row + 1);
                         }
                         if (column >= 0 && column != grid->selectedIndex()) {
                           grid->setSelectedIndex(column);
                         }
                       });
                     });
    w = table;
  } else if (auto* nav = dynamic_cast<Navigator*>(c)) {
    auto* box = new QWidget(parent);
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const NavCaption& nc : kNavButtons) {
      auto* tb = new QToolButton(box);
      tb->setText(QString::fromUtf8(nc.text));
      tb->setToolTip(QString::fromUtf8(nc.hint));
      tb->setFocusPolicy(Qt::NoFocus);
      tb->setProperty("navButton", static_cast<int>(nc.button));
      layout->addWidget(tb);
      const NavButton which = nc.button;
      QObject::connect(tb, &QToolButton::clicked, [this, nav, which] {
        if (!syncing_ && attached_) act(*nav, [nav, which] { nav->press(which); });
      });
    }
    w = box;
  } else {
    // A container kind the renderer does not draw specially.
    w = new QWidget(parent);
  }
  watch(control, w);
  buildChildren(control, w);
  return w;
}

void FormRenderer::changed(Control& control, Property property) {
  if (!attached_ || !content_) return;
  if (form_.updatesLocked() && content_->updatesEnabled()) content_->setUpdatesEnabled(false);
  if (property == Property::Popup) {
    if (auto* menu = qobject_cast<QMenu*>(widgets_[&control].data())) {
      auto& popup = static_cast<PopupMenu&>(control);
      menu->popup(QPoint(popup.popupX(), popup.popupY()));
    }
    return;
  }
  showAll(control);
  // A page's tab lives in its page control's bar.
  if (auto* sheet = dynamic_cast<TabSheet*>(&control)) showAll(sheet->pageControl());
}

void FormRenderer::showAll(Control& control) {
  QObject* object = widgets_[&control].data();
  if (!object) return;
  ++syncing_;
  struct Done {
    int& n;
    ~Done() { --n; }
  } done{syncing_};

  if (auto* action = qobject_cast<QAction*>(object)) {
    if (auto* item = dynamic_cast<MenuItem*>(&control)) {
      action->setText(qs(item->caption()));
      action->setSeparator(item->isSeparator());
      action->setEnabled(item->enabled());
      action->setVisible(item->visible());
      if (item->checked()) action->setCheckable(true);
      action->setChecked(item->checked());
      action->setShortcuts(keySequences(item->shortcut()));
      action->setToolTip(qs(item->hint()));
      action->setStatusTip(qs(item->hint()));
    }
    return;
  }
  if (dynamic_cast<QMenuBar*>(object) || dynamic_cast<QMenu*>(object)) return;
  auto* w = qobject_cast<QWidget*>(object);
  if (!w) return;

  const bool inStack = dynamic_cast<TabSheet*>(&control) || dynamic_cast<Page*>(&control);
  if (!inStack) {
    w->setGeometry(control.left(), control.top(), control.width(), control.height());
    w->setVisible(control.visible());
  }
  w->setEnabled(control.enabled());
  w->setToolTip(qs(control.hint()));
  if (control.bold() != w->font().bold()) {
    QFont f = w->font();
    f.setBold(control.bold());
    w->setFont(f);
  }

  if (auto* edit = dynamic_cast<Edit*>(&control)) {
    auto* le = static_cast<QLineEdit*>(w);
    if (le->text() != qs(edit->text())) le->setText(qs(edit->text()));
    le->setReadOnly(edit->readOnly());
    le->setCursorPosition(edit->selStart());
  } else if (auto* check = dynamic_cast<CheckBox*>(&control)) {
    auto* cb = static_cast<QCheckBox*>(w);
    cb->setText(plainCaption(check->caption()));
    cb->setChecked(check->checked());
  } else if (auto* radio = dynamic_cast<RadioButton*>(&control)) {
    auto* rb = static_cast<QRadioButton*>(w);
    rb->setText(plainCaption(radio->caption()));
    rb->setChecked(radio->checked());
  } else if (auto* combo = dynamic_cast<ComboBox*>(&control)) {
    auto* cb = static_cast<QComboBox*>(w);
    QStringList items;
    for (const auto& i : combo->items()) items << qs(i);
    QStringList shown;
    for (int i = 0; i < cb->count(); ++i) shown << cb->itemText(i);
    if (items != shown) {
      cb->clear();
      cb->addItems(items);
    }
    cb->setCurrentIndex(combo->itemIndex());
  } else if (auto* group = dynamic_cast<RadioGroup*>(&control)) {
    auto* box = static_cast<QGroupBox*>(w);
    box->setTitle(plainCaption(group->caption()));
    auto buttons = box->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
    if (static_cast<int>(buttons.size()) != static_cast<int>(group->items().size())) {
      qDeleteAll(buttons);
      buttons.clear();
      for (int i = 0; i < static_cast<int>(group->items().size()); ++i) {
        auto* rb = new QRadioButton(box);
        rb->setAutoExclusive(false);
        box->layout()->addWidget(rb);
        QObject::connect(rb, &QRadioButton::clicked, [this, group, i] {
          if (!syncing_ && attached_) act(*group, [group, i] { group->userPick(i); });
        });
        rb->installEventFilter(filter_.get());
        controls_[rb] = group;
        buttons.push_back(rb);
      }
    }
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
      buttons[i]->setText(plainCaption(group->items()[i]));
      buttons[i]->setChecked(i == group->itemIndex());
    }
  } else if (auto* label = dynamic_cast<Label*>(&control)) {
    static_cast<QLabel*>(w)->setText(plainCaption(label->caption()));
    // A label placed without a size takes the size of its text.
    if (label->width() <= 0 || label->height() <= 0) w->adjustSize();
  } else if (auto* gb = dynamic_cast<GroupBox*>(&control)) {
    static_cast<QGroupBox*>(w)->setTitle(plainCaption(gb->caption()));
  } else if (auto* pages = dynamic_cast<PageControl*>(&control)) {
    QTabBar* bar = tabBarOf(w);
    QStackedWidget* stack = stackOf(w);
    const auto all = pages->pages();
    for (int i = 0; i < static_cast<int>(all.size()); ++i) {
      bar->setTabText(i, plainCaption(all[i]->caption()));
      bar->setTabEnabled(i, all[i]->enabled());
      bar->setTabVisible(i, all[i]->tabVisible() && all[i]->visible());
      bar->setTabToolTip(i, qs(all[i]->hint()));
    }
    const int active = pages->activePageIndex();
    stack->setVisible(active >= 0);
    if (active >= 0) stack->setCurrentIndex(active);
    if (active >= 0 && bar->isTabVisible(active)) bar->setCurrentIndex(active);
  } else if (auto* notebook = dynamic_cast<Notebook*>(&control)) {
    if (notebook->pageIndex() >= 0)
      static_cast<QStackedWidget*>(w)->setCurrentIndex(notebook->pageIndex());
  } else if (auto* button = dynamic_cast<CommandButton*>(&control)) {
    auto* tb = static_cast<QToolButton*>(w);
    tb->setText(buttonText(*button));
  } else if (auto* grid = dynamic_cast<Grid*>(&control)) {
    auto* table = static_cast<QTableWidget*>(w);
    const int cols = grid->columnCount();
    const int rows = grid->rowCount();
    table->setColumnCount(cols);
    table->setRowCount(rows);
    table->horizontalHeader()->setVisible(grid->options().titles);
    table->setSelectionBehavior(grid->options().rowSelect ? QAbstractItemView::SelectRows
                                                          : QAbstractItemView::SelectItems);
    table->setShowGrid(grid->options().colLines || grid->options().rowLines);
    QStringList titles;
    for (int col = 0; col < cols; ++col) titles << qs(grid->columnTitle(col));
    table->setHorizontalHeaderLabels(titles);
    const auto& listed = grid->columns();
    for (int col = 0; col < cols && col < static_cast<int>(listed.size()); ++col) {
      table->setColumnWidth(col, listed[col].width);
      table->setColumnHidden(col, !listed[col].visible);
    }
    for (int row = 0; row < rows; ++row) {
      for (int col = 0; col < cols; ++col) {
        const QString text = qs(grid->cellText(row, col));
        QTableWidgetItem* item = table->item(row, col);
        if (!item) {
          item = new QTableWidgetItem(text);
          item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
          table->setItem(row, col, item);
        } else if (item->text() != text) {
          item->setText(text);
        }
      }
    }
    const int current = grid->currentRow();
    if (current >= 0 && cols > 0) {
      table->setCurrentCell(current, std::clamp(grid->selectedIndex(), 0, cols - 1));
    } else {
      table->setCurrentCell(-1, -1);
    }
  } else if (auto* nav = dynamic_cast<Navigator*>(&control)) {
    for (auto* tb : w->findChildren<QToolButton*>()) {
      const auto which = static_cast<NavButton>(tb->property("navButton").toInt());
      tb->setVisible(nav->visibleButtons().contains(which));
      tb->setEnabled(nav->buttonEnabled(which));
    }
  }
}

void FormRenderer::showFocus() {
  Control* active = form_.activeControl();
  if (!active) return;
  QWidget* w = widgetFor(*active);
  if (!w || w->hasFocus()) return;
  ++syncing_;
  w->setFocus(Qt::OtherFocusReason);
  --syncing_;
}

void FormRenderer::act(Control& control, const std::function<void()>& action) {
  if (!attached_) return;
  dispatch(action);
  // The screen may have closed meanwhile; otherwise show again what the person's action
  // left, so a refused change disappears from the widget too.
  if (!attached_) return;
  showAll(control);
  if (!dispatching()) {
    // Qt moves its focus only after the event that caused it; put it back where the form
    // has it once Qt is done.
    QTimer::singleShot(0, content_, [this] {
      if (attached_) showFocus();
    });
  }
}

void FormRenderer::focusedByPerson(Control& control) {
  if (form_.activeControl() == &control) return;
  act(control, [this, &control] { form_.userFocus(control); });
}

bool FormRenderer::filter(QObject* watched, QEvent* event) {
  if (!attached_) return false;
  Control* control = controlFor(watched);
  if (!control) return false;
  switch (event->type()) {
    case QEvent::FocusIn: {
      const auto reason = static_cast<QFocusEvent*>(event)->reason();
      // A window coming back to the front or a pop-up closing hands the focus back: no
      // person moved it.
      if (syncing_ || dispatching() || reason == Qt::ActiveWindowFocusReason ||
          reason == Qt::PopupFocusReason) {
        return false;
      }
      if (control->focusable()) focusedByPerson(*control);
      return false;
    }
    case QEvent::KeyPress:
      return keyPressed(*control, static_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event));
    default:
      return false;
  }
}

bool FormRenderer::keyPressed(Control& control, QWidget* widget, QKeyEvent* key) {
  const Shift shift = shiftState(*key);
  const bool isTab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
  if (shift.ctrl || shift.alt) {
    // Shortcuts belong to the menus (Qt finds them before this); a grid still hears its keys.
    if (auto* grid = dynamic_cast<Grid*>(&control)) {
      if (int vk = virtualKey(*key)) {
        act(*grid, [grid, vk, shift] { grid->keyDown(vk, shift); });
        return true;
      }
    }
    return false;
  }

  if (auto* grid = dynamic_cast<Grid*>(&control)) {
    bool handled = false;
    if (int vk = virtualKey(*key)) {
      act(*grid, [grid, vk, shift, &handled] { handled = grid->keyDown(vk, shift); });
    }
    if (isTab && !handled && attached_) {
      act(*grid, [this, shift] { form_.focusNext(shift.shift); });
      return true;
    }
    const std::u32string chars = typedChars(*key);
    if (!chars.empty() && attached_) {
      act(*grid, [grid, &chars] {
        for (char32_t ch : chars) grid->typeKey(ch);
      });
    }
    return true;
  }

  if (isTab) {
    act(control, [this, shift] { form_.focusNext(shift.shift); });
    return true;
  }

  if (auto* edit = dynamic_cast<Edit*>(&control)) {
    auto* le = static_cast<QLineEdit*>(widget);
    const std::u32string typed = typedChars(*key);
    if (key->key() == Qt::Key_Delete) {
      // Delete removes the character after the caret: a backspace one place further on.
      if (le->cursorPosition() >= le->text().size()) return true;
      act(*edit, [edit, le] {
        edit->setSelStart(le->cursorPosition() + 1);
        edit->typeKey(chars::Backspace);
      });
      return true;
    }
    if (typed.empty()) return false;  // caret movement is the widget's
    act(*edit, [edit, le, &typed] {
      edit->setSelStart(le->cursorPosition());
      for (char32_t ch : typed) edit->typeKey(ch);
    });
    return true;
  }

  if (auto* combo = dynamic_cast<ComboBox*>(&control)) {
    const std::u32string chars = typedChars(*key);
    if (chars.empty()) return false;
    act(*combo, [combo, &chars] {
      for (char32_t ch : chars) combo->typeKey(ch);
    });
    return true;
  }
  return false;
}

}  // namespace qbk::desktop
