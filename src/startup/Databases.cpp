#include "startup/Databases.h"

#include <sqlite3.h>

#include <filesystem>
#include <map>

#include "platform/FileSystem.h"
#include "platform/PgIndexCursor.h"
#include "platform/StoreFile.h"
#include "platform/Strings.h"
#include "platform/SystemError.h"
#include "startup/JetFiles.h"

namespace startup {

namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace fs = std::filesystem;

constexpr std::size_t kDataPlaces = 45;  // places 1-45 come from the data database
constexpr std::string_view kConnectPrefix = ";DATABASE=";

std::string errorTitle(const AppParams& params) {
  return platform::upperCase(params.programFileName) + " -ERRORE";
}

// The non-empty places in [first, last) of the attachment list.
std::vector<std::string> placesBetween(std::size_t first, std::size_t last) {
  const auto& places = attachmentList();
  std::vector<std::string> names;
  for (std::size_t i = first; i < last && i < places.size(); ++i)
    if (!places[i].empty()) names.push_back(places[i]);
  return names;
}

Answer ask(AppParams& params, platform::Desktop& desktop, const platform::Message& message) {
  const Answer answer = desktop.messageBox(message);
  params.lastAnswer = static_cast<int>(answer);
  return answer;
}

// What the failure box says when the database at `path` cannot be opened: that it is missing
// only when it is, otherwise what is wrong with the file that is there.
std::string openFailureText(const std::string& path, const platform::StoreError& error) {
  const std::string head = "DATABASE " + path + " ";
  std::error_code statusError;
  const auto status = fs::status(path, statusError);
  if (statusError == std::errc::permission_denied) return head + "NON ACCESSIBILE: ACCESSO NEGATO";
  if (fs::is_directory(status)) return head + "NON È UN FILE: È UNA CARTELLA";
  if (fs::exists(status) && !fs::is_regular_file(status)) return head + "NON È UN FILE";
  if (statusError && status.type() != fs::file_type::not_found)  // a link loop, a bad name
    return head + "NON APRIBILE: " + platform::fileErrorText(statusError.value());
  if (!fs::exists(status)) return head + "INESISTENTE";
  if (platform::StoreFile::isJetFile(path)) return head + "IN FORMATO NON SUPPORTATO (ACCESS/JET)";
  // Without its log files it would have been read as it stands: another program holds it.
  const std::string logs = platform::StoreFile::logFilesBeside(path);
  if (platform::StoreFile::isWriteAheadLogFile(path) && !logs.empty() &&
      platform::StoreFile::inReadOnlyFolder(path))
    return head +
           "NON LEGGIBILE: IN MODALITÀ WAL IN UNA CARTELLA DI SOLA LETTURA MENTRE UN ALTRO "
           "PROGRAMMA LO SCRIVE (" +
           logs + ")";
  switch (error.code() & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      return head + "DANNEGGIATO";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return head + "BLOCCATO DA UN ALTRO PROGRAMMA";
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_AUTH:
      return head + "NON ACCESSIBILE: ACCESSO NEGATO";
    default:
      return head + "NON APRIBILE\n" + std::to_string(error.code()) + ": " + error.what();
  }
}

// Opens one database after setting the message its failure shows and the two captions; the
// messages name the configured file, also when a Jet file's mirror is opened in its place. The
// work database (`ownLog`) then keeps a write-ahead log of its own, and its links are made
// queryable only by relinkTables, once every file they name has opened; the other files are
// shared ones.
std::unique_ptr<platform::Database> openStep(Databases& dbs, const ProgressLabel& progress,
                                             const DatabaseFile& file, const std::string& what,
                                             bool ownLog = false) {
  const std::string& path = file.configured;
  dbs.pendingMessage = "DATABASE " + path + " INESISTENTE";
  progress("Aggancio WorkSpace " + what);
  progress("Apertura DataBase " + what);
  try {
    auto db = platform::Database::open(file.opened, {.links = !ownLog, .shared = !ownLog});
    if (ownLog) db->useWriteAheadLog();
    return db;
  } catch (const platform::StoreError& error) {
    dbs.pendingMessage = openFailureText(path, error);
    throw;
  }
}

// Connects to the server holding the index database, as openStep does for a file; a failure
// names the server and gives its reason.
std::unique_ptr<platform::PgConnection> connectStep(Databases& dbs, const ProgressLabel& progress,
                                                    const std::string& uri, const std::string& name,
                                                    int wait) {
  dbs.pendingMessage = "DATABASE " + name + " INESISTENTE";
  progress("Aggancio WorkSpace degli indici");
  progress("Apertura DataBase degli indici");
  try {
    return platform::PgConnection::open(uri, std::chrono::seconds(wait));
  } catch (const platform::StoreError& error) {
    dbs.pendingMessage = "DATABASE " + name + " NON ACCESSIBILE\n" + error.what();
    throw;
  }
}

void release(Databases& dbs) {
  dbs.indexTable.reset();
  dbs.indexTableOpen = false;
  dbs.indexServer.reset();
  dbs.indexDb.reset();
  dbs.visitsDb.reset();
  dbs.workDb.reset();
  dbs.dataDb.reset();
  dbs.dbOpened = false;
}

// Steps 2-7 of the opening; true when everything is open and attached. Storage failures throw.
bool openAll(AppParams& params, Databases& dbs, platform::Desktop& desktop,
             const ProgressLabel& progress, const ProgressLabel& copyProgress) {
  dbs.dbOpened = false;
  const bool onServer = !params.indexDbUri.empty();
  const std::string indexDbPath =
      onServer ? platform::PgConnection::withoutPassword(params.indexDbUri) : indexFilePath(params);
  // A shared file that an earlier version left in write-ahead log mode goes back to the
  // rollback journal, before the links of the work database hold it open: the log does not
  // work on a network share nor in a read-only folder.
  for (const auto& shared : {params.dataDbPath, params.visitsDbPath})
    platform::Database::leaveWriteAheadLog(shared);
  if (!onServer) platform::Database::leaveWriteAheadLog(indexDbPath);
  const auto prepare = [&](DatabaseRole role, const std::string& path) {
    return prepareDatabaseFile(role, path, params, dbs, desktop,
                               copyProgress ? copyProgress : progress);
  };
  dbs.dataFile = prepare(DatabaseRole::Data, params.dataDbPath);
  dbs.dataDb = openStep(dbs, progress, dbs.dataFile, "operativo");
  dbs.dbOpened = true;
  desktop.processEvents();
  // Every statistics run rewrites the work table: waiting for the disk at each commit would
  // cost more than the run itself, and the table is rebuilt by the next run anyway.
  dbs.workFile = prepare(DatabaseRole::Work, params.workDbPath);
  dbs.workDb = openStep(dbs, progress, dbs.workFile, "di lavoro", true);
  dbs.visitsFile = prepare(DatabaseRole::Visits, params.visitsDbPath);
  dbs.visitsDb = openStep(dbs, progress, dbs.visitsFile, "delle Visite");
  params.indexDbPath = indexDbPath;
  if (onServer) {
    dbs.indexFile = DatabaseFile::itself(indexDbPath, "server");
    dbs.indexServer = connectStep(dbs, progress, params.indexDbUri, params.indexDbPath,
                                  params.indexServerWaitSeconds);
  } else {
    dbs.indexFile = prepare(DatabaseRole::Index, params.indexDbPath);
    dbs.indexDb = openStep(dbs, progress, dbs.indexFile, "degli indici");
  }
  openIndexTable(params, dbs, desktop);
  if (!dbs.indexTableOpen) {
    dbs.pendingMessage = "ERRORE IN APERTURA INDICI\nDataBase: " + params.indexDbPath;
    return false;
  }
  dbs.pendingMessage = "RICONNESSIONE TABELLE";
  return !relinkTables(params, dbs, desktop, progress);
}

// Makes the link `name` one to the same table of the database `file`; a link that already is
// one is left as it is.
void relinkOne(Databases& dbs, platform::Desktop& desktop, const std::string& name,
               const std::string& file) {
  platform::TableDef def;
  def.name = name;
  def.connect = std::string(kConnectPrefix) + file;
  def.sourceTableName = name;
  dbs.workDb->tableDefs().relink(def);
  desktop.processEvents();
}

// Every link of the list again, unless another start on the same work database has just made
// them all; true when this one did. One transaction that holds the write lock from the start,
// so that starts at the same time link one after the other: a failure leaves the previous links
// in place.
bool relinkAll(AppParams& params, Databases& dbs, platform::Desktop& desktop,
               const ProgressLabel& progress) {
  platform::Database::Transaction tx(*dbs.workDb, true);
  if (countValidAttachments(*dbs.workDb) == expectedAttachmentCount(!params.indexDbUri.empty())) {
    tx.commit();
    dbs.workDb->tableDefs().refresh();
    return false;
  }
  progress("Connessione Tabelle Base");
  for (const auto& name : dataAttachments()) {
    dbs.pendingMessage = "ERRORE IN CONNESSIONE TABELLA BASE " + name;
    relinkOne(dbs, desktop, name, dbs.dataFile.opened);
  }
  progress("Connessione Tabelle delle Visite");
  dbs.pendingMessage = "ERRORE IN CONNESSIONE TABELLA DELLE VISITE";
  for (const auto& name : visitsAttachments()) {
    dbs.pendingMessage = "ERRORE IN CONNESSIONE TABELLA " + name;
    relinkOne(dbs, desktop, name, dbs.visitsFile.opened);
  }
  progress("Connessione Tabelle degli Indici");
  dbs.pendingMessage = "ERRORE IN CONNESSIONE TABELLA Indici";
  if (params.indexDbUri.empty()) {
    relinkOne(dbs, desktop, "Indici", dbs.indexFile.opened);
  } else {
    // The index database is on the server: a link left to an index file would read stale data.
    try {
      dbs.workDb->tableDefs().remove("Indici");
    } catch (const platform::StoreError&) {
      // There was none.
    }
  }
  tx.commit();
  // Lets go of files that no link uses any more (possible only outside the transaction).
  dbs.workDb->tableDefs().refresh();
  return true;
}

}  // namespace

