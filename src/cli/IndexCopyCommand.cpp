// statind-cli index-copy: moves the configured installation's index database to a server, or
// a server's records back into the installation's index file.
#include <iostream>
#include <stdexcept>

#include "cli/Commands.h"
#include "cli/Session.h"
#include "platform/FileSystem.h"
#include "platform/StoreFile.h"
#include "utilities/IndexCopy.h"

namespace cli {

namespace {

// The file the records go to: the one the session opened, or, with the index database on a
// server, the file the configuration names for it. Null after printing why there is none.
platform::Database* indexFile(Session& session, std::unique_ptr<platform::Database>& own) {
  const std::string path = startup::indexFilePath(session.params());
  if (platform::StoreFile::isJetFile(path)) {
    // Its mirror is only a copy: the suite's own file is never written.
    std::cerr << "il file degli indici " << path << " è un file Jet: non viene mai scritto\n";
    return nullptr;
  }
  if (session.dbs().indexDb) return session.dbs().indexDb.get();
  if (!platform::fileExists(path)) {
    // The program never creates a database file: the copy fills the installation's own.
    std::cerr << "il file degli indici " << path << " non esiste\n";
    return nullptr;
  }
  // As the start-up does for a shared file it opens: back to the rollback journal.
  platform::Database::leaveWriteAheadLog(path);
  own = platform::Database::open(path);
  return own.get();
}

}  // namespace

int runIndexCopy(const CommonOptions& common, const IndexCopyOptions& options) {
  Session session(common);
  if (!session.ok()) return session.exitCode();
  const bool toServer = !options.to.empty();
  if (toServer && !session.dbs().indexDb) {
    std::cerr << "l'archivio degli indici è già sul server " << session.params().indexDbPath
              << ": niente da copiare\n";
    return kExitUsage;
  }
  try {
    auto server =
        platform::PgConnection::open(toServer ? options.to : options.from,
                                     std::chrono::seconds(session.params().indexServerWaitSeconds));
    utilities::IndexCopyParams params;
    params.replace = options.replace;
    params.progress = [](long long done, long long total) {
      std::cerr << "\rcopiati " << done << " di " << total << " indici" << std::flush;
    };
    utilities::IndexCopyResult result;
    std::string where;
    if (toServer) {
      result = utilities::copyIndexToServer(*session.dbs().indexDb, *server, params);
      where = server->name();
    } else {
      std::unique_ptr<platform::Database> own;
      platform::Database* file = indexFile(session, own);
      if (!file) return kExitStore;
      result = utilities::copyIndexFromServer(*server, *file, params);
      where = file->path();
    }
    std::cerr << "\n";
    std::cout << "copiati " << result.copied << " indici in " << where << "\n";
    if (result.skipped > 0)
      std::cout << "esclusi " << result.skipped << " indici senza una data valida\n";
    if (result.blanked > 0)
      std::cout << "copiati come Null " << result.blanked << " valori non numerici\n";
    return kExitOk;
  } catch (const std::exception& e) {
    std::cerr << "\nstatind: " << e.what() << "\n";
    return kExitStore;
  }
}

}  // namespace cli
