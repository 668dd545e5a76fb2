#include "net_connection.h"

#include <httplib.h>

#include "data/codec.h"
#include "host/config.h"

namespace qbk::host {

namespace {

constexpr const char* kHealthPath = "/health";

std::string describe(httplib::Error e) {
  switch (e) {
    case httplib::Error::Connection:
      return "conexão recusada ou servidor inacessível";
    case httplib::Error::ConnectionTimeout:
      return "tempo de conexão esgotado";
    case httplib::Error::Read:
      return "falha ou tempo esgotado ao ler a resposta";
    case httplib::Error::Write:
      return "falha ou tempo esgotado ao enviar a requisição";
    case httplib::Error::BindIPAddress:
      return "endereço local indisponível";
    case httplib::Error::Canceled:
      return "operação cancelada";
    case httplib::Error::SSLConnection:
      return "falha ao estabelecer a conexão HTTPS";
    case httplib::Error::SSLServerVerification:
      return "o certificado do servidor não foi aceito";
    default:
      return "erro de comunicação";
  }
}

// The server's own words for a refusal (its body is a short Portuguese sentence), if any.
std::string serverSays(const httplib::Response& res, const std::string& received) {
  if (res.get_header_value("Content-Type").rfind("text/plain", 0) != 0) return {};
  std::string text = (res.body.empty() ? received : res.body).substr(0, 200);
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text.empty() ? text : " (" + text + ")";
}

template <typename Duration>
std::pair<time_t, time_t> secondsAndMicros(Duration d) {
  const auto us = std::chrono::duration_cast<std::chrono::microseconds>(d).count();
  return {static_cast<time_t>(us / 1000000), static_cast<time_t>(us % 1000000)};
}

}  // namespace

struct NetConnection::Impl {
  std::unique_ptr<httplib::Client> client;
  std::string address;  // host:port as connected, for messages
  std::string path;
  std::string authorization;  // "Bearer ..." or empty
  std::string request;        // reused for every call's body
  std::string response;       // reused for every call's reply
  long long nextId = 1;
};

NetConnection::NetConnection() : impl_(std::make_unique<Impl>()) {}
NetConnection::~NetConnection() {
  disconnect();
}

bool NetConnection::connected() const {
  return impl_->client != nullptr;
}

void NetConnection::disconnect() {
  if (impl_->client) impl_->client->stop();
  impl_->client.reset();
}

void NetConnection::connect() {
  disconnect();
  if (beforeConnect) beforeConnect(*this);
  const std::string address = host + ":" + std::to_string(port);
  const std::string cannot = "Não foi possível conectar ao servidor de aplicação em " + address;
  if (host.empty() || port < 1 || port > 65535)
    throw ConnectionError(cannot + ": endereço ou porta inválidos.");

  const HostConfig& config = hostConfig();
  const std::string secret = token.empty() ? config.serverToken : token;
  const bool https = tls || config.serverTls;
  const std::string ca = caFile.empty() ? config.serverCa : caFile;
  auto client = std::make_unique<httplib::Client>((https ? "https://" : "http://") + address);
  if (https) {
    client->enable_server_certificate_verification(true);
    if (!ca.empty()) client->set_ca_cert_path(ca.c_str());
  }
  client->set_keep_alive(true);
  client->set_tcp_nodelay(true);  // small calls would otherwise wait on delayed ACKs
  auto [cs, cu] = secondsAndMicros(connectTimeout);
  client->set_connection_timeout(cs, cu);
  auto [rs, ru] = secondsAndMicros(readTimeout);
  client->set_read_timeout(rs, ru);
  auto [ws, wu] = secondsAndMicros(writeTimeout);
  client->set_write_timeout(ws, wu);

  auto res = client->Get(kHealthPath);
  if (!res) throw ConnectionError(cannot + ": " + describe(res.error()) + ".");
  if (res->status != 200 || res->body != "ok")
    throw ConnectionError(cannot + ": o endereço não responde como servidor de aplicação (" +
                          kHealthPath + " respondeu com o status HTTP " +
                          std::to_string(res->status) + ").");
  impl_->client = std::move(client);
  impl_->authorization = secret.empty() ? std::string() : "Bearer " + secret;
  impl_->address = address;
  impl_->path = rpcPath();
}

ServerResult NetConnection::call(std::string_view method, data::VariantArray args) {
  if (!connected())
    throw ConnectionError("Não há conexão aberta com o servidor de aplicação em " + host + ":" +
                          std::to_string(port) + ".");
  const data::Variant id(static_cast<double>(impl_->nextId++));

  std::string& body = impl_->request;
  body.clear();
  data::json::appendRequest(body, {id, std::string(method), std::move(args)});

  httplib::Request req;
  req.method = "POST";
  req.path = impl_->path;
  req.headers.emplace("Content-Type", "application/json");
  if (!impl_->authorization.empty()) req.headers.emplace("Authorization", impl_->authorization);
  req.body = std::move(body);
  std::string& reply = impl_->response;
  reply.clear();
  req.content_receiver = [&reply](const char* data, size_t n, uint64_t, uint64_t) {
    reply.append(data, n);
    return true;
  };
  httplib::Response res;
  httplib::Error error = httplib::Error::Success;
  const bool sent = impl_->client->send(req, res, error);
  body = std::move(req.body);  // the buffer keeps its capacity for the next call

  const std::string server =
      "servidor de aplicação em " + impl_->address + " (" + std::string(method) + ")";
  if (!sent)
    throw ConnectionError("Falha na comunicação com o " + server + ": " + describe(error) + ".");
  if (res.status == 401)
    throw ConnectionError("O " + server +
                          " recusou o acesso: token de acesso ausente ou inválido (chave "
                          "server_token da configuração).");
  if (res.status != 200)
    throw ConnectionError("Resposta inesperada do " + server + ": status HTTP " +
                          std::to_string(res.status) + serverSays(res, reply) + ".");

  data::json::RpcResponse decoded = data::json::decodeResponse(reply);
  if (!(decoded.id == id))
    throw data::ProtocolError(data::rpc_code::kInvalidRequest,
                              "Resposta do " + server + " não corresponde à chamada.");
  if (!decoded.ok) return ServerResult::failure(decoded.errorCode, std::move(decoded.errorMessage));
  return ServerResult::success(std::move(decoded.result));
}

}  // namespace qbk::host
