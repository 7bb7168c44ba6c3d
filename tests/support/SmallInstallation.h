// A minimal installation of the suite in a temporary folder: a program folder holding the
// configuration file, the base folder with operator OPER's data and visits databases and the
// shared index database, and the work folder with OPER's work database. Empty tables only.
#pragma once

#include <filesystem>
#include <string>

#include "platform/Profile.h"
#include "support/TempFolder.h"
#include "utilities/Schema.h"

namespace testsupport {

class SmallInstallation {
 public:
  SmallInstallation() {
    namespace fs = std::filesystem;
    base = folder.file("Veltaria") + "/";
    work = folder.file("work") + "/";
    program = folder.file("prog");
    ini = program + "/statind.ini";
    fs::create_directories(base + "OPER");
    fs::create_directories(work + "OPER");
    fs::create_directories(program);
    utilities::createDataDb(base + "OPER/DatiDV.mdb");
    utilities::createVisitsDb(base + "OPER/VisiteDV.mdb");
    utilities::createIndexDb(base + "IndiciDV.mdb");
    utilities::createWorkDb(work + "OPER/WorkDV.mdb");
    set("PATH", "FILE", base);
    set("PATH", "WORK", work);
    set("BASE", "OPERATORE", "oper");
  }

  void set(const std::string& section, const std::string& key, const std::string& value) {
    platform::writeIni(ini, section, key, value);
  }

  TempFolder folder;
  std::string base;     // ends with "/"
  std::string work;     // ends with "/"
  std::string program;  // no trailing "/"
  std::string ini;
};

}  // namespace testsupport
