// The three selection lists of the statistics window (groups, categories, products) as display
// entries, read from the data database. Every value chosen by the user reaches the queries as a
// bound parameter.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Store.h"

namespace statind {

// One product entry of the product list: its display line and the code it stands for.
struct ProductEntry {
  std::string line;
  std::string code;
  // The line's fields, whole, where a list shows them in columns (the comparison's chooser);
  // empty otherwise.
  std::vector<std::string> fields = {};
};

// One entry of the category list: the code the filter uses and the line shown for it.
struct CategoryEntry {
  std::string line;  // the code, then its description when the table has one
  std::string code;
};

// What choosing a product entry means: its full code and the texts shown for it.
struct ProductChoice {
  std::string code;
  std::string description;
  std::string currency;
};

class ProductLists {
 public:
  explicit ProductLists(platform::Database& dataDb) : dataDb_(dataDb) {}

  // " ", then "GrpCodice GrpDescrizione" by code.
  std::vector<std::string> groups();
  // A blank entry " ", then the categories whose Tipo is not "S" by code, each shown as its code
  // and, where TabCategorie has a Descrizione column holding one, " - " and the description.
  std::vector<CategoryEntry> categories();
  // A blank entry, then the products: only `handedOver` when it is not blank (no ordering);
  // otherwise those of `group` (categories of Tipo "S" left out), or of `category`, or all,
  // by description. Throws StoreError on a storage failure.
  std::vector<ProductEntry> products(const std::string& handedOver, const std::string& group,
                                     const std::string& category);

  // Code cut or padded to 9 characters, " - ", description cut or padded to 51, "~", currency.
  // Widths count characters, not bytes.
  static std::string productLine(const std::string& code, const std::string& description,
                                 const std::string& currency);
  // The group code of a group entry: its first word ("" for the blank entry).
  static std::string groupCode(const std::string& entry);
  // Code, description (at most 50 characters) and currency read back from a product line;
  // false for a line without the " - " separator (the blank entry).
  static bool splitLine(const std::string& line, std::string& code, std::string& description,
                        std::string& currency);
  // The product an entry stands for: the texts read back from its line and the entry's full
  // code (the line may have cut it); nullopt for the blank entry.
  static std::optional<ProductChoice> choose(const ProductEntry& entry);
  // The position of the entry whose code equals `code` (trimmed, ignoring case); -1 if none.
  static int indexOf(const std::vector<ProductEntry>& entries, const std::string& code);

 private:
  platform::Database& dataDb_;
};

}  // namespace statind
