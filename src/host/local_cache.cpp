#include "local_cache.h"

#include "data/errors.h"

namespace qbk::host {

void LocalCache::invalidate(std::string_view name) {
  auto it = counts_.find(name);
  if (it == counts_.end()) it = counts_.emplace(std::string(name), 0).first;
  ++it->second;
  history_.emplace_back(name);
}

int LocalCache::invalidations(std::string_view name) const {
  auto it = counts_.find(name);
  return it == counts_.end() ? 0 : it->second;
}

void LocalCache::clear() {
  counts_.clear();
  history_.clear();
}

LocalCache& localCache() {
  static LocalCache cache;
  return cache;
}

void AtualizaLocalCache(const data::VariantArray& names) {
  // All or nothing: every name is checked before any is recorded.
  for (const auto& n : names)
    if (!n.isString()) throw data::DataError("Nome de tabela do cache local deve ser um texto.");
  for (const auto& n : names) localCache().invalidate(n.asString());
}

}  // namespace qbk::host
