#include "startup/Configuration.h"

#include <filesystem>

#include "platform/FileSystem.h"
#include "platform/PgConnection.h"
#include "platform/Profile.h"
#include "platform/Strings.h"
#include "startup/NumericText.h"
#include "utilities/FileCheck.h"

namespace startup {

using platform::Buttons;
using platform::Icon;

namespace {

constexpr int kMaxDecimals = 15;  // a double holds no more significant decimals

// INDICI_DB_ATTESA in whole seconds, from 1 to an hour; anything else (empty, mistyped, out of
// range) keeps the default rather than waiting for ever or giving up at once.
int serverWaitSeconds(const std::string& text) {
  constexpr int kDefault = static_cast<int>(platform::PgConnection::kDefaultSilence.count());
  constexpr int kMost = 3600;
  const auto value = numericValue(text);
  if (!value || *value < 1 || *value > kMost) return kDefault;
  return roundHalfEven(*value, 1, kMost);
}

}  // namespace

Configuration::Configuration(const platform::Environment& env, AppParams& params,
                             platform::Desktop& desktop)
    : env_(env), params_(params), desktop_(desktop) {}

bool Configuration::findConfigFile() {
  std::vector<std::string> candidates;
  if (!env_.configFileOverride.empty()) {
    // Made absolute now: loading changes the current folder afterwards.
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(env_.configFileOverride, ec);
    candidates.push_back(ec ? env_.configFileOverride : absolute.string());
  } else {
    const std::string programFolder = asFolder(env_.programFolder);
    const std::string windowsFolder = asFolder(env_.windowsFolder);
    candidates = {
        programFolder + env_.programFileName + ".ini", programFolder + env_.productName + ".ini",
        windowsFolder + env_.programFileName + ".ini", windowsFolder + env_.productName + ".ini"};
  }
  for (auto& candidate : candidates) {
    // A disk that cannot be read is told as such (with the chance to retry), not as a missing
    // configuration file.
    if (utilities::fileExists(desktop_, candidate, 0)) {
      params_.ownIniPath = platform::resolvePath(candidate);
      return true;
    }
  }
  params_.ownIniPath = candidates.back();
  params_.lastAnswer = static_cast<int>(desktop_.messageBox(
      {"File di configurazione inesistente", errorTitle(), Buttons::Ok, Icon::Critical}));
  return false;
}

void Configuration::readNetworkSection() {
  const auto number = numericValue(read("PARAMETRI", "Finanziaria"));
  params_.networkSection = (number && *number == 1)   ? "FEF"
                           : (number && *number == 2) ? "AZM"
                                                      : "RAS";
}

void Configuration::readDatabaseNames() {
  params_.dataDbName = "DatiDV.mdb";
  params_.visitsDbName = "VisiteDV.mdb";
  params_.indexDbName = "IndiciDV.mdb";
  params_.workDbName = "WorkDV.mdb";
  const auto replace = [&](const char* key, const char* prefix, std::string& name) {
    const std::string value = read(params_.networkSection, key);
    if (!value.empty() && value != "0") name = prefix + value + ".mdb";
  };
  replace("DATI", "Dati", params_.dataDbName);
  replace("VISITE", "Visite", params_.visitsDbName);
  replace("INDICI", "Indici", params_.indexDbName);
}

int Configuration::findBaseFolder() {
  for (int k = 0; k <= 9; ++k) {
    const std::string suffix = k == 0 ? "" : std::to_string(k);
    const std::string folder = read("PATH" + suffix, "FILE");
    if (!baseFolderExists(folder)) continue;
    params_.positionSuffix = suffix;
    platform::writeIni(params_.ownIniPath, "BASE", "POSIZ", suffix);
    desktop_.processEvents();
    return k;
  }
  return -1;
}

bool Configuration::loadBasePaths() {
  const std::string file = read("PATH" + params_.positionSuffix, "FILE");
  // The configured position is kept whenever its FILE names an existing folder, whatever
  // text the position itself is.
  const bool configured = baseFolderExists(file);
  if (!configured && findBaseFolder() < 0) {
    params_.lastAnswer = static_cast<int>(desktop_.messageBox(
        {"CARTELLA BASE DI VELTAR INESISTENTE", errorTitle(), Buttons::Ok, Icon::Critical}));
    return false;
  }
  params_.pathSection = "PATH" + params_.positionSuffix;
  const std::string base = read(params_.pathSection, "FILE");
  params_.baseFolder =
      platform::resolvePath(asFolder(base.empty() ? driveRoot() + "Veltaria" : base));
  const std::string work = read(params_.pathSection, "WORK");
  params_.workFolder = platform::resolvePath(asFolder(work.empty() ? driveRoot() : work));
  std::string operatorName = read("BASE", "OPERATORE");
  if (operatorName.empty()) operatorName = params_.windowsUser;
  params_.operatorCode = platform::upperCase(platform::trim(operatorName));
  params_.activeCompany = read("PARAMETRI", "SOC_ACTIV");
  params_.movementsTable = "Movimenti" + params_.activeCompany;
  return true;
}

void Configuration::loadParameters() {
  const std::string operatorFolder = params_.operatorCode + "/";
  params_.dataDbPath =
      platform::resolvePath(params_.baseFolder + operatorFolder + params_.dataDbName);
  params_.visitsDbPath =
      platform::resolvePath(params_.baseFolder + operatorFolder + params_.visitsDbName);
  params_.indexDbUri = platform::trim(read(params_.pathSection, "INDICI_DB"));
  params_.indexServerWaitSeconds = serverWaitSeconds(read(params_.pathSection, "INDICI_DB_ATTESA"));
  params_.jetMirrorFolder = read(params_.pathSection, "JET_MIRROR");
  params_.operatorWorkFolder = platform::resolvePath(params_.workFolder + operatorFolder);
  params_.workDbPath = platform::resolvePath(params_.operatorWorkFolder + params_.workDbName);

  // Without a base folder its sub-folders have no place: they stay empty instead of landing in
  // the current folder.
  const auto inBase = [&](const std::string& sub) {
    return params_.baseFolder.empty() ? std::string() : params_.baseFolder + sub;
  };
  prepareSaveFolder(inBase("save/"));
  const auto configured = [&](const char* key, const std::string& fallback) {
    const std::string value = read(params_.pathSection, key);
    return value.empty() ? fallback : value;
  };
  params_.tempFolder = prepareFolder("TEMP", configured("TEMP", inBase("temp/")));
  params_.textsFolder = prepareFolder("TESTI", configured("TESTI", params_.baseFolder));
  params_.sheetsFolder = prepareFolder("FOGLI", configured("FOGLI", params_.textsFolder));
  params_.impExpFolder = prepareFolder("IMPEXP", configured("IMPEXP", params_.tempFolder));

  const std::string euro = read("EURO", "CODEUR");
  params_.euroCode = euro.empty() ? "EUR" : euro;
  const std::string base = read("EURO", "CODBASE");
  params_.baseCurrency = base.empty() ? params_.euroCode : base;
  params_.valueFormat = valueFormatFor(read("PARAMETRI", "DECIMALI"));
}

void Configuration::prepareSaveFolder(const std::string& fallback) {
  const std::string save = read(params_.pathSection, "SAVE");
  if (save.empty() && fallback.empty()) {
    params_.saveFolder = "";
    return;
  }
  params_.saveFolder = platform::resolvePath(asFolder(save.empty() ? fallback : save));
  createReporting("SAVE", params_.saveFolder);
  createReporting("SAVE", params_.saveFolder + params_.operatorCode + "/");
}

std::string Configuration::prepareFolder(const std::string& key, const std::string& folder) {
  // An empty folder here means an earlier folder already failed (or there is no base folder):
  // it stays empty rather than turning into the file-system root.
  if (platform::trim(folder).empty()) return "";
  std::string path = platform::toSlashes(folder);
  const auto percent = path.find('%');
  if (percent != std::string::npos) path = path.substr(0, percent);
  path = asFolder(path);
  if (!createReporting(key, path)) return "";
  if (percent != std::string::npos) {
    path += params_.operatorCode + "/";
    if (!createReporting(key, path)) return "";
  }
  return platform::resolvePath(path);
}

bool Configuration::createReporting(const std::string& key, const std::string& folder) {
  const platform::FolderResult result = platform::createFolder(folder);
  if (result.ok()) return true;
  desktop_.messageBox(
      {"ERRORE " + key + "\n" + folder + "\n" + std::to_string(result.code) + "-" + result.text, "",
       Buttons::Ok, Icon::None});
  return false;
}

std::string Configuration::valueFormatFor(const std::string& decimals) {
  const double number = numericValue(decimals).value_or(2.0);
  // Decided on the rounded count: 0.4 decimals would otherwise give a pattern with a bare
  // decimal separator.
  const int count = roundHalfEven(number, 0, kMaxDecimals);
  if (count <= 0) return "###,###,##0.000";
  return "#,###,###,##0." + std::string(static_cast<std::size_t>(count), '0');
}

std::string Configuration::driveRoot() {
  return "/";
}

std::string Configuration::read(const std::string& section, const std::string& key) const {
  return platform::readIni(params_.ownIniPath, section, key);
}

std::string Configuration::asFolder(const std::string& value) {
  std::string folder = platform::toSlashes(value);
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

bool Configuration::baseFolderExists(const std::string& folder) {
  if (folder.empty()) return false;
  // Looked up without the trailing separator, so that a file in the folder's place reads as "no
  // folder" rather than as a broken path.
  std::string path = platform::toSlashes(folder);
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return utilities::fileExists(desktop_, path, utilities::kFolders) &&
         platform::folderExists(asFolder(path));
}

std::string Configuration::errorTitle() const {
  return platform::upperCase(env_.programFileName) + " -ERRORE";
}

}  // namespace startup
