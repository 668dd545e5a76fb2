#include "layout_check.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QToolButton>
#include <algorithm>
#include <map>

#include "desktop/form_renderer.h"
#include "forms/static_controls.h"

namespace qbk::desktop::testing {
namespace {

// Texts closer than this run together for the eye.
constexpr int kTextGap = 2;

std::string nameOf(const QWidget* w) {
  return w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName().toStdString();
}

bool showsText(const QWidget* w) {
  if (auto* label = qobject_cast<const QLabel*>(w)) return !label->text().isEmpty();
  if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
    return !button->text().isEmpty() && !qobject_cast<const QToolButton*>(w);
  }
  return false;
}

// Where the widget's text is drawn, in its parent's coordinates; the whole widget for
// widgets that are a box.
QRect inkOf(const QWidget* w) {
  const QRect box = w->geometry();
  if (auto* label = qobject_cast<const QLabel*>(w)) {
    const QRect text = QStyle::alignedRect(label->layoutDirection(), label->alignment(),
                                           label->sizeHint().boundedTo(box.size()), box);
    return text.adjusted(-kTextGap, 0, kTextGap, 0);
  }
  if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w)) {
    const QRect text(box.topLeft(),
                     QSize(std::min(w->sizeHint().width(), box.width()), box.height()));
    return text.adjusted(-kTextGap, 0, kTextGap, 0);
  }
  return box;
}

QRect groupTitleOf(const QGroupBox& box) {
  QStyleOptionGroupBox option;
  option.initFrom(&box);
  option.text = box.title();
  option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
  option.textAlignment = box.alignment();
  return box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
}

void cutCaption(const QWidget* w, bool dataText, std::vector<std::string>& faults) {
  const QSize size = w->size();
  auto fault = [&](const std::string& what) { faults.push_back(what + ": " + nameOf(w)); };
  if (auto* label = qobject_cast<const QLabel*>(w)) {
    if (!dataText && !label->text().isEmpty() &&
        (label->sizeHint().width() > size.width() || label->sizeHint().height() > size.height())) {
      fault("rótulo cortado '" + label->text().toStdString() + "'");
    }
  } else if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w)) {
    if (w->sizeHint().width() > size.width() || w->fontMetrics().height() > size.height()) {
      fault("texto cortado '" + static_cast<const QAbstractButton*>(w)->text().toStdString() + "'");
    }
  } else if (auto* box = qobject_cast<const QGroupBox*>(w)) {
    if (!box->title().isEmpty() && groupTitleOf(*box).right() >= size.width()) {
      fault("título cortado '" + box->title().toStdString() + "'");
    }
    if (box->layout() && (box->minimumSizeHint().width() > size.width() ||
                          box->minimumSizeHint().height() > size.height())) {
      fault("grupo menor que seus itens");
    }
  } else if (auto* button = qobject_cast<const QToolButton*>(w)) {
    if (button->toolButtonStyle() == Qt::ToolButtonTextOnly &&
        button->fontMetrics().horizontalAdvance(button->text()) > size.width()) {
      fault("botão cortado '" + button->text().toStdString() + "'");
    }
  }
  if (auto* bar = w->findChild<QTabBar*>(QString(), Qt::FindDirectChildrenOnly)) {
    for (auto* arrow : bar->findChildren<QToolButton*>()) {
      if (arrow->isVisible()) {
        fault("abas com setas de rolagem");
        break;
      }
    }
  }
}

}  // namespace

std::vector<std::string> layoutFaults(const FormRenderer& renderer) {
  std::vector<std::string> faults;
  std::map<const QWidget*, std::vector<const QWidget*>> byParent;
  auto consider = [&](const QWidget* w, bool dataText) {
    if (!w->isVisible()) return;
    cutCaption(w, dataText, faults);
    byParent[w->parentWidget()].push_back(w);
  };
  for (const forms::Control* c : renderer.form().controls()) {
    const QWidget* w = renderer.widgetFor(*c);
    if (!w) continue;
    consider(w, dynamic_cast<const forms::DBText*>(c) != nullptr);
    // A radio group's items are widgets of their own.
    if (auto* group = qobject_cast<const QGroupBox*>(w)) {
      for (auto* item : group->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly))
        if (item->isVisible()) cutCaption(item, false, faults);
    }
  }
  for (const auto& [parent, children] : byParent) {
    for (size_t i = 0; i < children.size(); ++i) {
      const QWidget* a = children[i];
      for (size_t j = i + 1; j < children.size(); ++j) {
        const QWidget* b = children[j];
        if (!showsText(a) && !showsText(b)) continue;
        if (inkOf(a).intersects(inkOf(b))) {
          faults.push_back("sobreposição: " + nameOf(a) + " e " + nameOf(b));
        }
      }
      auto* box = qobject_cast<const QGroupBox*>(parent);
      if (box && !box->title().isEmpty() && showsText(a) &&
          inkOf(a).intersects(groupTitleOf(*box))) {
        faults.push_back("sobre o título de " + nameOf(box) + ": " + nameOf(a));
      }
    }
  }
  return faults;
}

}  // namespace qbk::desktop::testing
