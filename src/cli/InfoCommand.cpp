// statind-cli info: runs the start-up and shows what it found, so that an installation can be
// checked without opening a window.
#include <algorithm>
#include <ctime>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "cli/Commands.h"
#include "cli/Session.h"
#include "platform/PgConnection.h"

namespace cli {

namespace {

using Entries = std::vector<std::pair<std::string, nlohmann::json>>;

// When a Jet file's mirror was copied ("dd/mm/yyyy hh:mm:ss", "" without a mirror), and
// whether during this start or, after a failed copy, an older one is in use.
std::string builtText(const startup::DatabaseFile& file) {
  if (file.mirror.empty()) return "";
  const std::time_t when = static_cast<std::time_t>(file.mirrorBuiltAt);
  std::tm local{};
  ::localtime_r(&when, &local);
  char text[32];
  std::strftime(text, sizeof text, "%d/%m/%Y %H:%M:%S", &local);
  if (file.mirrorStale) return std::string(text) + " (non aggiornata)";
  return std::string(text) + (file.mirrorRebuilt ? " (ora)" : "");
}

// Everything the start-up fixed, grouped as the json output nests it.
nlohmann::ordered_json describe(Session& session, int validAttachments) {
  const startup::AppParams& p = session.params();
  nlohmann::ordered_json info;
  info["configFile"] = p.ownIniPath;
  info["operator"] = p.operatorCode;
  info["networkSection"] = p.networkSection;
  info["folders"] = {
      {"base", p.baseFolder},     {"work", p.workFolder},    {"operatorWork", p.operatorWorkFolder},
      {"save", p.saveFolder},     {"temp", p.tempFolder},    {"texts", p.textsFolder},
      {"sheets", p.sheetsFolder}, {"impExp", p.impExpFolder}};
  const startup::Databases& dbs = session.dbs();
  // A Jet work database is never written: the work tables are in the program's own beside it.
  const std::string ownWork =
      dbs.workFile.opened != dbs.workFile.configured ? dbs.workFile.opened : "";
  info["databases"] = {{"data", p.dataDbPath},
                       {"visits", p.visitsDbPath},
                       {"index", p.indexDbPath},
                       {"indexServer", platform::PgConnection::withoutPassword(p.indexDbUri)},
                       {"work", p.workDbPath},
                       {"ownWork", ownWork}};
  const std::vector<std::pair<std::string, const startup::DatabaseFile*>> files = {
      {"data", &dbs.dataFile},
      {"visits", &dbs.visitsFile},
      {"index", &dbs.indexFile},
      {"work", &dbs.workFile}};
  for (const auto& [name, file] : files) {
    info["formats"][name] = file->format;
    info["mirrors"][name] = file->mirror;
    info["mirrorsBuilt"][name] = builtText(*file);
  }
  info["valueFormat"] = p.valueFormat;
  info["euroCode"] = p.euroCode;
  info["baseCurrency"] = p.baseCurrency;
  info["activeCompany"] = p.activeCompany;
  info["movementsTable"] = p.movementsTable;
  info["validAttachments"] = validAttachments;
  info["attachedThisStart"] = session.dbs().attachedThisStart;
  return info;
}

// The json tree as "key: value" lines, nested keys joined with ".", values aligned.
void printText(const nlohmann::ordered_json& info, std::ostream& out) {
  std::vector<std::pair<std::string, std::string>> lines;
  for (const auto& [key, value] : info.items()) {
    if (value.is_object()) {
      for (const auto& [inner, text] : value.items()) {
        lines.emplace_back(key + "." + inner, text.get<std::string>());
      }
    } else {
      lines.emplace_back(key, value.is_string() ? value.get<std::string>() : value.dump());
    }
  }
  std::size_t width = 0;
  for (const auto& line : lines) width = std::max(width, line.first.size());
  for (const auto& [key, text] : lines) {
    out << key << ":" << std::string(width - key.size() + 1, ' ') << text << "\n";
  }
}

}  // namespace

int runInfo(const CommonOptions& common) {
  Session session(common);
  if (!session.ok()) return session.exitCode();
  int validAttachments = 0;
  try {
    validAttachments = startup::countValidAttachments(*session.dbs().workDb);
  } catch (const std::exception& e) {
    std::cerr << "statind: " << e.what() << std::endl;
    return kExitStore;
  }
  const auto info = describe(session, validAttachments);
  if (common.format == "json") {
    std::cout << info.dump(2) << "\n";
  } else {
    printText(info, std::cout);
  }
  return kExitOk;
}

}  // namespace cli
