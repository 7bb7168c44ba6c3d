// A complete demo installation of the suite's files in one folder, so that the program (and
// statind-cli) can be started and explored without a real installation. Made deterministically
// from a seed; only the end of the histories depends on the day it is made.
//
// Layout under the folder DIR:
//   DIR/statind.ini              the configuration, naming every folder with an absolute path
//   DIR/base/                    base folder, with the shared index database IndiciDV.mdb
//   DIR/base/DEMO/               operator DEMO: DatiDV.mdb (every attached table) and VisiteDV.mdb
//   DIR/work/DEMO/WorkDV.mdb     the operator's work database, with WkStatInd
//   DIR/save, DIR/temp           created by the program at start-up
// The database files keep the suite's names although they are SQLite files.
//
// About forty funds, policies and share classes in five groups and two currencies, with daily
// business-day values from 1999-2009 up to the last business day before "today". Products
// that show the situations of real data, by code:
//   MID2009   history starting mid-year, on Wednesday 15/04/2009
//   END2016   history ending early, on Friday 30/09/2016
//   NOIND     NoIndici = 1 (values are stored but its index is always 1)
//   GESTSEP   in category GESEP of Tipo "S" (values are stored but its index is always 1)
//   FISSO     a fixed value of 100 on 31/12/2199 above an ordinary series
//   ZERI      zero values on 14/03/2012, 15/03/2012 and 07/11/2018
//   ERR999    a value of 999999 on 11/06/2014
//   DATA1900  a record dated 01/01/1900 before its series
//   VUOTO     no record in Indici at all
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Format.h"

namespace utilities {

inline constexpr std::uint32_t kDemoSeed = 20090415;

struct DemoParams {
  std::string folder;             // DIR; created when missing
  platform::DayNumber today = 0;  // histories end on the last business day before it
  std::uint32_t seed = kDemoSeed;
};

struct DemoProductSummary {
  std::string code;
  std::string description;
  std::string note;                  // what is special about it; "" for an ordinary product
  platform::DayNumber firstDay = 0;  // first and last dated value; 0 when it has none
  platform::DayNumber lastDay = 0;
  std::int64_t records = 0;
};

struct DemoResult {
  std::string iniPath;
  std::string baseFolder;
  std::string workFolder;
  std::string dataDb, visitsDb, indexDb, workDb;  // the four database files
  std::vector<DemoProductSummary> products;
  std::int64_t indexRecords = 0;
};

class DemoInstallation {
 public:
  // Writes the installation into params.folder. The demo's own files (the INI and the four
  // databases with their journals) are replaced when present; nothing else in the folder is
  // touched. The INI is written last, so a failed run never leaves an INI naming half-made
  // databases beside it.
  // Throws std::invalid_argument, before writing anything, when the folder is empty or its
  // paths could not be read back from the INI (a value holds at most 99 characters);
  // platform::StoreError, with the engine's message, when a database cannot be written;
  // std::filesystem::filesystem_error when a folder or the INI cannot be created.
  static DemoResult make(const DemoParams& params);
};

}  // namespace utilities
