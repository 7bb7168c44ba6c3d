#include "utilities/FileCheck.h"

#include <cerrno>
#include <filesystem>

#include "platform/FileSystem.h"
#include "platform/Strings.h"

namespace utilities {

namespace fs = std::filesystem;
using platform::Answer;
using platform::Buttons;

DirectoryLookup lookUpPath(const std::string& path, int attributes) {
  const std::string resolved = platform::resolvePath(path);
  std::error_code ec;
  const fs::file_status status = fs::status(resolved, ec);
  if (ec) {
    if (ec.value() == ENOENT) return {};
    return {"", fileErrorNumber(ec.value())};
  }
  if (!fs::exists(status)) return {};
  if (fs::is_directory(status) && (attributes & kFolders) == 0) return {};
  std::string name = fs::path(resolved).filename().string();
  return {name.empty() ? resolved : name, 0};
}

int fileErrorNumber(int systemError) {
  switch (systemError) {
    case ENOMEDIUM:
      return 71;
    case ENOSPC:
    case EDQUOT:
      return 61;
    case EIO:
      return 57;
    case ENOTDIR:
    case ELOOP:
      return 76;
    case ENAMETOOLONG:
      return 64;
    case EINVAL:
    case EILSEQ:
      return 52;
    case ENODEV:
    case ENXIO:
      return 68;
    case EBUSY:
    case ETXTBSY:
      return 55;
    default:
      return 75;
  }
}

bool fileExists(platform::Desktop& desktop, std::string& path, int attributes,
                const DirectoryLookupFn& lookup) {
  try {
    if (platform::trim(path).empty()) return false;
    const std::size_t quote = path.find('"', 1);
    if (quote != std::string::npos) path = path.substr(1, quote - 1) + path.substr(quote + 1);
    for (;;) {
      const DirectoryLookup found = lookup(path, attributes);
      if (found.error == 0) return !found.name.empty();
      if (fileErrorMessage(desktop, found.error, path) != kRetry) return false;
    }
  } catch (...) {
    return false;
  }
}

int fileErrorMessage(platform::Desktop& desktop, int errorNumber, const std::string& path) {
  std::string drive = platform::firstChars(path, 2);
  drive.resize(2, ' ');
  std::string text;
  Buttons buttons = Buttons::Ok;
  switch (errorNumber) {
    case 52:
    case 64:
      text = "Il nome dell'archivio non è corretto.";
      break;
    case 54:
      text = "L'archivio non si può aprire per quel tipo di accesso.";
      break;
    case 55:
      text = "L'archivio è già aperto.";
      buttons = Buttons::RetryCancel;
      break;
    case 57:
      text = "Errore di I/O sul DEVICE del file   " + drive;
      buttons = Buttons::RetryCancel;
      break;
    case 61:
      text = "Non c'è più spazio sul disco   " + drive;
      buttons = Buttons::RetryCancel;
      break;
    case 62:
      text = "L'archivio ha un fine-file non standard,\no è stata fatta una lettura oltre la fine.";
      break;
    case 68:
      text = "Questo device non e' utilizzabile   " + drive;
      break;
    case 71:
      text = "Il disco non è pronto   " + drive;
      buttons = Buttons::RetryCancel;
      break;
    case 76:
      text = "Questo percorso non esiste.";
      buttons = Buttons::RetryCancel;
      break;
    default:
      return kNoMessage;
  }
  const Answer answer =
      desktop.messageBox({text, "Errori su  " + path, buttons, platform::Icon::Exclamation});
  if (answer == Answer::Retry) return kRetry;
  if (answer == Answer::Ok || answer == Answer::Cancel) return kGiveUp;
  return kNoMessage;
}

}  // namespace utilities
