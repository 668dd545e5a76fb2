#include "server_result.h"

namespace qbk::host {

namespace {
const data::Variant& checked(const ServerResult& result, bool raise, int flags) {
  static const data::Variant none;
  if (flags != kCheckNoFlags)
    throw Error("CheckResultServ: opção desconhecida " + std::to_string(flags) + ".");
  if (result.ok) return result.payload;
  if (raise) throw ServerError(result.errorCode, result.errorMessage);
  return none;
}
}  // namespace

const data::Variant& CheckResultServ(const ServerResult& result, bool raise, int flags) {
  return checked(result, raise, flags);
}

data::Variant CheckResultServ(ServerResult&& result, bool raise, int flags) {
  checked(result, raise, flags);
  return result.ok ? std::move(result.payload) : data::Variant();
}

}  // namespace qbk::host
