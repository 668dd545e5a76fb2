#include "server/rpc_dispatcher.h"

#include <spdlog/spdlog.h>

#include "data/codec.h"
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
    if (delta ? params[i].isDelta() : params[i].isString()) continue;
    throw ProtocolError(code::kInvalidParams,
                        name + ": o parâmetro " + std::to_string(i + 1) + " deve ser " +
                            (delta ? "um pacote de alterações." : "um texto."));
  }
}

CallOutcome Dispatcher::handle(std::string_view body, const std::function<db::Connection&()>& conn,
                               std::string& out) const {
  CallOutcome outcome;
  data::json::RpcResponse response;
  const std::size_t start = out.size();
  try {
    // The depth guard runs on the raw text, before any parser sees it.
    data::json::checkNesting(body);
    data::json::RpcRequest request = data::json::decodeRequest(body);
    response.id = std::move(request.id);
    outcome.method = request.method;
    auto it = methods_.find(request.method);
    if (it == methods_.end())
      throw ProtocolError(code::kMethodNotFound, "Método desconhecido: '" + request.method + "'.");
    checkParams(it->first, it->second, request.params);
    MethodResult result = it->second.handler(conn(), request.params);
    if (auto* query = std::get_if<PacketQuery>(&result)) {
      data::json::appendResultHead(out, response.id);
      streamPacket(conn(), *query, out);
      data::json::appendResultTail(out);
      return outcome;
    }
    response.result = std::move(std::get<data::Variant>(result));
  } catch (const ProtocolError& e) {
    // A request refused while it was being read still gets its id back when it has a
    // readable one; broken JSON has none to give.
    if (outcome.method.empty() && e.code() != code::kParseError)
      response.id = data::json::peekRequestId(body);
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
  try {
    data::json::appendResponse(out, response);
  } catch (const std::exception& e) {
    spdlog::error("{}: resposta não codificada: {}", outcome.method, e.what());
    out.resize(start);
    data::json::RpcResponse failure;
    failure.id = response.id;
    failure.ok = false;
    failure.errorCode = outcome.errorCode = code::kInternalError;
    failure.errorMessage = outcome.errorMessage =
        "Erro interno do servidor; a resposta não pôde ser montada.";
    data::json::appendResponse(out, failure);
  }
  return outcome;
}

}  // namespace qbk::server
