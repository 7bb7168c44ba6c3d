#include "indeximport/IndexImport.h"

#include <algorithm>
#include <map>

#include "indeximport/CsvText.h"
#include "platform/Strings.h"

namespace indeximport {

namespace {

// The progress is reported about this often while writing.
constexpr long long kProgressStep = 10000;

// The records of one product, gathered from every series of the file that names it.
struct ProductRecords {
  std::string code;
  bool created = false;
  std::vector<ReadRecord> records;
};

ImportResult refused(ImportResult result, ImportStatus status, std::string message) {
  result.status = status;
  result.message = std::move(message);
  return result;
}

// Why the parameters do not fit together; "" when they do.
std::string requestProblem(const ImportParams& params) {
  const auto& columns = params.read.columns;
  if (params.read.longForm) {
    if (!params.products.empty()) return "con --long i prodotti sono nel file: niente --product";
    if (params.create) return "--create aggiunge un solo prodotto: non vale con --long";
    if (columns.size() > 1) return "con --long si indica un solo --columns";
    return "";
  }
  if (params.products.empty()) return "indicare il prodotto con --product";
  if (params.create && params.products.size() != 1)
    return "--create aggiunge un solo prodotto: indicare un solo --product";
  if (params.products.size() > 1 && columns.size() != params.products.size())
    return "con più prodotti serve un --columns DATA,VALORE per ogni --product";
  if (params.products.size() == 1 && columns.size() > 1)
    return "un solo --product: indicare un solo --columns";
  return "";
}

std::string joined(const std::vector<std::string>& texts) {
  std::string text;
  for (const auto& t : texts) text += (text.empty() ? "" : ", ") + t;
  return text;
}

void describeProduct(ProductImport& product, const std::vector<ReadRecord>& records) {
  product.records = static_cast<long long>(records.size());
  if (!records.empty()) {
    product.first = records.front().day;
    product.last = records.back().day;
  }
  for (const auto& record : records) {
    if (record.value > 1) continue;
    ++product.lowCount;
    if (product.lowValues.size() < kListedLines)
      product.lowValues.push_back({record.day, record.value, record.line});
  }
}

// Plans every product against the store and, unless `dryRun`, writes the plans. The caller
// holds the transactions.
void planAndWrite(ImportResult& result, std::vector<ProductRecords>& products,
                  const ImportParams& params, IndexTarget& index) {
  std::vector<SeriesPlan> plans;
  long long total = 0;
  for (std::size_t i = 0; i < products.size(); ++i) {
    plans.push_back(
        planSeries(products[i].records, index.records(products[i].code), params.overwrite));
    const SeriesPlan& plan = plans.back();
    ProductImport& outcome = result.products[i];
    outcome.added = plan.added;
    outcome.unchanged = plan.unchanged;
    outcome.replaced = plan.replaced;
    outcome.conflicts = plan.conflicts;
    outcome.conflictList = plan.conflictList;
    total += static_cast<long long>(plan.inserts.size() + plan.updates.size());
  }
  if (params.dryRun) return;
  long long done = 0;
  const auto step = [&] {
    if (++done % kProgressStep == 0 && params.progress) params.progress(done, total);
  };
  for (std::size_t i = 0; i < products.size(); ++i) {
    for (const auto& [identity, value] : plans[i].updates) {
      index.update(identity, value);
      step();
    }
    for (const ReadRecord* record : plans[i].inserts) {
      index.insert(products[i].code, record->day, record->value);
      step();
    }
  }
  if (params.progress) params.progress(done, total);
}

}  // namespace

long long ImportResult::total(long long ProductImport::*count) const {
  long long sum = 0;
  for (const auto& product : products) sum += product.*count;
  return sum;
}

ImportResult importIndex(std::string bytes, const ImportParams& params, ImportStores stores) {
  ImportResult result;
  result.target = stores.index.name();
  if (const auto problem = requestProblem(params); !problem.empty())
    return refused(std::move(result), ImportStatus::BadRequest, problem);

  // The products named on the command line are checked before the file is read.
  ProductCatalogue catalogue(stores.dataDb);
  std::vector<std::string> codes;
  for (const auto& product : params.products) {
    if (params.create) {
      if (const auto why = catalogue.checkNew(product, *params.create); !why.empty())
        return refused(std::move(result), ImportStatus::BadRequest, why);
      codes.push_back(platform::trim(product));
    } else if (const auto code = catalogue.find(product)) {
      codes.push_back(*code);
    } else {
      result.unknownProducts.push_back(platform::trim(product));
    }
  }
  if (!result.unknownProducts.empty())
    return refused(std::move(result), ImportStatus::UnknownProduct,
                   "prodotto inesistente in TabProdotti: " + joined(result.unknownProducts) +
                       " (--create per aggiungerlo)");

  const ReadOptions& options = params.read;
  result.file = readPriceFile(std::move(bytes), options);
  if (!result.file.refusal.empty())
    return refused(std::move(result), ImportStatus::Refused, result.file.refusal);

  // Series naming the same product (codes differing in case, in long form) become one.
  std::vector<ProductRecords> products;
  std::map<std::string, std::size_t> byCode;
  long long unknown = 0;
  for (std::size_t s = 0; s < result.file.series.size(); ++s) {
    ReadSeries& series = result.file.series[s];
    std::string code;
    if (options.longForm) {
      const auto found = catalogue.find(series.code);
      if (!found) {
        if (result.unknownProducts.size() < kListedLines)
          result.unknownProducts.push_back(printable(series.code));
        ++unknown;
        continue;
      }
      code = *found;
    } else {
      code = codes[s];
    }
    const auto [at, added] = byCode.try_emplace(platform::upperCase(code), products.size());
    if (added) products.push_back({code, params.create.has_value(), {}});
    auto& records = products[at->second].records;
    records.insert(records.end(), series.records.begin(), series.records.end());
    series.records = {};
  }
  if (unknown > 0)
    return refused(std::move(result), ImportStatus::UnknownProduct,
                   std::to_string(unknown) +
                       " prodotti inesistenti in TabProdotti: " + joined(result.unknownProducts) +
                       (unknown > static_cast<long long>(kListedLines) ? "..." : ""));

  for (auto& product : products) {
    ProductImport outcome;
    outcome.code = product.code;
    outcome.created = product.created;
    outcome.repeats =
        mergeRepeats(product.records, product.code, result.repeated, result.repeatedCount);
    describeProduct(outcome, product.records);
    result.products.push_back(std::move(outcome));
  }

  std::vector<std::string> problems;
  if (result.file.badCount > 0 && !params.skipBad)
    problems.push_back(result.file.badCount == 1
                           ? std::string("1 riga non leggibile")
                           : std::to_string(result.file.badCount) + " righe non leggibili");
  if (result.repeatedCount > 0)
    problems.push_back(std::to_string(result.repeatedCount) +
                       " date ripetute nel file con valori diversi");
  if (problems.empty() && result.total(&ProductImport::records) == 0)
    problems.push_back("nessun indice da importare nel file");
  if (!problems.empty()) return refused(std::move(result), ImportStatus::Refused, joined(problems));
  result.skipped = result.file.badCount;

  // The product is added in the same run as its records: its transaction commits after the
  // index's, so that a failed write of the records leaves no product behind. (Should that last
  // commit fail, the records stay without their product, which the lookups simply never read.)
  std::optional<platform::Database::Transaction> productWrite;
  if (params.create && !params.dryRun) {
    productWrite.emplace(stores.dataDb, true);
    catalogue.add(products.front().code, *params.create);
  }
  try {
    stores.index.begin(!params.dryRun);
    planAndWrite(result, products, params, stores.index);
    if (params.dryRun) {
      stores.index.rollback();
    } else {
      stores.index.commit();
      if (productWrite) productWrite->commit();
      result.written = true;
    }
  } catch (...) {
    stores.index.rollback();
    throw;
  }
  result.status = ImportStatus::Imported;
  return result;
}

}  // namespace indeximport
