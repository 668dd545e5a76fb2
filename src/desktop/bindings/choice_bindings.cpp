// Check boxes, radio buttons, combo boxes and radio groups: a click or a pick is the
// control's; the widget shows what the control then holds.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "desktop/bindings/families.h"
#include "desktop/qt_text.h"
#include "forms/choices.h"

namespace qbk::desktop::bindings {

using namespace forms;

namespace {

// The indicator and the caption beside it; the style's hint adds room above and below
// that the design's row height does not have.
QSize checkTextSize(const QAbstractButton& button) {
  const int indicator = button.style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, &button);
  return {button.sizeHint().width(), std::max(indicator, button.fontMetrics().height())};
}

}  // namespace

Binding checkBox() {
  TypedBinding<CheckBox, QCheckBox> b;
  b.build = [](RenderContext& ctx, CheckBox& check, QWidget* parent) {
    auto* cb = new QCheckBox(parent);
    QObject::connect(cb, &QCheckBox::clicked,
                     [&ctx, &check] { ctx.actForPerson(check, [&check] { check.userClick(); }); });
    return cb;
  };
  b.show = [](RenderContext&, CheckBox& check, QCheckBox& cb) {
    cb.setText(plainCaption(check.caption()));
    cb.setChecked(check.checked());
  };
  b.textSize = [](CheckBox&, QCheckBox& cb) { return checkTextSize(cb); };
  return b;
}

Binding radioButton() {
  TypedBinding<RadioButton, QRadioButton> b;
  b.build = [](RenderContext& ctx, RadioButton& radio, QWidget* parent) {
    auto* rb = new QRadioButton(parent);
    rb->setAutoExclusive(false);  // the control unticks its siblings itself
    QObject::connect(rb, &QRadioButton::clicked,
                     [&ctx, &radio] { ctx.actForPerson(radio, [&radio] { radio.userClick(); }); });
    return rb;
  };
  b.show = [](RenderContext&, RadioButton& radio, QRadioButton& rb) {
    rb.setText(plainCaption(radio.caption()));
    rb.setChecked(radio.checked());
  };
  b.textSize = [](RadioButton&, QRadioButton& rb) { return checkTextSize(rb); };
  return b;
}

Binding comboBox() {
  TypedBinding<ComboBox, QComboBox> b;
  b.build = [](RenderContext& ctx, ComboBox& combo, QWidget* parent) {
    auto* cb = new QComboBox(parent);
    QObject::connect(cb, &QComboBox::activated, [&ctx, &combo](int index) {
      ctx.actForPerson(combo, [&combo, index] { combo.userPick(index); });
    });
    return cb;
  };
  b.show = [](RenderContext&, ComboBox& combo, QComboBox& cb) {
    QStringList items;
    for (const auto& i : combo.items()) items << qs(i);
    QStringList shown;
    for (int i = 0; i < cb.count(); ++i) shown << cb.itemText(i);
    if (items != shown) {
      cb.clear();
      cb.addItems(items);
    }
    cb.setCurrentIndex(combo.itemIndex());
  };
  b.keyPress = [](RenderContext& ctx, ComboBox& combo, QWidget&, QKeyEvent& key) {
    if (auto taken = formKeys(ctx, combo, key)) return *taken;
    const std::u32string chars = typedChars(key);
    if (chars.empty()) return false;
    ctx.act(combo, [&combo, &chars] {
      for (char32_t ch : chars) combo.typeKey(ch);
    });
    return true;
  };
  return b;
}

Binding radioGroup() {
  TypedBinding<RadioGroup, QGroupBox> b;
  b.build = [](RenderContext&, RadioGroup&, QWidget* parent) {
    auto* box = new QGroupBox(parent);
    // The items share the box below its title, as tightly as the design's height asks.
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 0, 6, 0);
    layout->setSpacing(0);
    return box;
  };
  b.show = [](RenderContext& ctx, RadioGroup& group, QGroupBox& box) {
    box.setTitle(plainCaption(group.caption()));
    auto buttons = box.findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
    if (static_cast<int>(buttons.size()) != static_cast<int>(group.items().size())) {
      qDeleteAll(buttons);
      buttons.clear();
      for (int i = 0; i < static_cast<int>(group.items().size()); ++i) {
        auto* rb = new QRadioButton(&box);
        rb->setAutoExclusive(false);
        box.layout()->addWidget(rb);
        QObject::connect(rb, &QRadioButton::clicked, [&ctx, &group, i] {
          ctx.actForPerson(group, [&group, i] { group.userPick(i); });
        });
        ctx.watchPart(group, rb);
        buttons.push_back(rb);
      }
    }
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i) {
      buttons[i]->setText(plainCaption(group.items()[i]));
      buttons[i]->setChecked(i == group.itemIndex());
    }
  };
  b.textSize = [](RadioGroup&, QGroupBox& box) { return box.minimumSizeHint(); };
  return b;
}

}  // namespace qbk::desktop::bindings
