#include "platform/FileSystem.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/Strings.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

bool pathExists(const fs::path& p) {
  std::error_code ec;
  return fs::exists(p, ec);
}

// The single entry of `folder` named like `name` ignoring case, or "" when none or several.
std::string uniqueMatch(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec);
  if (ec) return "";
  std::string found;
  for (const auto& entry : it) {
    const std::string candidate = entry.path().filename().string();
    if (!equalsNoCase(candidate, name)) continue;
    if (!found.empty()) return "";
    found = candidate;
  }
  return found;
}

std::vector<std::string> components(const std::string& path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    const auto slash = path.find('/', start);
    const auto end = slash == std::string::npos ? path.size() : slash;
    if (end > start) parts.push_back(path.substr(start, end - start));
    if (slash == std::string::npos) break;
    start = slash + 1;
  }
  return parts;
}

FolderResult errorFor(const std::error_code& ec) {
  switch (ec.value()) {
    case ENOENT:
    case ENOTDIR:
      return {76, "Impossibile trovare il percorso"};
    case ENOSPC:
      return {61, "Disco pieno"};
    case EACCES:
    case EPERM:
    case EROFS:
    case EEXIST:
      return {75, "Errore di accesso al percorso/file"};
    default:
      return {75, "Errore di accesso al percorso/file (" + ec.message() + ")"};
  }
}

}  // namespace

std::string toSlashes(const std::string& path) {
  std::string result = path;
  for (char& c : result) {
    if (c == '\\') c = '/';
  }
  return result;
}

std::string resolvePath(const std::string& path) {
  const std::string slashed = toSlashes(path);
  if (slashed.empty() || pathExists(slashed)) return slashed;
  const bool absolute = slashed.front() == '/';
  const bool trailing = slashed.back() == '/';
  fs::path current = absolute ? fs::path("/") : fs::path();
  bool matching = true;
  for (const auto& part : components(slashed)) {
    if (matching && part != "." && part != ".." && !pathExists(current / part)) {
      const std::string match = uniqueMatch(current, part);
      if (match.empty()) {
        matching = false;
      } else {
        current /= match;
        continue;
      }
    }
    current /= part;
  }
  std::string result = current.string();
  if (trailing && !result.empty() && result.back() != '/') result += '/';
  return result;
}

bool folderExists(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  return fs::is_directory(resolvePath(path), ec);
}

bool fileExists(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  const auto status = fs::status(resolvePath(path), ec);
  return !ec && fs::exists(status) && !fs::is_directory(status);
}

FolderResult createFolder(const std::string& path) {
  if (folderExists(path)) return {};
  std::string target = resolvePath(path);
  while (target.size() > 1 && target.back() == '/') target.pop_back();
  if (target.empty()) return {76, "Impossibile trovare il percorso"};
  std::error_code ec;
  if (fs::create_directory(target, ec)) return {};
  // A program starting at the same time may have made it since it was looked for.
  if (!ec && fs::is_directory(target, ec)) return {};
  if (!ec) ec = std::make_error_code(std::errc::file_exists);  // a file holds the name
  return errorFor(ec);
}

}  // namespace platform
