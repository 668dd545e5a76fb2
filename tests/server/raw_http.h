// A client that speaks HTTP by hand over a plain socket, for what no well-behaved client
// would send: half a request, one byte at a time, a hundred thousand headers, nothing.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace qbk::server::testing {

class RawConnection {
 public:
  explicit RawConnection(int port);
  ~RawConnection();
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;

  bool connected() const { return fd_ >= 0; }
  // False once the server has closed or reset the connection.
  bool send(std::string_view bytes);
  // Everything that arrives until the server closes the connection, or `limit` passes.
  std::string readUntilClosed(std::chrono::milliseconds limit);
  // One whole response (headers and a Content-Length body), or what arrived by `limit`.
  std::string readResponse(std::chrono::milliseconds limit);
  // True when the server closes (or resets) the connection within `limit`.
  bool closedWithin(std::chrono::milliseconds limit);
  void close();

 private:
  int fd_ = -1;
  bool closedByPeer_ = false;
  std::string pending_;  // bytes read past the last response
};

// "POST /rpc/... HTTP/1.1" with Host, Content-Type and Content-Length, plus `extra` header
// lines (each ending in "\r\n"), then the body.
std::string rpcRequest(std::string_view body, std::string_view extra = {});

// The status code of a response's first line; 0 when there is none.
int statusOf(std::string_view response);

// The body after the blank line.
std::string bodyOf(std::string_view response);

}  // namespace qbk::server::testing
