#include "report/SheetFile.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace report {

namespace {

namespace fs = std::filesystem;

std::string reason(int error) {
  switch (error) {
    case ENOENT:
      return "la cartella non esiste";
    case ENOTDIR:
      return "nel percorso c'è un file al posto di una cartella";
    case EACCES:
    case EPERM:
      return "accesso negato";
    case ENOSPC:
      return "disco pieno";
    case EISDIR:
      return "al suo posto c'è una cartella";
    default:
      return std::strerror(error);
  }
}

[[noreturn]] void fail(const std::string& path, int error) {
  throw SaveError("impossibile scrivere " + path + ": " + reason(error));
}

}  // namespace

void saveFile(const std::string& path, const std::string& bytes) {
  static std::atomic<unsigned> counter{0};
  const fs::path target(path);
  std::error_code ec;
  if (fs::is_directory(target, ec)) fail(path, EISDIR);
  // Appended piece by piece: GCC 12 misreads a chain of string additions as overlapping copies.
  std::string name(".");
  name.append(target.filename().string());
  name.append(".tmp");
  name.append(std::to_string(::getpid()));
  name.append("-");
  name.append(std::to_string(counter++));
  const fs::path temp = target.parent_path() / name;
  std::FILE* out = std::fopen(temp.c_str(), "wb");
  if (!out) fail(path, errno);
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  ok = std::fflush(out) == 0 && ok;
  int error = ok ? 0 : errno;
  if (ok && ::fsync(::fileno(out)) != 0) ok = false, error = errno;
  if (std::fclose(out) != 0 && ok) ok = false, error = errno;
  if (ok) {
    fs::rename(temp, target, ec);
    if (ec) ok = false, error = ec.value();
  }
  if (!ok) {
    fs::remove(temp, ec);
    fail(path, error);
  }
}

}  // namespace report
