// The desktop's command line: options that override the host's configuration, the screen
// to open at start and where the modules live.
#pragma once

#include <optional>
#include <string>

#include "data/errors.h"
#include "host/config.h"

namespace qbk::desktop {

class UsageError : public Error {
 public:
  using Error::Error;
};

struct CommandLine {
  host::ConfigOverrides overrides;  // keyed as the configuration file
  std::string openCode;             // --open: a screen code, "" for none
  std::string moduleDir;            // --module-dir: "" for the one beside the program
  std::string screenshotDir;        // --screenshots: take the pictures there and quit
  bool help = false;
  std::string helpText;
};

// "HOST:PORT" (the port 1..65535) as the overrides web_url and web_port. A text that is not
// of that form is a UsageError naming it.
host::ConfigOverrides serverOverrides(const std::string& hostPort);

// Parses the options that remain after Qt took its own. A bad option is a UsageError
// carrying the parser's message.
CommandLine parseCommandLine(int argc, const char* const* argv);

}  // namespace qbk::desktop
