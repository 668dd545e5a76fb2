#include "desktop/layout/placement.h"

#include <algorithm>
#include <cmath>

#include "forms/control.h"
#include "forms/form.h"

namespace qbk::desktop {

int scaled(int designLength, double scale) {
  return static_cast<int>(std::lround(designLength * scale));
}

QSize designClient(const forms::Form& form, const forms::Control* parent) {
  if (!parent) return {form.clientWidth(), form.clientHeight()};
  return {parent->clientWidth(), parent->clientHeight()};
}

namespace {

// One axis: the scaled span [from, to) in a container `growth` longer than designed.
void anchor(int& from, int& to, bool nearSide, bool farSide, int growth) {
  if (nearSide && farSide) {
    to += growth;
  } else if (farSide) {
    from += growth;
    to += growth;
  } else if (!nearSide) {
    from += growth / 2;
    to += growth / 2;
  }
}

}  // namespace

QRect placement(const forms::Control& c, double scale, QSize container, QSize text) {
  // Both edges are scaled, not the size, so controls that touch in the design still touch.
  int x0 = scaled(c.left(), scale), x1 = scaled(c.left() + c.width(), scale);
  int y0 = scaled(c.top(), scale), y1 = scaled(c.top() + c.height(), scale);
  if (container.isValid()) {
    const QSize design = designClient(c.form(), c.parent());
    const forms::Anchors& a = c.anchors();
    anchor(x0, x1, a.left, a.right, container.width() - scaled(design.width(), scale));
    anchor(y0, y1, a.top, a.bottom, container.height() - scaled(design.height(), scale));
  }
  int w = std::max(0, x1 - x0);
  int h = std::max(0, y1 - y0);
  if (text.isValid()) {
    w = std::max(w, text.width());
    h = std::max(h, text.height());
  }
  return {x0, y0, w, h};
}

}  // namespace qbk::desktop
