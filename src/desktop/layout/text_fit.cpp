#include "desktop/layout/text_fit.h"

#include <algorithm>
#include <map>

#include "desktop/layout/placement.h"
#include "forms/control.h"
#include "forms/form.h"

namespace qbk::desktop {
namespace {

// Beyond this the design is not what is wrong.
constexpr double kMostScale = 2.0;

struct Span {
  int from;
  int to;
  bool overlaps(const Span& o) const { return from < o.to && o.from < to; }
};

double atLeast(double need, int room) {
  return room > 0 ? need / room : kMostScale;
}

}  // namespace

double fitScale(const forms::Form& form, const std::vector<TextNeed>& needs, int gap) {
  std::map<const forms::Control*, QSize> measured;
  for (const TextNeed& n : needs) measured[n.control] = n.size;
  // A control's design extent; one placed without a size (a label) spans its text.
  auto extent = [&](const forms::Control& c) {
    QSize size(c.width(), c.height());
    auto it = measured.find(&c);
    if (it != measured.end()) size = size.expandedTo(it->second);
    return size;
  };

  double scale = 1.0;
  for (const TextNeed& n : needs) {
    const forms::Control& c = *n.control;
    if (!n.grows) {
      if (c.width() > 0) scale = std::max(scale, atLeast(n.size.width(), c.width()));
      if (c.height() > 0) scale = std::max(scale, atLeast(n.size.height(), c.height()));
      continue;
    }
    const QSize client = designClient(form, c.parent());
    const Span rows{c.top(), c.top() + n.size.height()};
    const Span columns{c.left(), c.left() + n.size.width()};
    scale = std::max(scale, atLeast(n.size.width(), client.width() - c.left()));
    scale = std::max(scale, atLeast(n.size.height(), client.height() - c.top()));
    const auto& siblings = c.parent() ? c.parent()->children() : form.topLevelControls();
    for (const forms::Control* s : siblings) {
      if (s == &c) continue;
      const QSize size = extent(*s);
      if (s->left() > c.left() && rows.overlaps({s->top(), s->top() + size.height()})) {
        scale = std::max(scale, atLeast(n.size.width() + gap, s->left() - c.left()));
      }
      if (s->top() > c.top() && columns.overlaps({s->left(), s->left() + size.width()})) {
        scale = std::max(scale, atLeast(n.size.height(), s->top() - c.top()));
      }
    }
  }
  return std::min(scale, kMostScale);
}

}  // namespace qbk::desktop
