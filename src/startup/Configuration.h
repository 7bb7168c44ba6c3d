// Turns the program's own configuration file into the program-wide parameters: which file it
// is, which network section names the databases, where the suite's base and work folders are,
// the operator, the working folders (created when missing) and the number format. Messages go
// through the Desktop exactly as the suite shows them.
#pragma once

#include <string>

#include "platform/Desktop.h"
#include "platform/Environment.h"
#include "startup/AppParams.h"

namespace startup {

class Configuration {
 public:
  Configuration(const platform::Environment& env, AppParams& params, platform::Desktop& desktop);

  // The configuration file: env.configFileOverride when set, otherwise the first existing of
  // program folder/program name.ini, program folder/product name.ini, windows folder/program
  // name.ini, windows folder/product name.ini. Sets ownIniPath (the last candidate when none
  // exists). Returns false, after "File di configurazione inesistente", when the file is missing.
  bool findConfigFile();
  // networkSection from PARAMETRI/Finanziaria: 1 "FEF", 2 "AZM", anything else "RAS".
  void readNetworkSection();
  // The data, visits and index database names from DATI, VISITE and INDICI of networkSection
  // ("0" counts as empty); the work database name never changes.
  void readDatabaseNames();

  // Position 0-9 of the first PATH section whose FILE names an existing folder, with
  // positionSuffix set and written to BASE/POSIZ; -1 when there is none.
  int findBaseFolder();
  // Base and work folders, operator and active company. Returns false, after "CARTELLA BASE DI
  // VELTAR INESISTENTE", when no base folder exists; then nothing is set.
  bool loadBasePaths();
  // Database paths, working folders, currencies and value format. Every step runs even when an
  // earlier one failed; folder failures are shown and leave that folder empty.
  void loadParameters();
  // Normalises `folder` (a "%" cuts it and asks for an operator sub-folder), creates what is
  // missing and returns it ending with "/". On failure shows "ERRORE " + key and returns "".
  std::string prepareFolder(const std::string& key, const std::string& folder);

  // The display format for a DECIMALI value: an empty or non-numeric value counts as 2.
  static std::string valueFormatFor(const std::string& decimals);
  // The root of the file system that holds the program ("C:\" on Windows).
  static std::string driveRoot();

 private:
  std::string read(const std::string& section, const std::string& key) const;
  // A configured folder: "\" read as "/", a "/" appended when missing.
  static std::string asFolder(const std::string& value);
  std::string errorTitle() const;
  // Whether a FILE value names an existing folder; a disk that cannot be read says so first.
  bool baseFolderExists(const std::string& folder);
  void prepareSaveFolder(const std::string& fallback);
  bool createReporting(const std::string& key, const std::string& folder);

  const platform::Environment& env_;
  AppParams& params_;
  platform::Desktop& desktop_;
};

}  // namespace startup
