// The program's INI configuration file, read and written with the Windows profile rules:
// section and key names match without regard to case, the first matching section and key win,
// blanks around keys and values are ignored, a value in double quotes loses them. The file is
// never cached: every read reads the file again, since other suite programs write it too.
#pragma once

#include <string>

namespace platform {

// The value of `key` in `section` of `file`: at most 99 characters, cut before the first tab
// and before the first " ;" (a trailing comment), trimmed of blanks. "" when the file, the
// section or the key does not exist. Never throws.
std::string readIni(const std::string& file, const std::string& section, const std::string& key);

// Why `file` cannot serve as the configuration file, "" when it can: it must be a regular file
// of at most a few MB that this process may open. Otherwise (a folder, a FIFO, a device, a file
// too large, no permission) readIni gives "" for every key and writeIni writes nothing, and
// the reason says which ("non è un file", "troppo grande: ...", "accesso negato").
std::string iniFileProblem(const std::string& file);

// Sets `key` in `section` of `file` to `value`: every other line stays as it was, a missing key
// goes at the end of its section, a missing section at the end of the file, a missing file is
// created. The file keeps its encoding (UTF-8, or Windows-1252 when it was not valid UTF-8) and
// its line endings. The file is replaced atomically: a failure leaves the old file whole.
// Returns false, writing nothing, when the file cannot be written or is read-only (no write
// permission for anyone, or none for this process).
bool writeIni(const std::string& file, const std::string& section, const std::string& key,
              const std::string& value);

}  // namespace platform
