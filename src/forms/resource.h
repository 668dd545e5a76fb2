// Builds a screen from its form resource (a JSON document; RESOURCE_FORMAT.md describes
// it), so that the desktop renderer and the tests work on the same controls.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "control.h"
#include "data/data_source.h"
#include "form.h"

namespace qbk::forms {

// A resource that does not describe a valid screen: malformed JSON, an unknown class or
// property, a value of the wrong kind, a name that resolves to nothing. Resources are
// ours, so none of this is ever passed over silently.
class ResourceError : public FormError {
 public:
  using FormError::FormError;
};

class FormBuilder {
 public:
  // Data sources named by the resources' "dataSource" properties.
  void addDataSource(std::string name, data::DataSource* source);
  // A resource that others may name in "inherit" (a base screen).
  void addResource(std::string name, std::string json);

  std::unique_ptr<Form> build(std::string_view json) const;
  std::unique_ptr<Form> buildResource(std::string_view name) const;

 private:
  friend class ResourceReader;
  const std::string& resource(std::string_view name, std::string_view from) const;

  std::map<std::string, data::DataSource*, std::less<>> dataSources_;
  std::map<std::string, std::string, std::less<>> resources_;
};

}  // namespace qbk::forms
