// statind-cli index-copy: moves the configured installation's index database to a server.
#include <iostream>
#include <stdexcept>

#include "cli/Commands.h"
#include "cli/Session.h"
#include "utilities/IndexCopy.h"

namespace cli {

int runIndexCopy(const CommonOptions& common, const std::string& target, bool replace) {
  Session session(common);
  if (!session.ok()) return session.exitCode();
  if (!session.dbs().indexDb) {
    std::cerr << "l'archivio degli indici è già sul server " << session.params().indexDbPath
              << ": niente da copiare\n";
    return kExitUsage;
  }
  try {
    auto server = platform::PgConnection::open(target);
    utilities::IndexCopyParams params;
    params.replace = replace;
    params.progress = [](long long done, long long total) {
      std::cerr << "\rcopiati " << done << " di " << total << " indici" << std::flush;
    };
    const auto result = utilities::copyIndexToServer(*session.dbs().indexDb, *server, params);
    std::cerr << "\n";
    std::cout << "copiati " << result.copied << " indici in " << server->name() << "\n";
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
