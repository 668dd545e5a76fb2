// The host's local table cache. Screens name the table whose rows they have just changed on
// the server; whatever the host keeps of that table is then stale and read again.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "data/variant.h"

namespace qbk::host {

// Records every invalidation: how often each name was given and all names in order, so the
// host (and tests) can see what changed. Used on the user-interface thread only.
class LocalCache {
 public:
  void invalidate(std::string_view name);
  int invalidations(std::string_view name) const;
  const std::vector<std::string>& history() const { return history_; }
  void clear();

 private:
  std::map<std::string, int, std::less<>> counts_;
  std::vector<std::string> history_;
};

// The host's one cache.
LocalCache& localCache();

// Invalidates each name of the array. Every element must be a text; otherwise a DataError
// is thrown and nothing is recorded.
void AtualizaLocalCache(const data::VariantArray& names);

}  // namespace qbk::host
