// The program-wide parameters: set once during start-up, read by every subsystem afterwards.
// Owned by start-up and passed down by reference; nothing else holds program-wide state.
#pragma once

#include <string>

namespace startup {

struct AppParams {
  // Command line
  std::string operatorCode;
  bool standAlone = false;
  int startFunction = 9;  // 0 index statistics, 1 monthly comparison, 9 none
  int windowLeft = 0;
  int windowTop = 0;
  std::string productCode;  // product handed over by the suite, or last chosen in StatInd

  // Initialisation
  int usableWidth = 0;  // screen size + 120 twips
  int usableHeight = 0;
  std::string ownIniPath;
  std::string networkSection = "RAS";  // "FEF", "AZM" or "RAS"
  std::string dataDbName = "DatiDV.mdb";
  std::string visitsDbName = "VisiteDV.mdb";
  std::string indexDbName = "IndiciDV.mdb";
  std::string workDbName = "WorkDV.mdb";
  std::string windowsUser;
  // Without extension; upper-cased it titles the start-up failure boxes ("STATIND -ERRORE").
  std::string programFileName = "statind";
  int lastAnswer = 0;
  bool startFailed = false;

  // Configuration
  std::string positionSuffix;
  std::string pathSection = "PATH";
  std::string baseFolder;
  std::string workFolder;
  std::string activeCompany;
  std::string movementsTable = "Movimenti";
  std::string dataDbPath;
  std::string visitsDbPath;
  std::string operatorWorkFolder;
  std::string workDbPath;
  std::string indexDbPath;  // the file, or the server's URI without its password
  // INDICI_DB of pathSection: a libpq URI naming the index database on a PostgreSQL server;
  // "" keeps it in the file.
  std::string indexDbUri;
  // INDICI_DB_ATTESA of pathSection: how many seconds a statement waits for that server before
  // the run gives up on it.
  int indexServerWaitSeconds = 15;
  // JET_MIRROR of pathSection: the folder of the local mirrors of the suite's Jet files; ""
  // keeps them in the operator's work folder.
  std::string jetMirrorFolder;
  std::string saveFolder;
  std::string tempFolder;
  std::string textsFolder;
  std::string sheetsFolder;
  std::string impExpFolder;
  std::string euroCode = "EUR";
  std::string baseCurrency = "EUR";
  std::string valueFormat = "#,###,###,##0.00";

  // Set by whoever opens the monthly comparison.
  int compareStartYear = 0;
  std::string compareCurrency;
};

}  // namespace startup
