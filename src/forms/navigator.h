// The button strip that moves through and edits a record set.
#pragma once

#include <functional>
#include <set>

#include "control.h"
#include "data_link.h"

namespace qbk::forms {

enum class NavButton { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };

class Navigator : public Control, public DataAware {
 public:
  static constexpr const char* kClassName = "TDBNavigator";
  explicit Navigator(const Init& init);

  data::DataSource* dataSource() const override { return link_.dataSource(); }
  void setDataSource(data::DataSource* source) override;

  const std::set<NavButton>& visibleButtons() const { return visibleButtons_; }
  void setVisibleButtons(std::set<NavButton> buttons);
  bool confirmDelete() const { return confirmDelete_; }
  void setConfirmDelete(bool value) { confirmDelete_ = value; }

  // Whether a button is usable for the record set's position and state (moving needs
  // somewhere to go, Post and Cancel need an edit, Delete a record...).
  bool buttonEnabled(NavButton button) const;

  // A person presses a button: refused (false) when the navigator is disabled or hidden or
  // the button is hidden or unusable, or a deletion is not confirmed (confirmDeletion is
  // asked when confirmDelete is on; without it nothing is deleted). The navigator acts on
  // the record set, then onClick runs. Refresh has no action of its own on a client-side
  // set: onClick is where a screen reloads.
  bool press(NavButton button);

  std::function<void(Navigator&, NavButton)> onClick;
  std::function<bool(Navigator&)> confirmDeletion;

 private:
  DataLink link_;
  std::set<NavButton> visibleButtons_;
  bool confirmDelete_ = true;
};

}  // namespace qbk::forms
