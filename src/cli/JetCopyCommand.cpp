// statind-cli jet-copy: every user table of one of the suite's Jet files into a new SQLite file,
// as the mirrors of a Jet installation are made, for a look at the data or a move away from Jet.
#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "cli/Commands.h"
#include "cli/ProgressLine.h"
#include "jet/IsolatedCopy.h"
#include "jet/JetError.h"
#include "jet/MirrorStamp.h"
#include "platform/StoreFile.h"

namespace cli {

namespace {

namespace fs = std::filesystem;

// Why the copy may not go from `from` to `to`; "" when it may.
std::string refusal(const JetCopyOptions& options) {
  std::error_code error;
  if (!fs::is_regular_file(options.from, error)) return options.from + ": file inesistente";
  if (!platform::StoreFile::isJetFile(options.from) || platform::StoreFile::isAceFile(options.from))
    return options.from + ": non è un file Jet 3 o Jet 4 (Access 97-2003)";
  if (!fs::is_directory(fs::absolute(options.to).parent_path(), error))
    return options.to + ": cartella inesistente";
  if (!fs::exists(options.to, error)) return "";
  if (!fs::is_regular_file(options.to, error)) return options.to + ": non è un file";
  if (fs::equivalent(options.from, options.to, error)) return options.to + ": è il file da copiare";
  // Whatever --replace says: the program never writes one of the suite's files.
  if (platform::StoreFile::isJetFile(options.to))
    return options.to + ": è un file Jet, non viene mai sostituito";
  if (fs::file_size(options.to, error) > 0 && !options.replace)
    return options.to + ": il file non è vuoto (--replace per sostituirlo)";
  return "";
}

}  // namespace

int runJetCopy(const JetCopyOptions& options) {
  if (const std::string refused = refusal(options); !refused.empty()) {
    std::cerr << "statind: " << refused << "\n";
    return kExitStore;
  }
  const std::string temp = options.to + ".tmp" + std::to_string(::getpid());
  ProgressLine progress(std::cerr);
  jet::CopyParams params;
  params.from = options.from;
  params.to = temp;
  params.events = [&progress](const jet::CopyEvent& event) {
    if (event.kind == jet::CopyEvent::Kind::Rows)
      progress.show(event.table + ": " + std::to_string(event.done) + " di " +
                    std::to_string(event.total) + " righe");
    if (event.kind == jet::CopyEvent::Kind::TableDone) progress.end();
  };
  try {
    const auto before = jet::FileStamp::of(options.from);
    const jet::CopyResult result = jet::copyJetFileApart(params);
    progress.end();
    std::error_code error;
    if (jet::FileStamp::of(options.from) != before) {
      fs::remove(temp, error);
      throw jet::JetError(jet::JetFailure::Changing, options.from, "",
                          "il file è cambiato durante la copia: ripetere la copia");
    }
    fs::rename(temp, options.to, error);
    if (error) {
      fs::remove(temp, error);
      throw jet::JetError(jet::JetFailure::Target, options.to, "", error.message());
    }
    for (const auto& table : result.tables) {
      std::cout << table.table << ": " << table.rows << " righe";
      if (table.truncatedTexts > 0) std::cout << ", " << table.truncatedTexts << " testi troncati";
      if (table.invalidValues > 0)
        std::cout << ", " << table.invalidValues << " valori non validi copiati come Null";
      std::cout << "\n";
    }
    std::cout << "copiate " << result.tables.size() << " tabelle da " << options.from << " (Jet "
              << result.version << ") in " << options.to << "\n";
    return kExitOk;
  } catch (const jet::JetError& e) {
    progress.end();
    std::cerr << "statind: " << e.what() << "\n";
    return kExitStore;
  }
}

}  // namespace cli
