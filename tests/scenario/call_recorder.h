// A loopback relay between the screen and the server that keeps every call the screen
// made, so a test can read the arguments of a method as they travelled.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qbk::module::testing {

class CallRecorder {
 public:
  explicit CallRecorder(int serverPort);
  ~CallRecorder();
  CallRecorder(const CallRecorder&) = delete;
  CallRecorder& operator=(const CallRecorder&) = delete;

  int port() const;
  // The text arguments of every call of `method`, in call order (other kinds read as "").
  std::vector<std::vector<std::string>> textArgs(std::string_view method) const;
  int calls(std::string_view method) const { return static_cast<int>(textArgs(method).size()); }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qbk::module::testing
