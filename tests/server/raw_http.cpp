#include "raw_http.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace qbk::server::testing {

namespace {

using Clock = std::chrono::steady_clock;

int remainingMs(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

RawConnection::RawConnection(int port) {
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd_);
    fd_ = -1;
    return;
  }
  int one = 1;
  setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

RawConnection::~RawConnection() {
  close();
}

void RawConnection::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool RawConnection::send(std::string_view bytes) {
  if (fd_ < 0 || closedByPeer_) return false;
  while (!bytes.empty()) {
    const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      closedByPeer_ = true;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string RawConnection::readUntilClosed(std::chrono::milliseconds limit) {
  std::string out = std::move(pending_);
  pending_.clear();
  const auto deadline = Clock::now() + limit;
  char buf[65536];
  while (fd_ >= 0 && !closedByPeer_) {
    pollfd p{fd_, POLLIN, 0};
    const int ready = ::poll(&p, 1, remainingMs(deadline));
    if (ready <= 0) break;
    const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    if (n <= 0) {
      closedByPeer_ = true;
      break;
    }
    out.append(buf, static_cast<std::size_t>(n));
  }
  return out;
}

bool RawConnection::closedWithin(std::chrono::milliseconds limit) {
  readUntilClosed(limit);
  return closedByPeer_;
}

std::string RawConnection::readResponse(std::chrono::milliseconds limit) {
  std::string out = std::move(pending_);
  pending_.clear();
  const auto deadline = Clock::now() + limit;
  char buf[65536];
  for (;;) {
    const auto end = out.find("\r\n\r\n");
    if (end != std::string::npos) {
      std::size_t length = 0;
      const auto at = out.find("Content-Length: ");
      if (at != std::string::npos && at < end)
        length = std::strtoul(out.c_str() + at + 16, nullptr, 10);
      if (out.size() >= end + 4 + length) {
        pending_ = out.substr(end + 4 + length);
        out.resize(end + 4 + length);
        return out;
      }
    }
    if (fd_ < 0 || closedByPeer_) return out;
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, remainingMs(deadline)) <= 0) return out;
    const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
    if (n <= 0) {
      closedByPeer_ = true;
      return out;
    }
    out.append(buf, static_cast<std::size_t>(n));
  }
}

std::string rpcRequest(std::string_view body, std::string_view extra) {
  std::string r = "POST /rpc/Qbk51200.rdmBanco HTTP/1.1\r\nHost: 127.0.0.1\r\n";
  r += "Content-Type: application/json\r\nContent-Length: " + std::to_string(body.size()) + "\r\n";
  r += extra;
  r += "\r\n";
  r += body;
  return r;
}

int statusOf(std::string_view response) {
  if (response.substr(0, 9) != "HTTP/1.1 " || response.size() < 12) return 0;
  return std::atoi(std::string(response.substr(9, 3)).c_str());
}

std::string bodyOf(std::string_view response) {
  const auto end = response.find("\r\n\r\n");
  return end == std::string_view::npos ? std::string() : std::string(response.substr(end + 4));
}

}  // namespace qbk::server::testing
