#include "desktop/qt_text.h"

#include <QKeyEvent>

namespace qbk::desktop {

QString plainCaption(const std::string& caption) {
  QString out;
  const QString in = qs(caption);
  for (qsizetype i = 0; i < in.size(); ++i) {
    if (in[i] == '&' && i + 1 < in.size()) ++i;  // "&&" is a literal ampersand
    out += in[i];
  }
  return out;
}

int virtualKey(const QKeyEvent& event) {
  const int key = event.key();
  switch (key) {
    case Qt::Key_Backspace:
      return forms::vk::Back;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return forms::vk::Tab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return forms::vk::Return;
    case Qt::Key_Escape:
      return forms::vk::Escape;
    case Qt::Key_Space:
      return forms::vk::Space;
    case Qt::Key_PageUp:
      return forms::vk::PageUp;
    case Qt::Key_PageDown:
      return forms::vk::PageDown;
    case Qt::Key_End:
      return forms::vk::End;
    case Qt::Key_Home:
      return forms::vk::Home;
    case Qt::Key_Left:
      return forms::vk::Left;
    case Qt::Key_Up:
      return forms::vk::Up;
    case Qt::Key_Right:
      return forms::vk::Right;
    case Qt::Key_Down:
      return forms::vk::Down;
    case Qt::Key_Insert:
      return forms::vk::Insert;
    case Qt::Key_Delete:
      return forms::vk::Delete;
    default:
      break;
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return forms::vk::F1 + (key - Qt::Key_F1);
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) return key;
  return 0;
}

forms::Shift shiftState(const QKeyEvent& event) {
  const auto m = event.modifiers();
  return {m.testFlag(Qt::ShiftModifier) || event.key() == Qt::Key_Backtab,
          m.testFlag(Qt::ControlModifier), m.testFlag(Qt::AltModifier)};
}

QList<QKeySequence> keySequences(const forms::Shortcut& shortcut) {
  namespace vk = forms::vk;
  if (shortcut.empty()) return {};
  QList<int> keys;
  const int k = shortcut.key;
  switch (k) {
    case vk::Back:
      keys = {Qt::Key_Backspace};
      break;
    case vk::Tab:
      keys = {Qt::Key_Tab};
      break;
    case vk::Return:
      keys = {Qt::Key_Return, Qt::Key_Enter};
      break;
    case vk::Escape:
      keys = {Qt::Key_Escape};
      break;
    case vk::Space:
      keys = {Qt::Key_Space};
      break;
    case vk::PageUp:
      keys = {Qt::Key_PageUp};
      break;
    case vk::PageDown:
      keys = {Qt::Key_PageDown};
      break;
    case vk::End:
      keys = {Qt::Key_End};
      break;
    case vk::Home:
      keys = {Qt::Key_Home};
      break;
    case vk::Left:
      keys = {Qt::Key_Left};
      break;
    case vk::Up:
      keys = {Qt::Key_Up};
      break;
    case vk::Right:
      keys = {Qt::Key_Right};
      break;
    case vk::Down:
      keys = {Qt::Key_Down};
      break;
    case vk::Insert:
      keys = {Qt::Key_Insert};
      break;
    case vk::Delete:
      keys = {Qt::Key_Delete};
      break;
    default:
      if (k >= vk::F1 && k < vk::F1 + 12) {
        keys = {Qt::Key_F1 + (k - vk::F1)};
      } else if ((k >= 'A' && k <= 'Z') || (k >= '0' && k <= '9')) {
        keys = {k};  // Qt's codes for letters and digits are the same
      }
  }
  Qt::KeyboardModifiers mods;
  if (shortcut.shift.shift) mods |= Qt::ShiftModifier;
  if (shortcut.shift.ctrl) mods |= Qt::ControlModifier;
  if (shortcut.shift.alt) mods |= Qt::AltModifier;
  QList<QKeySequence> out;
  for (int key : keys) out << QKeySequence(QKeyCombination(mods, static_cast<Qt::Key>(key)));
  return out;
}

std::u32string typedChars(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Backspace:
      return {forms::chars::Backspace};
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return {forms::chars::Enter};
    case Qt::Key_Escape:
      return {forms::chars::Escape};
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return {};
    default:
      break;
  }
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return {};
  std::u32string out;
  for (char32_t c : event.text().toStdU32String()) {
    if (c >= 0x20 && c != 0x7f) out += c;
  }
  return out;
}

}  // namespace qbk::desktop
