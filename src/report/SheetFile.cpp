#include "report/SheetFile.h"

#include <cerrno>

#include "platform/SystemError.h"
#include "platform/WholeFile.h"

namespace report {

namespace {

// Said of the target: a missing name is a new file, so only its folder can be missing.
std::string reason(int error) {
  switch (error) {
    case ENOENT:
      return "la cartella non esiste";
    case EISDIR:
      return "al suo posto c'è una cartella";
    default:
      return platform::fileErrorText(error);
  }
}

}  // namespace

void saveFile(const std::string& path, const std::string& bytes) {
  const int error = platform::writeWholeFile(path, bytes);
  if (error != 0) throw SaveError("impossibile scrivere " + path + ": " + reason(error));
}

}  // namespace report
