#include "desktop/bindings/binding.h"

#include <QKeyEvent>

#include "desktop/qt_text.h"
#include "forms/form.h"

namespace qbk::desktop {

std::optional<bool> formKeys(RenderContext& ctx, forms::Control& control, QKeyEvent& key) {
  const forms::Shift shift = shiftState(key);
  if (shift.ctrl || shift.alt) return false;
  if (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) {
    ctx.act(control, [&ctx, shift] { ctx.form().focusNext(shift.shift); });
    return true;
  }
  return std::nullopt;
}

}  // namespace qbk::desktop
