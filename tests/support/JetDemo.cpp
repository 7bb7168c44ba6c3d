#include "support/JetDemo.h"

#include <filesystem>
#include <vector>

#include "support/SqliteToJet.h"

namespace jetfixture {

utilities::DemoResult makeJetDemo(const JetDemoParams& params) {
  auto result = utilities::DemoInstallation::make(params.demo);
  std::vector<std::string> files = {result.dataDb, result.visitsDb, result.indexDb};
  if (params.jetWorkDb) files.push_back(result.workDb);
  for (const auto& file : files) {
    const std::string jet = file + ".jet";
    copySqliteToJet({.from = file, .to = jet, .dateColumns = {"Indici.IndData"}});
    std::filesystem::rename(jet, file);
  }
  return result;
}

}  // namespace jetfixture
