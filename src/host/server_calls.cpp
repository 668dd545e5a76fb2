#include "server_calls.h"

#include <algorithm>

#include "data/errors.h"
#include "local_cache.h"
#include "server_result.h"

namespace qbk::host {

namespace {

data::Variant checkedCall(NetConnection& net, std::string_view method, data::VariantArray args) {
  return CheckResultServ(net.call(method, std::move(args)), true, kCheckNoFlags);
}

void run(const std::function<void()>& hook) {
  if (hook) hook();
}

// One send: keeps track of whether the indicator is up, so a failure hides it exactly when
// it is shown (never a hide without a show, nor a second one).
class ApplyRun {
 public:
  ApplyRun(data::RecordSet& rs, const ApplySpec& plan) : rs_(rs), spec_(plan) {}

  void show() {
    if (spec_.progress.show) spec_.progress.show(spec_.progress.text);
    showing_ = true;
  }

  void finish(Finish step) {
    switch (step) {
      case Finish::Cache: {
        data::VariantArray names{spec_.cacheName};
        for (const std::string& name : spec_.extraCacheNames) names.emplace_back(name);
        AtualizaLocalCache(names);
        break;
      }
      case Finish::Hide:
        hide();
        break;
      case Finish::Repaint:
        run(spec_.progress.repaint);
        break;
      case Finish::Merge:
        rs_.mergeChangeLog();
        break;
    }
  }

  // Undoes a failed send as far as the screen can: pending changes dropped, indicator gone,
  // screen repainted. Every step is tried even if one fails; the error that started it all
  // is the one the caller raises again.
  void recover() noexcept {
    try {
      rs_.cancelUpdates();
    } catch (...) {
    }
    try {
      hide();
    } catch (...) {
    }
    try {
      run(spec_.progress.repaint);
    } catch (...) {
    }
  }

 private:
  void hide() {
    if (!showing_) return;
    showing_ = false;
    run(spec_.progress.hide);
  }

  data::RecordSet& rs_;
  const ApplySpec& spec_;
  bool showing_ = false;
};

}  // namespace

void fetchInto(NetConnection& net, data::RecordSet& target, std::string_view method,
               data::VariantArray args) {
  data::Variant payload = checkedCall(net, method, std::move(args));
  target.setData(std::move(payload).takePacket());
}

std::string fetchFlaggedInto(NetConnection& net, data::RecordSet& target, std::string_view method,
                             data::VariantArray args) {
  const data::Variant payload = checkedCall(net, method, std::move(args));
  const bool shaped = payload.isArray() && payload.asArray().size() == 2 &&
                      payload.asArray()[0].isString() && payload.asArray()[1].isPacket();
  if (!shaped)
    throw data::DataError("Resposta de " + std::string(method) +
                          " fora do formato esperado (um texto e um pacote de dados).");
  target.setData(payload.asArray()[1].asPacket());
  return payload.asArray()[0].asString();
}

void execProcedure(NetConnection& net, std::string_view method, data::VariantArray args) {
  checkedCall(net, method, std::move(args));
}

void applyUpdates(NetConnection& net, data::RecordSet& rs, const ApplySpec& plan) {
  if (std::find(plan.finish.begin(), plan.finish.end(), Finish::Merge) == plan.finish.end())
    throw Error("applyUpdates de " + plan.method +
                " sem Finish::Merge deixaria alterações "
                "pendentes.");
  ApplyRun apply(rs, plan);
  if (rs.changeCount() > 0) {
    try {
      apply.show();
      data::VariantArray extra = plan.extraArgs ? plan.extraArgs() : data::VariantArray{};
      data::VariantArray args;
      args.reserve(1 + extra.size());
      args.emplace_back(rs.delta());
      std::move(extra.begin(), extra.end(), std::back_inserter(args));
      checkedCall(net, plan.method, std::move(args));
      for (Finish step : plan.finish) apply.finish(step);
    } catch (...) {
      apply.recover();
      throw;
    }
  }
  if (!plan.followUp) return;
  try {
    plan.followUp();
  } catch (...) {
    if (plan.followUpFailureCancels) apply.recover();
    throw;
  }
}

data::VariantArray nullFieldNames(const data::RecordSet& rs,
                                  std::span<const std::string_view> fields) {
  data::VariantArray names;
  names.reserve(fields.size());
  for (std::string_view name : fields)
    names.emplace_back(rs.fieldByName(name).isNull() ? std::string(name) : std::string());
  return names;
}

}  // namespace qbk::host
