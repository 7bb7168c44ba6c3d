// What every window of the program works with: the program-wide parameters, the open
// databases, the index lookup, the desktop services, and the way out. Owned by main() for the
// whole run and handed to each window by reference.
#pragma once

#include <functional>
#include <memory>

#include "indexdata/IndexLookup.h"
#include "platform/Desktop.h"
#include "platform/Environment.h"
#include "startup/AppParams.h"
#include "startup/Databases.h"
#include "utilities/ReportEngine.h"

namespace startup::ui {

struct AppContext {
  platform::Environment& env;
  AppParams& params;
  Databases& dbs;
  utilities::ReportEngine& reports;
  platform::Desktop& desktop;
  std::unique_ptr<indexdata::IndexLookup> lookup;  // created once the databases are open
  // Runs the exit routine and ends the process; set by the main window.
  std::function<void()> exitProgram;
};

}  // namespace startup::ui
