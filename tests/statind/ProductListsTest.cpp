#include "statind/ProductLists.h"

#include <gtest/gtest.h>

#include "support/TempFolder.h"
#include "utilities/Schema.h"

namespace statind {
namespace {

class ProductListsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    utilities::createDataDb(folder_.file("DatiDV.mdb"));
    db_ = platform::Database::open(folder_.file("DatiDV.mdb"));
    for (const char* group : {"B", "A"}) {
      db_->execute("INSERT INTO TabGruppi (GrpCodice, GrpDescrizione) VALUES (?1, ?2)",
                   {group, std::string("Gruppo ") + group});
    }
    for (auto [code, type] : {std::pair{"AZ", "A"}, {"SP", "S"}, {"BI", "B"}}) {
      db_->execute("INSERT INTO TabCategorie (Codice, Tipo, Descrizione) VALUES (?1, ?2, ?1)",
                   {code, type});
    }
    add("P1", "Zeta", "A", "AZ");
    add("P2", "Polizza", "A", "SP");
    add("O'P3", "Alfa", "B", "BI");
  }
  void add(const char* code, const char* description, const char* group, const char* category) {
    db_->execute(
        "INSERT INTO TabProdotti (Codice, Descrizione, Moneta, Gruppo, Categoria, NoIndici) "
        "VALUES (?1, ?2, 'EUR', ?3, ?4, 0)",
        {code, description, group, category});
  }
  std::vector<std::string> codes(const std::string& handedOver, const std::string& group,
                                 const std::string& category) {
    std::vector<std::string> all;
    for (const auto& entry : ProductLists(*db_).products(handedOver, group, category))
      all.push_back(entry.code);
    return all;
  }

  testsupport::TempFolder folder_;
  std::unique_ptr<platform::Database> db_;
};

using Codes = std::vector<std::string>;

TEST_F(ProductListsTest, ListsAndTheirFilters) {
  ProductLists lists(*db_);
  EXPECT_EQ(lists.groups(), Codes({" ", "A Gruppo A", "B Gruppo B"}));
  Codes categories;
  for (const auto& entry : lists.categories()) categories.push_back(entry.line + "|" + entry.code);
  EXPECT_EQ(categories, Codes({" |", "AZ - AZ|AZ", "BI - BI|BI"}));  // Tipo "S" left out
  EXPECT_EQ(codes("", "", ""), Codes({"", "O'P3", "P2", "P1"}));     // by description
  EXPECT_EQ(codes("", "A", ""), Codes({"", "P1"}));                  // the "S" category left out
  EXPECT_EQ(codes("", "", "SP"), Codes({"", "P2"}));
  EXPECT_EQ(codes("", " A ", "SP"), Codes({"", "P1"}));  // the group wins
  // A handed-over code is the whole list, whatever the filters; quotes are only data.
  EXPECT_EQ(codes(" O'P3 ", "A", ""), Codes({"", "O'P3"}));
  EXPECT_EQ(codes("P1' OR '1'='1", "", ""), Codes({""}));
}

// The suite's category table may have no description: the list then shows the codes alone.
TEST_F(ProductListsTest, CategoriesWithoutDescriptionShowTheirCodes) {
  db_->execute("ALTER TABLE TabCategorie DROP COLUMN Descrizione");
  const auto entries = ProductLists(*db_).categories();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[1].line, "AZ");
  EXPECT_EQ(entries[1].code, "AZ");
}

TEST_F(ProductListsTest, ProductLineRoundTrip) {
  const std::string line = ProductLists::productLine("P1", "Fondo Più", "EUR");
  EXPECT_EQ(line, "P1        - Fondo Più" + std::string(42, ' ') + "~EUR");
  auto choice = ProductLists::choose({line, "P1"});
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->description, "Fondo Più");
  EXPECT_EQ(choice->currency, "EUR");
  EXPECT_FALSE(ProductLists::choose({" ", ""}));

  // Long code and description are cut in the line; the entry keeps the full code, and the
  // description read back is at most 50 characters.
  const std::string longText(60, 'x');
  choice = ProductLists::choose(
      {ProductLists::productLine("ABCDEFGHIJKL", longText, "USD"), "ABCDEFGHIJKL"});
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->code, "ABCDEFGHIJKL");
  EXPECT_EQ(choice->description, std::string(50, 'x'));
  EXPECT_EQ(choice->currency, "USD");
  // A code holding "-" is read back whole.
  choice = ProductLists::choose({ProductLists::productLine("AZ-01", "Fondo", "EUR"), ""});
  EXPECT_EQ(choice->code, "AZ-01");
  // Only the last "~" separates the currency.
  choice = ProductLists::choose({"P9 - A~B~EUR", "P9"});
  EXPECT_EQ(choice->description + "|" + choice->currency, "A~B|EUR");
}

TEST_F(ProductListsTest, EntryLookups) {
  EXPECT_EQ(ProductLists::groupCode(" A Gruppo A"), "A");
  EXPECT_EQ(ProductLists::groupCode(" "), "");
  const std::vector<ProductEntry> entries{{" ", ""}, {"..", "P1"}, {"..", "Ab7"}};
  EXPECT_EQ(ProductLists::indexOf(entries, " ab7 "), 2);
  EXPECT_EQ(ProductLists::indexOf(entries, "P"), -1);
  EXPECT_EQ(ProductLists::indexOf(entries, " "), -1);  // never the blank entry
}

}  // namespace
}  // namespace statind
