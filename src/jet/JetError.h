// Why a Jet file could not be read or copied: the file, the table when one was being read, and
// the reason, together in the message. Its kind tells the start-up which box to show and whether
// reading again may help.
#pragma once

#include <stdexcept>
#include <string>

namespace jet {

enum class JetFailure {
  Damaged,     // the reader found the file inconsistent or broke off on it
  Changing,    // the file kept changing while it was read (another program writes it)
  Unreadable,  // the file cannot be opened (permissions, not a Jet file it can read)
  Target       // the copy could not be written (folder missing, disk full, target refused)
};

class JetError : public std::runtime_error {
 public:
  JetError(JetFailure kind, std::string file, std::string table, std::string reason)
      : std::runtime_error(compose(file, table, reason)),
        kind_(kind),
        file_(std::move(file)),
        table_(std::move(table)),
        reason_(std::move(reason)) {}

  JetFailure kind() const { return kind_; }
  const std::string& file() const { return file_; }
  const std::string& table() const { return table_; }  // "" when no table was being read
  const std::string& reason() const { return reason_; }

 private:
  static std::string compose(const std::string& file, const std::string& table,
                             const std::string& reason) {
    return file + (table.empty() ? "" : ": tabella " + table) + ": " + reason;
  }

  JetFailure kind_;
  std::string file_;
  std::string table_;
  std::string reason_;
};

}  // namespace jet
