// One-line edits: the widget shows the control's text and caret; typing is the control's.
#include <QKeyEvent>
#include <QLineEdit>

#include "desktop/bindings/families.h"
#include "desktop/qt_text.h"
#include "forms/edits.h"
#include "forms/keys.h"

namespace qbk::desktop::bindings {

using namespace forms;

Binding edit() {
  TypedBinding<Edit, QLineEdit> b;
  b.build = [](RenderContext&, Edit&, QWidget* parent) {
    auto* le = new QLineEdit(parent);
    le->setFocusPolicy(Qt::StrongFocus);
    // Typing is the control's: the widget only shows the text and the caret.
    le->setContextMenuPolicy(Qt::NoContextMenu);
    return le;
  };
  b.show = [](RenderContext&, Edit& edit, QLineEdit& le) {
    if (le.text() != qs(edit.text())) le.setText(qs(edit.text()));
    le.setReadOnly(edit.readOnly());
    le.setCursorPosition(edit.selStart());
  };
  b.keyPress = [](RenderContext& ctx, Edit& edit, QWidget& widget, QKeyEvent& key) {
    if (auto taken = formKeys(ctx, edit, key)) return *taken;
    auto* le = static_cast<QLineEdit*>(&widget);
    const std::u32string typed = typedChars(key);
    if (key.key() == Qt::Key_Delete) {
      // Delete removes the character after the caret: a backspace one place further on.
      if (le->cursorPosition() >= le->text().size()) return true;
      ctx.act(edit, [&edit, le] {
        edit.setSelStart(le->cursorPosition() + 1);
        edit.typeKey(chars::Backspace);
      });
      return true;
    }
    if (typed.empty()) return false;  // caret movement is the widget's
    ctx.act(edit, [&edit, le, &typed] {
      edit.setSelStart(le->cursorPosition());
      for (char32_t ch : typed) edit.typeKey(ch);
    });
    return true;
  };
  return b;
}

}  // namespace qbk::desktop::bindings
