#include "statind/WorkTable.h"

#include <string>

namespace statind {

namespace {

platform::Value cell(const std::string& text) {
  if (text.empty()) return std::monostate{};
  return text;
}

}  // namespace

std::vector<GridRow> WorkTable::replace(const std::vector<GridRow>& rows) {
  const std::string table = kWorkTable;
  platform::Database::Transaction transaction(workDb_);
  workDb_.kept("DELETE FROM " + table).run();
  auto& insert =
      workDb_.kept("INSERT INTO " + table +
                   " (Data, indice, Percento1, Percento2, Percento3) VALUES (?1, ?2, ?3, ?4, ?5)");
  for (const auto& row : rows) {
    insert.run({cell(row.Data), cell(row.indice), cell(row.Percento1), cell(row.Percento2),
                cell(row.Percento3)});
  }
  std::vector<GridRow> stored = read();
  transaction.commit();
  return stored;
}

std::vector<GridRow> WorkTable::read() {
  std::vector<GridRow> rows;
  for (const auto& row :
       workDb_.kept("SELECT * FROM " + std::string(kWorkTable) + " ORDER BY rowid").run()) {
    rows.push_back(GridRow{platform::valueText(row["Data"]), platform::valueText(row["indice"]),
                           platform::valueText(row["Percento1"]),
                           platform::valueText(row["Percento2"]),
                           platform::valueText(row["Percento3"])});
  }
  return rows;
}

}  // namespace statind
