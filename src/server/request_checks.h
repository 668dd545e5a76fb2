// What the HTTP front checks in a request's headers before the body is read: who it is
// for (Host), who sent it (Origin), whether it carries the shared secret, what it carries.
// Each answer is made of texts only, so it is tested without a socket.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qbk::server {

// A Host header names this server when its name is "localhost", an IP literal or one of
// `allowed` (case-insensitive, a port and a trailing dot ignored). A page that a browser
// loaded from some other name and then pointed at this machine (DNS rebinding) carries
// that other name.
bool hostAllowed(std::string_view host, const std::vector<std::string>& allowed);

// A bearer credential matches `token`, compared in constant time. An empty token is never
// matched: the caller decides whether one is needed at all.
bool bearerMatches(std::string_view authorization, std::string_view token);

// "application/json", whatever the letter case and parameters.
bool isJsonContentType(std::string_view contentType);

}  // namespace qbk::server
