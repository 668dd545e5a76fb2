// The fixed ways a screen talks to its server object: fetching a packet into a record set,
// and sending a record set's pending changes once a post or delete has happened.
//
//   fetchInto(netBanco, cdsErrCnabPag, "GetErrCnabPag", {codigoBanco});
//
//   applyUpdates(netBanco, cdsBanco,
//                {.method = "SetBanco",
//                 .cacheName = "BANCO",
//                 .finish = {Finish::Cache, Finish::Hide, Finish::Repaint, Finish::Merge},
//                 .extraArgs = [&] { return nullFieldNames(cdsBanco, kBancoNullableFields); },
//                 .followUp = [&] { refreshAfterBankPost(); },
//                 .followUpFailureCancels = true,
//                 .progress = progressHooks});
#pragma once

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/record_set.h"
#include "data/variant.h"
#include "net_connection.h"
#include "protocol/bank_object.h"

namespace qbk::host {

// ---- fetching -----------------------------------------------------------------------------

// Calls `method`, checks the result and makes its packet the whole content of `target`. On
// any failure it raises and `target` keeps its previous content.
void fetchInto(NetConnection& net, data::RecordSet& target, std::string_view method,
               data::VariantArray args = {});

// For methods that answer [flag, packet]: loads the packet as fetchInto does and returns the
// flag text. A payload of another shape raises and leaves `target` as it was.
std::string fetchFlaggedInto(NetConnection& net, data::RecordSet& target, std::string_view method,
                             data::VariantArray args = {});

// Calls a method whose answer carries nothing to read. A failure the server reports still
// raises: ignoring it would show a failed operation as done.
void execProcedure(NetConnection& net, std::string_view method, data::VariantArray args = {});

// ---- applying -----------------------------------------------------------------------------

// The actions that end a successful send; each handler lists them in its own order.
enum class Finish {
  Cache,    // AtualizaLocalCache with the cache name
  Hide,     // hide the progress indicator
  Repaint,  // repaint the screen
  Merge,    // merge the change log: the sent changes stop being pending
};

// How the screen shows that it waits for the server; wired to the host's indicator.
struct ProgressHooks {
  std::string text{};  // shown with the indicator, e.g. "Atualizando dados..."
  std::function<void(const std::string& text)> show{};
  std::function<void()> hide{};
  std::function<void()> repaint{};
};

// Every member has a default, so a handler names only what it uses (designated
// initializers, as in the example above).
struct ApplySpec {
  std::string method{};     // the Set... method that receives the delta
  std::string cacheName{};  // the name given to the local cache
  // Further names, for a record set whose columns live in several cached tables.
  std::vector<std::string> extraCacheNames{};
  std::vector<Finish> finish{};
  // Arguments sent after the delta; evaluated once the indicator is shown.
  std::function<data::VariantArray()> extraArgs{};
  // Runs after the send, and also when there was nothing to send.
  std::function<void()> followUp{};
  // Whether a failure of the follow-up also cancels the record set's pending updates.
  bool followUpFailureCancels = false;
  ProgressHooks progress{};
};

// Sends the pending changes of `rs`. With nothing pending only the follow-up runs.
// Otherwise: show the indicator, evaluate the extra arguments, call the method with the
// delta and them, check the result, run the finishing actions in the order given, then
// the follow-up. If anything of that raises (the follow-up only when it is marked so), the
// pending updates are cancelled, the indicator is hidden (if it is still shown: never a
// hide without a show, nor a second one), the screen repainted and the error raised again:
// the record set never keeps changes the server did not take. Showing the indicator
// counts as part of the send, so a failure there cancels too.
// `plan.finish` must include Merge (qbk::Error otherwise, before anything is sent).
void applyUpdates(NetConnection& net, data::RecordSet& rs, const ApplySpec& plan);

// ---- the by-reference names of SetBanco -----------------------------------------------------

// The bank fields whose names travel with SetBanco, in argument order.
using protocol::kBancoNullableFields;

// For each field, in order: its name when it is null in the current record of `rs`, else
// the empty text.
data::VariantArray nullFieldNames(const data::RecordSet& rs,
                                  std::span<const std::string_view> fields);

}  // namespace qbk::host
