#include "indeximport/ImportTargets.h"

#include "indeximport/FileTarget.h"
#include "indeximport/ServerTarget.h"
#include "platform/StoreFile.h"

namespace indeximport {

std::string suiteFileRefusal(const startup::AppParams& params, bool creatingProduct) {
  if (params.indexDbUri.empty()) {
    const std::string path = startup::indexFilePath(params);
    if (platform::StoreFile::isJetFile(path))
      return "il database degli indici " + path +
             " è un file Access/Jet della suite: l'importazione non lo scrive";
  }
  if (creatingProduct && platform::StoreFile::isJetFile(params.dataDbPath))
    return "il database " + params.dataDbPath +
           " è un file Access/Jet della suite: il prodotto va aggiunto con la suite";
  return "";
}

std::unique_ptr<IndexTarget> openIndexTarget(startup::Databases& dbs) {
  if (dbs.indexServer) return std::make_unique<ServerTarget>(*dbs.indexServer);
  return std::make_unique<FileTarget>(*dbs.indexDb);
}

}  // namespace indeximport
