// A Jet 3 or Jet 4 file opened for reading through libmdb: its version and its user tables.
// The file is opened read-only and never written; every failure of the reader becomes a
// JetError naming the file. One JetFile per thread of work: libmdb keeps a cursor per handle.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace jet {

class JetTable;

class JetFile {
 public:
  // Opens `path`. Throws JetError (Unreadable) when libmdb cannot open it or does not take it
  // for a Jet 3 or Jet 4 file (ACE files, other files), or when it cannot read the catalogue.
  explicit JetFile(const std::string& path);
  ~JetFile();
  JetFile(const JetFile&) = delete;
  JetFile& operator=(const JetFile&) = delete;

  const std::string& path() const { return path_; }
  // 3 or 4.
  int version() const { return version_; }
  // The user tables in the catalogue's order: no system tables, no links to other files.
  const std::vector<std::string>& tables() const { return tables_; }
  // Opens a table of tables() for reading from its first row. Throws JetError (Damaged) when
  // its definition or columns cannot be read.
  std::unique_ptr<JetTable> open(const std::string& table);

 private:
  struct Impl;
  std::string path_;
  int version_ = 0;
  std::vector<std::string> tables_;
  std::unique_ptr<Impl> impl_;
};

}  // namespace jet
