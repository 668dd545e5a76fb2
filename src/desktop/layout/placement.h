// Where a control's widget goes: its design bounds scaled by the form's text-fit factor,
// then moved or stretched by its anchors for the size its container really has.
#pragma once

#include <QRect>
#include <QSize>

namespace qbk::forms {
class Control;
class Form;
}  // namespace qbk::forms

namespace qbk::desktop {

// A design length at the form's scale.
int scaled(int designLength, double scale);

// The client area the control's children were designed in: the form's for a top-level
// control (null parent), else the container's.
QSize designClient(const forms::Form& form, const forms::Control* parent);

// The control's rectangle inside a container whose client area is `container` (invalid:
// not known yet, taken as designed). `text` is the size of the text a label-like control
// grows to hold (invalid: none).
QRect placement(const forms::Control& control, double scale, QSize container, QSize text);

}  // namespace qbk::desktop
