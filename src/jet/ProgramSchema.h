// What the program's own files give the tables it uses beyond their columns: the collation of
// each column and the indexes, exactly as make-demo creates them. A copy of a Jet file gives the
// same tables the same collation and indexes, so that every lookup answers on the copy as it
// does on a native file.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace jet {

class ProgramSchema {
 public:
  struct Index {
    std::string name;
    bool unique = false;
    std::vector<std::string> columns;
  };
  struct Table {
    std::map<std::string, std::string> collations;  // upper-cased column name -> collation
    std::vector<Index> indexes;
  };

  // Reads the schema make-demo writes (data, visits and index databases) from a database built
  // in memory for the purpose. Throws StoreError should the engine fail.
  ProgramSchema();

  // The table of that name (ignoring case), or null for a table the program does not use.
  const Table* find(const std::string& table) const;
  // The collation of `column` in `table` ("" when it compares as stored).
  static std::string collationOf(const Table* table, const std::string& column);

 private:
  std::map<std::string, Table> tables_;  // by upper-cased name
};

}  // namespace jet
