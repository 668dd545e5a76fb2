// The one factor a screen's design is scaled by so that every caption fits, measured in
// the font the desktop really uses. The design was drawn for a narrower font; scaling the
// whole of it keeps every row and column of controls where the design put it relative to
// the others, which growing or moving single controls would not.
#pragma once

#include <QSize>
#include <vector>

namespace qbk::forms {
class Control;
class Form;
}  // namespace qbk::forms

namespace qbk::desktop {

// What one control's text needs, in pixels of the real font.
struct TextNeed {
  const forms::Control* control;
  QSize size;
  // A label grows into the free room around it: the room up to its nearest neighbour to the
  // right and below (or its container's edge) is what must hold its text. Any other control
  // must hold its text within its own bounds.
  bool grows;
};

// The least factor, never below 1, at which every need fits; `gap` is the room kept
// between a label's text and a neighbour on its right, so that texts never run together.
double fitScale(const forms::Form& form, const std::vector<TextNeed>& needs, int gap);

}  // namespace qbk::desktop
