#include <exception>
#include <filesystem>
#include <iomanip>
#include <iostream>

#include "cli/Commands.h"
#include "platform/Format.h"
#include "utilities/DemoInstallation.h"

namespace cli {

namespace {

void printSummary(const utilities::DemoResult& result) {
  // The INI path stands alone on the first line, so that scripts can take it with `head -1`.
  std::cout << result.iniPath << "\n"
            << "Installazione dimostrativa creata (operatore DEMO)\n"
            << "  cartella base:   " << result.baseFolder << "\n"
            << "  cartella lavoro: " << result.workFolder << "\n"
            << "  prodotti: " << result.products.size()
            << ", valori in Indici: " << result.indexRecords << "\n"
            << "Prodotti particolari:\n";
  for (const auto& p : result.products) {
    if (p.note.empty()) continue;
    std::cout << "  " << std::left << std::setw(9) << p.code << " " << p.note;
    if (p.records > 0 && p.firstDay > 0)
      std::cout << " (" << platform::formatDate(p.firstDay) << " - "
                << platform::formatDate(p.lastDay) << ")";
    std::cout << "\n";
  }
}

// True when `folder` is a folder holding anything (or one that cannot be listed): it may hold an
// installation someone works with, whose configuration, index records and tables the demo would
// replace without a word.
bool occupied(const std::string& folder) {
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) return false;
  const bool empty = std::filesystem::is_empty(folder, ec);
  return ec || !empty;
}

}  // namespace

int runMakeDemo(const std::string& folder, bool force) {
  try {
    if (!force && occupied(folder)) {
      std::cerr << "make-demo: la cartella non è vuota: " << folder
                << " (--force per scriverci comunque l'installazione dimostrativa)\n";
      return kExitStore;
    }
    // The only place the clock is read: the histories end on the last business day before it.
    const auto result = utilities::DemoInstallation::make(
        {.folder = folder, .today = platform::today(), .seed = utilities::kDemoSeed});
    printSummary(result);
    return kExitOk;
  } catch (const std::exception& e) {
    std::cerr << "make-demo: " << e.what() << "\n";
    return kExitStore;
  }
}

}  // namespace cli
