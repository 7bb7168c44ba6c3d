// statind-cli value: the index value of one product on one date, as every statistic reads it.
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "cli/Commands.h"
#include "cli/Session.h"
#include "indexdata/IndexLookup.h"
#include "platform/Format.h"
#include "platform/Strings.h"

namespace cli {

namespace {

// The lookup answers 1 for any code it has never heard of, which a script cannot tell from a
// real index of 1: a code that is neither a product nor in Indici is reported instead.
bool isKnownProduct(startup::Databases& dbs, const std::string& code) {
  return !dbs.dataDb
              ->snapshot("SELECT 1 FROM TabProdotti WHERE Codice IN (?1, cp1252(?1)) LIMIT 1",
                         {code})
              .empty() ||
         (dbs.indexTable->seek(platform::SeekOp::LessEqual, code, "9999-12-31") &&
          platform::equalsNoCase(platform::valueText(dbs.indexTable->field("IndProdotto")), code));
}

void print(const CommonOptions& common, const std::string& code, platform::DayNumber day,
           double value, const std::string& valueFormat) {
  if (common.format == "json") {
    nlohmann::ordered_json out;
    out["product"] = code;
    out["date"] = platform::formatDate(day);
    out["value"] = value;
    std::cout << out.dump() << "\n";
  } else {
    std::cout << platform::formatNumber(value, valueFormat) << "\n";
  }
}

}  // namespace

int runValue(const CommonOptions& common, const std::string& product, const std::string& date) {
  const auto day = platform::parseDate(date);
  if (!day) {
    std::cerr << "data non valida: '" << date << "' (atteso gg/mm/aaaa)\n";
    return kExitUsage;
  }
  return Session::runForProduct(common, product, [&](Session& session, const std::string& code) {
    startup::Databases& dbs = session.dbs();
    if (!isKnownProduct(dbs, code)) {
      std::cerr << "prodotto sconosciuto: " << code << "\n";
      return kExitNoData;
    }
    indexdata::IndexLookup lookup(*dbs.dataDb, *dbs.indexTable, session.params().valueFormat);
    print(common, code, *day, lookup.indexValueAt(code, *day), session.params().valueFormat);
    return kExitOk;
  });
}

}  // namespace cli
