#include "platform/Profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/Strings.h"
#include "platform/SystemError.h"
#include "platform/TextEncoding.h"
#include "platform/WholeFile.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::size_t kMaxValueChars = 99;     // the suite reads into a 100-character buffer
constexpr std::size_t kMaxIniBytes = 4 << 20;  // the suite's files hold a few hundred KB at most

// One line of the file as stored: its bytes, its own line ending ("" on an unterminated last
// line), and its text in UTF-8 for matching.
struct Line {
  std::string bytes;
  std::string ending;
  std::string text;
};

struct IniFile {
  bool cp1252 = false;
  std::string bom;
  std::string newline = "\n";
  std::vector<Line> lines;
};

// The whole file, or nothing when it is not a regular file of at most kMaxIniBytes: a FIFO
// would block the program, a device such as /dev/zero would fill its memory. Opened without
// waiting, then judged on what was opened, so that the name cannot change in between.
std::optional<std::string> readBytes(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> bytes;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
      static_cast<std::size_t>(st.st_size) <= kMaxIniBytes) {
    bytes.emplace();
    char buffer[65536];
    for (;;) {
      const ssize_t got = ::read(fd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0 || bytes->size() + static_cast<std::size_t>(got) > kMaxIniBytes) {
        bytes.reset();
        break;
      }
      if (got == 0) break;
      bytes->append(buffer, static_cast<std::size_t>(got));
    }
  }
  ::close(fd);
  return bytes;
}

IniFile parse(std::string bytes) {
  IniFile ini;
  if (bytes.starts_with(kUtf8Bom)) {
    ini.bom = kUtf8Bom;
    bytes.erase(0, kUtf8Bom.size());
  }
  ini.cp1252 = !isValidUtf8(bytes);
  if (bytes.find("\r\n") != std::string::npos) ini.newline = "\r\n";
  std::size_t start = 0;
  while (start < bytes.size()) {
    const auto lf = bytes.find('\n', start);
    const std::size_t stop = lf == std::string::npos ? bytes.size() : lf;
    const bool cr = stop > start && bytes[stop - 1] == '\r';
    Line line;
    line.bytes = bytes.substr(start, stop - start - (cr ? 1 : 0));
    if (cr) line.ending.push_back('\r');
    if (lf != std::string::npos) line.ending.push_back('\n');
    start = stop + 1;
    line.text = ini.cp1252 ? cp1252ToUtf8(line.bytes) : line.bytes;
    ini.lines.push_back(std::move(line));
  }
  return ini;
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<std::string> sectionName(const std::string& text) {
  const std::string t = trim(text, kBlanks);
  if (t.empty() || t.front() != '[') return std::nullopt;
  const auto close = t.find(']');
  return trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1), kBlanks);
}

// The trimmed key of a "key=value" line, or nullopt when the line holds no "=".
std::optional<std::string> keyName(const std::string& text) {
  const auto eq = text.find('=');
  if (eq == std::string::npos) return std::nullopt;
  return trim(text.substr(0, eq), kBlanks);
}

// Index of the header line of the first section called `section`, or lines.size().
std::size_t findSection(const IniFile& ini, const std::string& section) {
  for (std::size_t i = 0; i < ini.lines.size(); ++i) {
    const auto name = sectionName(ini.lines[i].text);
    if (name && equalsNoCase(*name, section)) return i;
  }
  return ini.lines.size();
}

// One past the last line of the section whose header is at `header`.
std::size_t sectionEnd(const IniFile& ini, std::size_t header) {
  std::size_t i = header + 1;
  while (i < ini.lines.size() && !sectionName(ini.lines[i].text)) ++i;
  return i;
}

// Index of the first line of the section that sets `key`, or `end`.
std::size_t findKey(const IniFile& ini, std::size_t header, std::size_t end,
                    const std::string& key) {
  for (std::size_t i = header + 1; i < end; ++i) {
    const auto name = keyName(ini.lines[i].text);
    if (name && !name->empty() && equalsNoCase(*name, key)) return i;
  }
  return end;
}

// What the profile call itself returns: the value trimmed, out of its double quotes, cut to
// the buffer.
std::string profileValue(const std::string& lineText) {
  std::string value = trim(lineText.substr(lineText.find('=') + 1), kBlanks);
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  return firstChars(value, kMaxValueChars);
}

// A value must stay on its line: a line break written into the file would add keys or
// sections that nobody asked for.
std::string oneLine(std::string value) {
  for (char& c : value) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  return value;
}

