// A start-up for a console command: the same initialisation and loading as the program, with
// no command line (stand-alone), a screen 1280 pixels wide at 96 dpi, the configuration file of
// --ini when given, and message boxes printed on stderr. Everything opened is closed when the
// session ends.
#pragma once

#include <functional>
#include <iostream>
#include <string>

#include "cli/Commands.h"
#include "cli/ConsoleDesktop.h"
#include "platform/Environment.h"
#include "startup/AppParams.h"
#include "startup/Databases.h"
#include "utilities/ReportEngine.h"

namespace cli {

class Session {
 public:
  // Runs the start-up at once. Afterwards ok() tells whether everything is open; the reason of
  // a failure has already been printed on `messages`.
  explicit Session(const CommonOptions& options, std::ostream& messages = std::cerr);
  // Closes the report engine and the databases (no per-user settings are written).
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // A command about one product: an empty code (after trimming blanks) is a usage error;
  // otherwise a session is started and, when it is ready, `command` runs with the trimmed code.
  // A failed start-up or a storage failure inside `command` is printed on stderr and gives
  // kExitStore; otherwise the result of `command` is returned.
  static int runForProduct(const CommonOptions& options, const std::string& product,
                           const std::function<int(Session&, const std::string& code)>& command);

  bool ok() const { return exitCode_ == kExitOk; }
  // kExitOk, or kExitStore when the start-up failed.
  int exitCode() const { return exitCode_; }

  const platform::Environment& env() const { return env_; }
  startup::AppParams& params() { return params_; }
  startup::Databases& dbs() { return dbs_; }
  platform::Desktop& desktop() { return desktop_; }

 private:
  platform::Environment env_;
  startup::AppParams params_;
  startup::Databases dbs_;
  utilities::ReportEngine reports_;
  ConsoleDesktop desktop_;
  int exitCode_ = kExitStore;
};

}  // namespace cli
