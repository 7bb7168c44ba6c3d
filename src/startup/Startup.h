// The start-up sequence without windows: initialisation (command line, screen, configuration
// file, database names) and loading (folders, parameters, databases, report engine). The
// program's main window and statind-cli both run it; the window passes its progress label and
// applies the window-only steps (menus, position, background) itself.
#pragma once

#include "platform/Desktop.h"
#include "platform/Environment.h"
#include "startup/AppParams.h"
#include "startup/Databases.h"
#include "utilities/ReportEngine.h"

namespace startup {

enum class StartOutcome {
  Ready,            // everything open: the program runs
  MissingParams,    // "Mancano i parametri" was shown: end at once
  NoConfigFile,     // "File di configurazione inesistente" (or "... non utilizzabile") was shown:
                    // end (hand back to the suite)
  DatabasesClosed,  // the user gave up at a database box: end
  InvalidOperator   // the operator's name is no folder name and was refused: end
};

// Initialisation steps 1-7. Shows "Mancano i parametri", "File di configurazione
// inesistente", or that the file found is no configuration file it can read (a folder, a FIFO,
// a device, a file of more than a few MB), through `desktop`.
StartOutcome initialise(const platform::Environment& env, AppParams& params,
                        platform::Desktop& desktop);

// Loading steps 2 and 5-13 (the window applies 3, 4 and 14). Changes the current folder to the
// program's folder. An operator name with a folder separator, or "." or "..", is refused with a
// message before any folder is made from it. After a failed initialisation it only hands control
// back to the suite procedure "INFOTORVA" and returns NoConfigFile.
// `copyProgress`, when given, receives the progress of a Jet file's mirror being copied
// instead of `progress`.
StartOutcome load(const platform::Environment& env, AppParams& params, Databases& dbs,
                  utilities::ReportEngine& reports, platform::Desktop& desktop,
                  const ProgressLabel& progress, const ProgressLabel& copyProgress = {});

}  // namespace startup
