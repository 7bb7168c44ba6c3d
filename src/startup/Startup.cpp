#include "startup/Startup.h"

#include <unistd.h>

#include "platform/Profile.h"
#include "platform/Strings.h"
#include "startup/CommandLine.h"
#include "startup/Configuration.h"
#include "startup/SuiteProcedure.h"

namespace startup {

using platform::Buttons;
using platform::Icon;

namespace {

constexpr int kScreenMargin = 120;  // twips the usable area exceeds the screen by
constexpr std::size_t kUserChars = 5;

std::string errorTitle(const platform::Environment& env) {
  return platform::upperCase(env.programFileName) + " -ERRORE";
}

// The found configuration file must be one the program can read: a FIFO would hang every
// read, a device or a huge file would fill the memory.
bool usableConfigFile(const platform::Environment& env, const AppParams& params,
                      platform::Desktop& desktop) {
  const std::string problem = platform::iniFileProblem(params.ownIniPath);
  if (problem.empty()) return true;
  desktop.messageBox(
      {"File di configurazione " + params.ownIniPath + " non utilizzabile: " + problem,
       errorTitle(env), Buttons::Ok, Icon::Critical});
  return false;
}

// The operator's name becomes a folder under the base and work folders: anything but one plain
// folder name would reach, or create folders, outside the installation.
bool isFolderName(const std::string& name) {
  return name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

}  // namespace

StartOutcome initialise(const platform::Environment& env, AppParams& params,
                        platform::Desktop& desktop) {
  params.standAlone = false;
  params.programFileName = env.programFileName;
  parseCommandLine(env.commandLine, params);
  if (platform::trim(params.operatorCode).empty()) {
    desktop.messageBox({"Mancano i parametri", "", Buttons::Ok, Icon::None});
    return StartOutcome::MissingParams;
  }
  params.startFailed = false;
  params.usableWidth = env.screenWidthTwips + kScreenMargin;
  params.usableHeight = env.screenHeightTwips + kScreenMargin;

  Configuration config(env, params, desktop);
  params.startFailed = !config.findConfigFile() || !usableConfigFile(env, params, desktop);
  config.readNetworkSection();
  config.readDatabaseNames();
  return params.startFailed ? StartOutcome::NoConfigFile : StartOutcome::Ready;
}

StartOutcome load(const platform::Environment& env, AppParams& params, Databases& dbs,
                  utilities::ReportEngine& reports, platform::Desktop& desktop,
                  const ProgressLabel& progress, const ProgressLabel& copyProgress) {
  if (params.startFailed) {
    // Without a configuration the program can do nothing: the suite's caller takes over.
    runSuiteProcedure(env, params, desktop, "INFOTORVA");
    return StartOutcome::NoConfigFile;
  }
  // Relative names in the configuration are the program folder's, as the suite expects.
  if (!env.programFolder.empty() && ::chdir(env.programFolder.c_str()) != 0) {
    // The folder may have gone: the configured paths are absolute in practice, so go on.
  }
  params.windowsUser = platform::firstChars(env.userName, kUserChars);
  params.positionSuffix = platform::readIni(params.ownIniPath, "BASE", "POSIZ");

  Configuration config(env, params, desktop);
  if (!config.loadBasePaths()) params.operatorCode = "";
  params.operatorCode = platform::upperCase(params.operatorCode);
  if (!isFolderName(params.operatorCode)) {
    desktop.messageBox(
        {"NOME OPERATORE NON VALIDO: '" + params.operatorCode +
             "'\nIl nome dell'operatore è quello di una sua cartella: non può contenere "
             "\"/\" o \"\\\" né essere \".\" o \"..\"",
         errorTitle(env), Buttons::Ok, Icon::Critical});
    return StartOutcome::InvalidOperator;
  }
  config.loadParameters();

  if (!openDatabases(params, dbs, desktop, progress, copyProgress))
    return StartOutcome::DatabasesClosed;
  desktop.processEvents();
  if (!reports.open()) {
    desktop.messageBox({"ERRORE NELLA GESTIONE STAMPE", "", Buttons::Ok, Icon::None});
  }
  desktop.processEvents();
  return StartOutcome::Ready;
}

}  // namespace startup
