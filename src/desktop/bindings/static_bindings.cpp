// Labels and the plain containers: nothing a person does on them reaches the control.
#include <QFrame>
#include <QGroupBox>
#include <QLabel>

#include "desktop/bindings/families.h"
#include "desktop/qt_text.h"
#include "forms/static_controls.h"

namespace qbk::desktop::bindings {

using namespace forms;

Binding label() {
  TypedBinding<Label, QLabel> b;
  b.build = [](RenderContext&, Label&, QWidget* parent) { return new QLabel(parent); };
  b.show = [](RenderContext&, Label& label, QLabel& w) {
    w.setText(plainCaption(label.caption()));
    // A label placed without a size takes the size of its text.
    if (label.width() <= 0 || label.height() <= 0) w.adjustSize();
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
