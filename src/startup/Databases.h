// The four open databases of a run and the keyed recordset on Indici. Opened once at start-up
// by openDatabases, closed only by closeDatabases at exit.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/PgConnection.h"
#include "platform/Store.h"
#include "startup/AppParams.h"
#include "startup/DatabaseFile.h"

namespace startup {

struct Databases {
  std::unique_ptr<platform::Database> dataDb;
  std::unique_ptr<platform::Database> workDb;
  std::unique_ptr<platform::Database> visitsDb;
  std::unique_ptr<platform::Database> indexDb;  // null when the index database is on a server
  std::unique_ptr<platform::PgConnection> indexServer;  // the server holding it, or null
  // On Indici with index "primaria", or on the server's indici.
  std::unique_ptr<platform::SeekCursor> indexTable;
  bool dbOpened = false;
  bool indexTableOpen = false;
  std::string pendingMessage;
  bool attachedThisStart = false;  // relinkTables attached the tables again during this start
  // Where each database was opened from (the mirror of a Jet file, for one).
  DatabaseFile dataFile, workFile, visitsFile, indexFile;
};

// Writes a start-up progress caption on the main window's label (and repaints it).
using ProgressLabel = std::function<void(const std::string& caption)>;

// The attachment list: 50 places of which the last is empty; places 1-45 come from the data
// database, 46-50 from the visits database; Indici from the index database follows the list
// (not when the index database is on a server: nothing can link to it there).
const std::vector<std::string>& attachmentList();
int expectedAttachmentCount(bool indexOnServer = false);  // 1 + the non-empty places
// The non-empty places of the list that come from the data database, and those from the visits
// database, in list order.
std::vector<std::string> dataAttachments();
std::vector<std::string> visitsAttachments();

// The index file the configuration names (base folder and the network section's name), also
// when INDICI_DB puts the index database on a server.
std::string indexFilePath(const AppParams& params);

// Opens the four databases, Indici and the attachments, with the Retry/Cancel loop. Returns
// true when everything is open; false when the user chose Cancel (the program must end). With
// params.indexDbUri set the index database is the server's: a server that cannot be reached or
// refuses the login shows "DATABASE " + URI (without password) + " NON ACCESSIBILE", a line
// feed and the server's reason, with Retry/Cancel.
// The progress of a Jet file's mirror being copied goes to `copyProgress` when given, else to
// `progress`.
bool openDatabases(AppParams& params, Databases& dbs, platform::Desktop& desktop,
                   const ProgressLabel& progress, const ProgressLabel& copyProgress = {});
// Opens indexTable with its own Retry box; sets dbs.indexTableOpen.
void openIndexTable(AppParams& params, Databases& dbs, platform::Desktop& desktop);
// Checks the attachments of workDb and attaches them all again, to the files openDatabases
// opened (dbs.dataFile...), when they are not all valid (unless another start on the same work
// database has just done so: starts at the same time wait for each other), then makes them
// queryable. Returns true when attaching failed.
bool relinkTables(AppParams& params, Databases& dbs, platform::Desktop& desktop,
                  const ProgressLabel& progress);
// Counts the valid attachments of workDb (attached, not system objects, file exists).
int countValidAttachments(platform::Database& workDb);
// Closes everything, ignoring errors.
void closeDatabases(Databases& dbs, platform::Desktop& desktop);

}  // namespace startup
