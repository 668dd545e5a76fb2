#include "server/request_checks.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>

namespace qbk::server {

namespace {

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view trim(std::string_view s) {
  const auto first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

bool allDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool hostAllowed(std::string_view host, const std::vector<std::string>& allowed) {
  host = trim(host);
  if (host.empty()) return false;
  if (host.front() == '[') {
    const auto close = host.find(']');
    if (close == std::string_view::npos) return false;
    const std::string_view rest = host.substr(close + 1);
    if (!rest.empty() && !(rest.front() == ':' && allDigits(rest.substr(1)))) return false;
    const std::string literal(host.substr(1, close - 1));
    in6_addr address;
    return inet_pton(AF_INET6, literal.c_str(), &address) == 1;
  }
  if (const auto colon = host.rfind(':'); colon != std::string_view::npos) {
    if (!allDigits(host.substr(colon + 1))) return false;
    host = host.substr(0, colon);
  }
  std::string name = lower(host);
  if (!name.empty() && name.back() == '.') name.pop_back();
  if (name.empty()) return false;
  in_addr v4;
  if (inet_pton(AF_INET, name.c_str(), &v4) == 1) return true;
  if (name == "localhost") return true;
  return std::any_of(allowed.begin(), allowed.end(), [&](const std::string& a) {
    std::string n = lower(a);
    if (!n.empty() && n.back() == '.') n.pop_back();
    return n == name;
  });
}

bool bearerMatches(std::string_view authorization, std::string_view token) {
  if (token.empty()) return false;
  authorization = trim(authorization);
  constexpr std::string_view scheme = "bearer ";
  if (authorization.size() < scheme.size() ||
      lower(authorization.substr(0, scheme.size())) != scheme)
    return false;
  const std::string_view given = trim(authorization.substr(scheme.size()));
  // Every byte is looked at whatever the first difference, so the time taken tells
  // nothing about how much of a guess was right.
  unsigned char diff = given.size() == token.size() ? 0 : 1;
  for (std::size_t i = 0; i < token.size(); ++i)
    diff |= static_cast<unsigned char>(token[i] ^ (i < given.size() ? given[i] : 0));
  return diff == 0;
}

bool isJsonContentType(std::string_view contentType) {
  const std::string_view bare = trim(contentType.substr(0, contentType.find(';')));
  return lower(bare) == "application/json";
}

}  // namespace qbk::server