const std::vector<std::string>& attachmentList() {
  static const std::vector<std::string> places = {
      "AbbVisite",     "Clienti",         "ClientiNew",      "Cointestatari", "Colori",
      "ColoriGrp",     "DistBanche",      "DistCausali",     "Distinte",      "Distinte04",
      "FondiPensione", "Layout",          "LayOutCol",       "Localita",      "Mandati",
      "Moduli",        "Movimenti",       "Movimenti_AZ",    "ParamImp",      "Percorsi",
      "Performance",   "PersPortafoglio", "RelProd",         "Societa",       "Squadre",
      "TabCambi",      "TabCategExpo",    "TabCategorie",    "TabCausali",    "TabEspApp",
      "TabGruppi",     "TabModalita",     "TabMultiPartner", "TabNazioni",    "TabProdExpo",
      "TabProdotti",   "TabProvincie",    "TabStanley",      "TabStanleyC",   "tabStatiApp",
      "TabTipoEC",     "Documenti",       "DocumentiCli",    "ClientiMM",     "Cedole",
      "VisiteN",       "Azioni",          "Appuntamenti",    "TabAzioni",     ""};
  return places;
}

int expectedAttachmentCount(bool indexOnServer) {
  // Indici follows the list.
  return static_cast<int>(dataAttachments().size() + visitsAttachments().size()) +
         (indexOnServer ? 0 : 1);
}

