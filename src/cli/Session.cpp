#include "cli/Session.h"

#include "cli/ProgressLine.h"
#include "platform/Strings.h"
#include "platform/TextEncoding.h"
#include "startup/Startup.h"

namespace cli {

namespace {

constexpr int kScreenWidthTwips = 1280 * 15;  // 1280 pixels at 96 dpi, 15 twips a pixel
constexpr int kScreenHeightTwips = 1024 * 15;

}  // namespace

Session::Session(const CommonOptions& options, std::ostream& messages) : desktop_(messages) {
  env_ = platform::Environment::fromSystem(options.argv0, "");
  // The sheet program finds the configuration where the statind-cli that started it would.
  if (!options.programFolder.empty()) env_.programFolder = options.programFolder;
  // The console companion reads the program's own configuration, not one of its own name.
  env_.programFileName = "statind";
  env_.productName = "statind";
  env_.screenWidthTwips = kScreenWidthTwips;
  env_.screenHeightTwips = kScreenHeightTwips;
  env_.configFileOverride = options.ini;
  try {
    if (startup::initialise(env_, params_, desktop_) != startup::StartOutcome::Ready) return;
    const auto silent = [](const std::string&) {};
    // A Jet file's mirror may take seconds to copy: its progress is shown on the message stream.
    ProgressLine copying(messages);
    const auto copyProgress = [&copying](const std::string& caption) { copying.show(caption); };
    const auto outcome =
        startup::load(env_, params_, dbs_, reports_, desktop_, silent, copyProgress);
    copying.end();
    if (outcome != startup::StartOutcome::Ready) return;
    exitCode_ = kExitOk;
  } catch (const std::exception& e) {
    messages << "statind: " << e.what() << std::endl;
  }
}

Session::~Session() {
  try {
    reports_.close();
    startup::closeDatabases(dbs_, desktop_);
  } catch (...) {
    // Nothing is left to do for a closing console command.
  }
}

int Session::runForProduct(const CommonOptions& options, const std::string& product,
                           const std::function<int(Session&, const std::string&)>& command) {
  std::string code = platform::trim(product);
  // A code typed on a Windows-1252 console, or copied from the suite's files, as the program
  // shows it.
  if (!platform::isValidUtf8(code)) code = platform::cp1252ToUtf8(code);
  if (code.empty()) {
    std::cerr << "codice prodotto vuoto\n";
    return kExitUsage;
  }
  Session session(options);
  if (!session.ok()) return session.exitCode();
  try {
    return command(session, code);
  } catch (const platform::StoreError& e) {
    std::cerr << e.what() << "\n";
    return kExitStore;
  }
}

}  // namespace cli
