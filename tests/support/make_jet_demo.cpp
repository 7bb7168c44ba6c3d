// make-jet-demo DIR [--work] [--force]: writes the demo installation into DIR with the suite's
// databases as Jet 4 files (see JetDemo.h). Like make-demo, it refuses a folder that holds
// anything unless --force is given. Prints the configuration file's path on the first line.
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "platform/Format.h"
#include "support/JetDemo.h"

int main(int argc, char** argv) {
  std::string folder;
  bool work = false, force = false, wrong = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--work") == 0)
      work = true;
    else if (std::strcmp(argv[i], "--force") == 0)
      force = true;
    else if (folder.empty() && argv[i][0] != '-')
      folder = argv[i];
    else
      wrong = true;
  }
  if (folder.empty() || wrong) {
    std::cerr << "uso: make-jet-demo CARTELLA [--work] [--force]\n";
    return 64;
  }
  try {
    std::error_code ec;
    if (!force && std::filesystem::is_directory(folder, ec) &&
        !std::filesystem::is_empty(folder, ec)) {
      std::cerr << "make-jet-demo: la cartella non è vuota: " << folder
                << " (--force per scriverci comunque l'installazione dimostrativa)\n";
      return 2;
    }
    const auto result = jetfixture::makeJetDemo(
        {.demo = {.folder = folder, .today = platform::today(), .seed = utilities::kDemoSeed},
         .jetWorkDb = work});
    std::cout << result.iniPath << "\n"
              << "Installazione dimostrativa creata (operatore DEMO), basi dati Jet 4: "
              << result.dataDb << ", " << result.visitsDb << ", " << result.indexDb
              << (work ? ", " + result.workDb : std::string()) << "\n"
              << "  prodotti: " << result.products.size()
              << ", valori in Indici: " << result.indexRecords << "\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "make-jet-demo: " << e.what() << "\n";
    return 2;
  }
}
