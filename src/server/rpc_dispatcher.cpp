#include "server/rpc_dispatcher.h"

#include <spdlog/spdlog.h>

#include "server/app_error.h"

namespace qbk::server {

namespace code = data::rpc_code;
using data::ProtocolError;

namespace {

// The person at the screen can do something about a full disk (tell whoever keeps the
// server), so it is named; the engine's own text goes to the log.
std::string storageFailureText(const db::StorageError& e) {
  return e.diskFull() ? "O disco do banco de dados está cheio; a operação não foi concluída e "
                        "nada foi gravado. Libere espaço no servidor e tente novamente."
                      : "Falha de leitura ou gravação no disco do banco de dados; a operação não "
                        "foi concluída e nada foi gravado. Tente novamente.";
}

}  // namespace

void Dispatcher::add(std::string name, std::vector<ParamKind> params, MethodHandler handler) {
  methods_[std::move(name)] = MethodSpec{std::move(params), std::move(handler)};
}

bool Dispatcher::has(std::string_view name) const {
  return methods_.find(std::string(name)) != methods_.end();
}

void Dispatcher::checkParams(const std::string& name, const MethodSpec& method,
                             const data::VariantArray& params) const {
  if (params.size() != method.params.size())
    throw ProtocolError(code::kInvalidParams,
                        name + " espera " + std::to_string(method.params.size()) +
                            " parâmetro(s), recebeu " + std::to_string(params.size()) + ".");
  for (std::size_t i = 0; i < params.size(); ++i) {
    const bool delta = method.params[i] == ParamKind::Delta;
    if (!(delta ? params[i].isDelta() : params[i].isString()))
      throw ProtocolError(code::kInvalidParams,
                          name + ": o parâmetro " + std::to_string(i + 1) + " deve ser " +
                              (delta ? "um pacote de alterações." : "um texto."));
    // SQLite would compare it and PostgreSQL refuse it: the same request must get the same
    // answer on both.
    if (!delta && params[i].asString().find('\0') != std::string::npos)
      throw ProtocolError(code::kInvalidParams,
                          name + ": o parâmetro " + std::to_string(i + 1) +
                              " contém o caractere nulo (U+0000), que não é aceito.");
  }
}

namespace {

void appendFailure(std::string& out, const data::Variant& id, int errorCode,
                   const std::string& message) {
  data::json::RpcResponse response;
  response.id = id;
  response.ok = false;
  response.errorCode = errorCode;
  response.errorMessage = message;
  data::json::appendResponse(out, response);
}

}  // namespace

CallOutcome Dispatcher::run(data::json::RpcCall& call, const std::function<db::Connection&()>& conn,
                            std::string& out) const {
  data::json::RpcRequest& request = call.request;
  CallOutcome outcome;
  outcome.method = request.method;
  outcome.notification = request.notification;
  data::json::RpcResponse response;
  response.id = request.id;
  const std::size_t start = out.size();
  try {
    auto it = methods_.find(request.method);
    // An unknown method is what a caller must hear first, even when its parameters were
    // unreadable too.
    const bool paramsOnly = call.errorCode == code::kInvalidParams;
    if (call.errorCode != 0 && !(paramsOnly && it == methods_.end()))
      throw ProtocolError(call.errorCode, call.errorMessage);
    if (it == methods_.end())
      throw ProtocolError(code::kMethodNotFound, "Método desconhecido: '" + request.method + "'.");
    checkParams(it->first, it->second, request.params);
    MethodResult result = it->second.handler(conn(), request.params);
    if (auto* query = std::get_if<PacketQuery>(&result)) {
      // Nobody reads a notification's answer, so its rows are not even fetched.
      if (request.notification) return outcome;
      data::json::appendResultHead(out, response.id);
      streamPacket(conn(), *query, out);
      data::json::appendResultTail(out);
      return outcome;
    }
    response.result = std::move(std::get<data::Variant>(result));
  } catch (const ProtocolError& e) {
    response.ok = false;
    response.errorCode = e.code();
    response.errorMessage = e.what();
  } catch (const ApplicationError& e) {
    response.ok = false;
    response.errorCode = code::kApplication;
    response.errorMessage = e.what();
  } catch (const db::StorageError& e) {
    spdlog::error("{}: {}", outcome.method.empty() ? "(requisição)" : outcome.method, e.what());
    response.ok = false;
    response.errorCode = code::kInternalError;
    response.errorMessage = storageFailureText(e);
  } catch (const db::BusyError& e) {
    spdlog::warn("{}: {}", outcome.method, e.what());
    response.ok = false;
    response.errorCode = code::kBusy;
    response.errorMessage = kBusyMessage;
  } catch (const db::ConcurrencyError& e) {
    spdlog::warn("{}: {}", outcome.method, e.what());
    response.ok = false;
    response.errorCode = code::kApplication;
    response.errorMessage = kConcurrencyMessage;
  } catch (...) {
    // Database and programming failures: the detail goes to the log, not to the screen.
    std::string detail = "falha desconhecida";
    try {
      throw;
    } catch (const std::exception& e) {
      detail = e.what();
    } catch (...) {
    }
    spdlog::error("{}: {}", outcome.method.empty() ? "(requisição)" : outcome.method, detail);
    response.ok = false;
    response.errorCode = code::kInternalError;
    response.errorMessage =
        "Erro interno do servidor; a operação não foi concluída. Tente novamente.";
  }
  if (!response.ok) {
    out.resize(start);  // whatever a streamed result had written of itself
    response.result = data::Variant();
    outcome.errorCode = response.errorCode;
    outcome.errorMessage = response.errorMessage;
  }
  if (request.notification) return outcome;
  try {
    data::json::appendResponse(out, response);
  } catch (const std::exception& e) {
    spdlog::error("{}: resposta não codificada: {}", outcome.method, e.what());
    out.resize(start);
    outcome.errorCode = code::kInternalError;
    outcome.errorMessage = "Erro interno do servidor; a resposta não pôde ser montada.";
    appendFailure(out, response.id, outcome.errorCode, outcome.errorMessage);
  }
  return outcome;
}

std::vector<CallOutcome> Dispatcher::handle(std::string_view body,
                                            const std::function<db::Connection&()>& conn,
                                            std::string& out) const {
  std::vector<CallOutcome> outcomes;
  const std::size_t start = out.size();
  data::json::RpcCalls calls;
  try {
    calls = data::json::decodeCalls(body);
  } catch (const ProtocolError& e) {
    // Broken JSON or an empty batch: there is no request to echo an id from.
    out.resize(start);
    appendFailure(out, data::Variant(), e.code(), e.what());
    outcomes.push_back({"", false, e.code(), e.what()});
    return outcomes;
  } catch (const std::exception& e) {
    spdlog::error("(requisição): {}", e.what());
    out.resize(start);
    const std::string message = "Erro interno do servidor; a requisição não pôde ser lida.";
    appendFailure(out, data::Variant(), code::kInternalError, message);
    outcomes.push_back({"", false, code::kInternalError, message});
    return outcomes;
  }

  if (!calls.batch) {
    outcomes.push_back(run(calls.calls.front(), conn, out));
    return outcomes;
  }
  out += '[';
  bool answered = false;
  for (data::json::RpcCall& call : calls.calls) {
    const std::size_t mark = out.size();
    if (answered) out += ',';
    const std::size_t before = out.size();
    outcomes.push_back(run(call, conn, out));
    if (out.size() == before)
      out.resize(mark);  // a notification: nothing to separate
    else
      answered = true;
  }
  // A batch of notifications only is answered with nothing at all, not with "[]".
  if (answered)
    out += ']';
  else
    out.resize(start);
  return outcomes;
}

}  // namespace qbk::server
