// The start-up step for the suite's own Jet files. The program never writes them: each of the
// data, visits and index databases that is a Jet file is opened through its local mirror (an
// SQLite copy in the operator's work folder, or in the folder of JET_MIRROR in the path
// section), made again when the Jet file changed; a Jet work database is replaced by a work
// database of the program's own beside it, created when missing.
#pragma once

#include <string>

#include "platform/Desktop.h"
#include "startup/AppParams.h"
#include "startup/DatabaseFile.h"
#include "startup/Databases.h"

namespace startup {

enum class DatabaseRole { Data, Visits, Index, Work };

// The file to open for the database `configured`. For a file that is no Jet file: itself, as
// "SQLite" (whether it exists is left to the opening). Progress of a mirror's copy goes to
// `progress`; a mirror that could not be made new but has an older copy is used after a
// warning box naming its age. Throws, after setting dbs.pendingMessage, when the Jet file
// cannot be read and there is no older mirror, or the program's own files cannot be written.
DatabaseFile prepareDatabaseFile(DatabaseRole role, const std::string& configured,
                                 const AppParams& params, Databases& dbs,
                                 platform::Desktop& desktop, const ProgressLabel& progress);

// The folder of the mirrors: JET_MIRROR of the path section, else the operator's work folder.
std::string mirrorFolder(const AppParams& params);
// The program's own work database that stands in for the Jet work database `jetWorkDb`.
std::string ownWorkDbPath(const std::string& jetWorkDb);

}  // namespace startup
