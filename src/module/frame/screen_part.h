// One subsystem of the bank screen: its record sets, data sources, direct queries, typed
// controls and handlers. The shell (TfrmBanco) owns the form, the connection, the message
// table, the life cycle and the routing of the command bar, and tells each part what it
// cares about: that the form exists, that another bank became current, that its place came
// to the front.
#pragma once

#include "forms/resource.h"
#include "module/frame/places.h"

namespace qbk::module {

class TfrmBanco;

class ScreenPart {
 public:
  explicit ScreenPart(TfrmBanco& screen) : screen_(screen) {}
  virtual ~ScreenPart() = default;
  ScreenPart(const ScreenPart&) = delete;
  ScreenPart& operator=(const ScreenPart&) = delete;

  // The data sources the form resource names.
  virtual void registerDataSources(forms::FormBuilder&) {}
  // The form exists: find the controls (a wrong name fails here, as the screen opens) and
  // wire the handlers.
  virtual void bind(const forms::Form& form) = 0;
  // The screen's creation steps have run.
  virtual void created() {}
  // Another bank became current.
  virtual void bankChanged() {}
  // One of the part's places came to the front.
  virtual void shown(PlaceId) {}

 protected:
  TfrmBanco& screen_;
};

}  // namespace qbk::module