std::string encode(const IniFile& ini, const std::string& text) {
  return ini.cp1252 ? utf8ToCp1252(text) : text;
}

// Ends `line` with a line break before a line is written after it. An unterminated last line
// may end in a lone CR, which is no line break for a reader: the new line would join it.
void endLine(const IniFile& ini, Line& line) {
  if (!line.ending.ends_with('\n')) line.ending = ini.newline;
}

void setValue(IniFile& ini, const std::string& section, const std::string& key,
              const std::string& value) {
  std::size_t header = findSection(ini, section);
  if (header == ini.lines.size()) {
    if (!ini.lines.empty()) endLine(ini, ini.lines.back());
    ini.lines.push_back({encode(ini, "[" + section + "]"), ini.newline, ""});
    ini.lines.push_back({encode(ini, key + "=" + value), ini.newline, ""});
    return;
  }
  const std::size_t end = sectionEnd(ini, header);
  const std::size_t at = findKey(ini, header, end, key);
  if (at != end) {
    Line& line = ini.lines[at];
    line.bytes = line.bytes.substr(0, line.bytes.find('=') + 1) + encode(ini, value);
    return;
  }
  std::size_t insertAt = end;
  while (insertAt > header + 1 && trim(ini.lines[insertAt - 1].text, kBlanks).empty()) --insertAt;
  endLine(ini, ini.lines[insertAt - 1]);
  ini.lines.insert(ini.lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                   Line{encode(ini, key + "=" + value), ini.newline, ""});
}

// False when the user made `file` read-only, or when this process may not write it. The
// replacement goes through a rename, which the folder's rights allow even for a file that may
// not be written (and root passes every access check), so the file's own mode decides first.
bool mayReplace(const std::string& file) {
  std::error_code ec;
  const auto perms = fs::status(file, ec).permissions();
  if (ec) return false;
  constexpr auto kAnyWrite =
      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if ((perms & kAnyWrite) == fs::perms::none) return false;
  return ::access(file.c_str(), W_OK) == 0 || (errno != EACCES && errno != EROFS);
}

// The file to read or write: its name as it exists on disk, through any symbolic link.
std::string actualFile(const std::string& file) {
  const std::string resolved = resolvePath(file);
  std::error_code ec;
  if (fs::is_symlink(resolved, ec)) {
    const auto target = fs::canonical(resolved, ec);
    if (!ec) return target.string();
  }
  return resolved;
}

}  // namespace

std::string readIni(const std::string& file, const std::string& section, const std::string& key) {
  try {
    const auto bytes = readBytes(actualFile(file));
    if (!bytes) return "";
    const IniFile ini = parse(*bytes);
    const std::size_t header = findSection(ini, section);
    if (header == ini.lines.size()) return "";
    const std::size_t end = sectionEnd(ini, header);
    const std::size_t at = findKey(ini, header, end, key);
    if (at == end) return "";
    std::string value = profileValue(ini.lines[at].text);
    value = value.substr(0, value.find('\0'));
    value = value.substr(0, value.find('\t'));
    value = value.substr(0, value.find(" ;"));
    return trim(value);
  } catch (...) {
    return "";
  }
}

std::string iniFileProblem(const std::string& file) {
  const std::string path = actualFile(file);
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return fileErrorText(errno);
  if (!S_ISREG(st.st_mode)) return "non è un file";
  if (static_cast<std::size_t>(st.st_size) > kMaxIniBytes)
    return "troppo grande: " + std::to_string(st.st_size >> 20) + " MB, al massimo " +
           std::to_string(kMaxIniBytes >> 20);
  if (::access(path.c_str(), R_OK) != 0) return fileErrorText(errno);
  return "";
}

bool writeIni(const std::string& file, const std::string& section, const std::string& key,
              const std::string& value) {
  try {
    const std::string target = actualFile(file);
    IniFile ini;
    std::error_code ec;
    if (fs::exists(target, ec)) {
      if (!mayReplace(target)) return false;
      const auto bytes = readBytes(target);
      if (!bytes) return false;  // never replace a file we could not read
      ini = parse(*bytes);
    }
    setValue(ini, section, key, oneLine(value));
    std::string out = ini.bom;
    for (const Line& line : ini.lines) out += line.bytes + line.ending;
    return writeWholeFile(target, out) == 0;
  } catch (...) {
    return false;
  }
}

}  // namespace platform