std::vector<std::string> dataAttachments() {
  return placesBetween(0, kDataPlaces);
}

std::vector<std::string> visitsAttachments() {
  return placesBetween(kDataPlaces, attachmentList().size());
}

std::string indexFilePath(const AppParams& params) {
  return platform::resolvePath(params.baseFolder + params.indexDbName);
}

bool openDatabases(AppParams& params, Databases& dbs, platform::Desktop& desktop,
                   const ProgressLabel& progress, const ProgressLabel& copyProgress) {
  for (;;) {
    desktop.processEvents();
    try {
      if (openAll(params, dbs, desktop, progress, copyProgress)) return true;
    } catch (const std::exception&) {
      // The pending message already says which step failed.
    }
    release(dbs);
    const Answer answer =
        ask(params, desktop,
            {dbs.pendingMessage, errorTitle(params), Buttons::RetryCancel, Icon::Critical});
    if (answer != Answer::Retry) return false;
  }
}

void openIndexTable(AppParams& params, Databases& dbs, platform::Desktop& desktop) {
  for (;;) {
    dbs.indexTableOpen = true;
    try {
      if (dbs.indexServer) {
        dbs.indexTable = std::make_unique<platform::PgIndexCursor>(*dbs.indexServer);
        return;
      }
      auto table = dbs.indexDb->openTable("Indici");
      table->setIndex("primaria");
      dbs.indexTable = std::move(table);
      return;
    } catch (const platform::StoreError& e) {
      dbs.indexTableOpen = false;
      // The engine's own code, or the classic "cannot open table" number when there is none.
      const int number = e.code() != 0 ? e.code() : 3044;
      const std::string text =
          "ERRORE IN APERTURA ARCHIVIO 'INDICI'\n" + std::to_string(number) + ": " + e.what();
      if (ask(params, desktop,
              {text, "ERRORE APERTURA TABELLA", Buttons::RetryCancel, Icon::Exclamation}) !=
          Answer::Retry)
        return;
    }
  }
}

bool relinkTables(AppParams& params, Databases& dbs, platform::Desktop& desktop,
                  const ProgressLabel& progress) {
  if (countValidAttachments(*dbs.workDb) == expectedAttachmentCount(!params.indexDbUri.empty())) {
    dbs.workDb->tableDefs().refresh();
    return false;
  }
  try {
    dbs.attachedThisStart = relinkAll(params, dbs, desktop, progress);
    return false;
  } catch (const std::exception&) {
    ask(params, desktop,
        {dbs.pendingMessage, errorTitle(params) + " CONNESIONE TABELLE", Buttons::Ok,
         Icon::Critical});
    return true;
  }
}

int countValidAttachments(platform::Database& workDb) {
  int valid = 0;
  std::map<std::string, bool> fileThere;  // by connect string: most links share a file
  for (const auto& def : workDb.tableDefs().list()) {
    if (!(def.attributes & platform::TableDef::kAttachedTable)) continue;
    if (def.attributes & platform::TableDef::kSystemObject) continue;
    if (def.connect.size() <= kConnectPrefix.size()) continue;
    auto [known, fresh] = fileThere.try_emplace(def.connect);
    if (fresh) {
      // The exact name, not a case-insensitive match: the store attaches exactly that file.
      std::error_code error;
      known->second =
          std::filesystem::is_regular_file(def.connect.substr(kConnectPrefix.size()), error);
    }
    if (known->second) ++valid;
  }
  return valid;
}

void closeDatabases(Databases& dbs, platform::Desktop& desktop) {
  release(dbs);
  desktop.processEvents();
}

}  // namespace startup
