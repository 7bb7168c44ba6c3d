// The program's way out: saves what the suite expects to find after a run (the main window's
// placement for the suite's own programs, the per-user record of folder, run time and
// version) and closes the report engine and the databases. The caller ends the process.
#pragma once

#include <optional>

#include "platform/Desktop.h"
#include "platform/Environment.h"
#include "startup/AppParams.h"
#include "startup/Databases.h"
#include "utilities/ReportEngine.h"

namespace startup {

// The main window's placement in twips when the program ends.
struct WindowPlacement {
  bool maximised = false;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// Runs every exit step; a failing step never stops the following ones and nothing is thrown.
// The placement goes to PARAMETRI/StartUp only when the program's file name is VELTAR or
// VELTARF ("M" when maximised, else "left|top|width|height|"). When the suite's reminder
// program (HANDLE of LUDRAM) still runs it is brought up with "RADODODIZU ANCORA ATTIVO".
// Afterwards the report engine
// and the databases are closed and ExePath, ExeRun ("dd/mm/yyyy hh:mm:ss") and ExeVersion
// ("major.minor.revision") are written to section "Setting" of the per-user settings under the
// program's file name.
void exitProgram(const platform::Environment& env, AppParams& params, Databases& dbs,
                 utilities::ReportEngine& reports, platform::Desktop& desktop,
                 const std::optional<WindowPlacement>& placement);

}  // namespace startup
