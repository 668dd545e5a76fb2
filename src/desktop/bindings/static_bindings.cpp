// Labels and the plain containers: nothing a person does on them reaches the control.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>

#include "desktop/bindings/families.h"
#include "desktop/qt_text.h"
#include "forms/static_controls.h"

namespace qbk::desktop::bindings {

using namespace forms;

namespace {

TypedBinding<Label, QLabel> shownText() {
  TypedBinding<Label, QLabel> b;
  b.build = [](RenderContext&, Label&, QWidget* parent) { return new QLabel(parent); };
  b.show = [](RenderContext&, Label& label, QLabel& w) {
    w.setText(plainCaption(label.caption()));
  };
  b.growsToText = true;
  return b;
}

}  // namespace

Binding label() {
  auto b = shownText();
  b.textSize = [](Label&, QLabel& w) { return w.sizeHint(); };
  return b;
}

// A label showing a field: the text is data, which its design width may cut as an edit's
// would; only a data label placed without a size takes the size of its text.
Binding dataText() {
  auto b = shownText();
  b.textSize = [](Label& label, QLabel& w) {
    return label.width() > 0 && label.height() > 0 ? QSize() : w.sizeHint();
  };
  return b;
}

Binding panel() {
  TypedBinding<Panel, QFrame> b;
  b.build = [](RenderContext& ctx, Panel& panel, QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::StyledPanel);
    ctx.buildChildren(panel, frame);
    return frame;
  };
  return b;
}

Binding groupBox() {
  TypedBinding<GroupBox, QGroupBox> b;
  b.build = [](RenderContext& ctx, GroupBox& group, QWidget* parent) {
    auto* box = new QGroupBox(parent);
    ctx.buildChildren(group, box);
    return box;
  };
  b.show = [](RenderContext&, GroupBox& group, QGroupBox& box) {
    box.setTitle(plainCaption(group.caption()));
  };
  // The title; the children are placed by their own bounds.
  b.textSize = [](GroupBox&, QGroupBox& box) { return QSize(box.minimumSizeHint().width(), 0); };
  return b;
}

Binding plainContainer() {
  TypedBinding<Control, QWidget> b;
  b.build = [](RenderContext& ctx, Control& control, QWidget* parent) {
    auto* w = new QWidget(parent);
    ctx.buildChildren(control, w);
    return w;
  };
  return b;
}

}  // namespace qbk::desktop::bindings
