// Conversions between the headless forms' texts and keys and Qt's.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <string>

#include "forms/keys.h"

class QKeyEvent;

namespace qbk::desktop {

inline QString qs(const std::string& text) {
  return QString::fromStdString(text);
}
inline std::string ss(const QString& text) {
  return text.toStdString();
}

// A caption with "&" before its accelerator, as a label shows it (no accelerator line).
QString plainCaption(const std::string& caption);

// The virtual key code of a pressed key; 0 for keys the screens do not know.
int virtualKey(const QKeyEvent& event);
forms::Shift shiftState(const QKeyEvent& event);

// The key sequences that press a menu shortcut; Enter is both the main and the keypad key.
QList<QKeySequence> keySequences(const forms::Shortcut& shortcut);

// The characters a key press types, as the screens' key filters expect them (Enter,
// Escape and Backspace included); empty for keys that type nothing.
std::u32string typedChars(const QKeyEvent& event);

}  // namespace qbk::desktop
