#include "navigator.h"

namespace qbk::forms {

Navigator::Navigator(const Init& init)
    : Control(init),
      link_(DataLink::Events{
          // Button states follow the set's position and state.
          .dataChanged = [this] { notify(Property::Data); },
          .stateChanged = [this] { notify(Property::Data); },
          .fieldChanged = nullptr,
          .updateData = nullptr,
      }),
      visibleButtons_{NavButton::First,  NavButton::Prior,  NavButton::Next, NavButton::Last,
                      NavButton::Insert, NavButton::Delete, NavButton::Edit, NavButton::Post,
                      NavButton::Cancel, NavButton::Refresh} {}

void Navigator::setDataSource(data::DataSource* source) {
  link_.setDataSource(source);
}

void Navigator::setVisibleButtons(std::set<NavButton> buttons) {
  assign(visibleButtons_, std::move(buttons), Property::VisibleButtons);
}

bool Navigator::buttonEnabled(NavButton button) const {
  if (!link_.active()) return false;
  const data::RecordSet& set = *link_.dataSet();
  switch (button) {
    case NavButton::First:
    case NavButton::Prior:
      return !set.isEmpty() && set.recNo() > 1;
    case NavButton::Next:
    case NavButton::Last:
      return !set.isEmpty() && set.recNo() < set.recordCount();
    case NavButton::Insert:
    case NavButton::Refresh:
      return true;
    case NavButton::Delete:
      return !set.isEmpty();
    case NavButton::Edit:
      return !set.editing() && !set.isEmpty();
    case NavButton::Post:
    case NavButton::Cancel:
      return set.editing();
  }
  return false;
}

bool Navigator::press(NavButton button) {
  if (!isEffectivelyEnabled() || !isEffectivelyVisible()) return false;
  if (!visibleButtons_.contains(button) || !buttonEnabled(button)) return false;
  data::RecordSet& set = *link_.dataSet();
  switch (button) {
    case NavButton::First:
      set.first();
      break;
    case NavButton::Prior:
      set.prior();
      break;
    case NavButton::Next:
      set.next();
      break;
    case NavButton::Last:
      set.last();
      break;
    case NavButton::Insert:
      set.insert();
      break;
    case NavButton::Delete:
      if (confirmDelete_ && !(confirmDeletion && confirmDeletion(*this))) return false;
      set.deleteRecord();
      break;
    case NavButton::Edit:
      set.edit();
      break;
    case NavButton::Post:
      set.post();
      break;
    case NavButton::Cancel:
      set.cancel();
      break;
    case NavButton::Refresh:
      break;
  }
  if (onClick) onClick(*this, button);
  return true;
}

}  // namespace qbk::forms
