#include "cli/ImportOutput.h"

#include <nlohmann/json.hpp>

#include "indeximport/FileRead.h"
#include "indeximport/ValueText.h"
#include "platform/Format.h"

namespace cli {

namespace {

using indeximport::ImportResult;
using indeximport::ImportStatus;
using indeximport::ProductImport;

std::string statusName(const ImportResult& result, bool dryRun) {
  switch (result.status) {
    case ImportStatus::Imported:
      return dryRun ? "dry-run" : "imported";
    case ImportStatus::Refused:
      return "refused";
    case ImportStatus::UnknownProduct:
      return "unknown-product";
    case ImportStatus::BadRequest:
      return "bad-request";
  }
  return "";
}

std::string dateText(platform::DayNumber day) {
  return day ? platform::formatDate(day) : "";
}

std::string decimalName(const indeximport::FileRead& file) {
  if (!file.decimal) return "";
  return *file.decimal == indeximport::DecimalStyle::Italian ? "italiano (1.234,56)"
                                                             : "inglese (1,234.56)";
}

void writeFile(std::ostream& out, const ImportResult& result) {
  const auto& file = result.file;
  if (file.encoding.empty()) return;
  out << "File: " << file.encoding << ", separatore " << indeximport::separatorName(file.separator)
      << ", righe " << (file.crlf ? "CRLF" : "LF") << ", "
      << (file.header ? "con intestazione" : "senza intestazione") << "\n";
  if (!file.columns.empty()) out << "Colonne: " << file.columns << "\n";
  if (file.dateFormat) {
    out << "Date: " << file.dateFormat->name();
    if (file.dateFormatAssumed)
      out << " (nessuna data distingue giorno e mese: lette giorno per primo)";
    out << "\n";
  }
  if (file.decimal) out << "Numeri: " << decimalName(file) << "\n";
  out << "Righe lette: " << file.linesRead << ", non leggibili: " << file.badCount << "\n";
  for (const auto& bad : file.badLines)
    out << "  riga " << bad.line << ": " << bad.reason << " | " << bad.text << "\n";
  if (file.badCount > static_cast<long long>(file.badLines.size()))
    out << "  ... e altre " << file.badCount - static_cast<long long>(file.badLines.size()) << "\n";
}

void writeProduct(std::ostream& out, const ProductImport& product) {
  out << "Prodotto " << product.code << (product.created ? " (nuovo)" : "") << ": "
      << product.records << " indici";
  if (product.records > 0)
    out << " dal " << dateText(product.first) << " al " << dateText(product.last);
  out << "\n  aggiunti " << product.added << ", invariati " << product.unchanged << ", sostituiti "
      << product.replaced << ", conflitti " << product.conflicts << "\n";
  if (product.repeats > 0)
    out << "  date ripetute con lo stesso valore, contate una volta: " << product.repeats << "\n";
  for (const auto& conflict : product.conflictList)
    out << "  conflitto " << dateText(conflict.day) << " (riga " << conflict.line
        << "): archiviato " << indeximport::valueText(conflict.stored) << ", nel file "
        << indeximport::valueText(conflict.file) << "\n";
  if (product.lowCount > 0) {
    out << "  valori non superiori a 1 (la vista mensile li mostra vuoti): " << product.lowCount
        << "\n";
    for (const auto& low : product.lowValues)
      out << "    " << dateText(low.day) << " (riga " << low.line
          << "): " << indeximport::valueText(low.value) << "\n";
  }
}

}  // namespace

void writeImportText(std::ostream& out, const ImportResult& result, bool dryRun) {
  writeFile(out, result);
  for (const auto& repeated : result.repeated)
    out << "Data ripetuta " << dateText(repeated.day) << " di " << repeated.code << ": riga "
        << repeated.earlierLine << " " << indeximport::valueText(repeated.earlierValue) << ", riga "
        << repeated.line << " " << indeximport::valueText(repeated.value) << "\n";
  for (const auto& product : result.products) writeProduct(out, product);
  if (result.status != ImportStatus::Imported) return;
  if (result.skipped > 0) out << "Righe scartate (--skip-bad): " << result.skipped << "\n";
  out << (dryRun ? "Prova: niente è stato scritto in " : "Scritto in ") << result.target << "\n";
}

void writeImportJson(std::ostream& out, const ImportResult& result, bool dryRun) {
  using nlohmann::json;
  const auto& file = result.file;
  json badLines = json::array();
  for (const auto& bad : file.badLines)
    badLines.push_back({{"line", bad.line}, {"text", bad.text}, {"reason", bad.reason}});
  json repeated = json::array();
  for (const auto& r : result.repeated)
    repeated.push_back({{"product", r.code},
                        {"date", dateText(r.day)},
                        {"line", r.line},
                        {"earlierLine", r.earlierLine},
                        {"value", r.value},
                        {"earlierValue", r.earlierValue}});
  json products = json::array();
  for (const auto& p : result.products) {
    json conflicts = json::array();
    for (const auto& c : p.conflictList)
      conflicts.push_back(
          {{"date", dateText(c.day)}, {"stored", c.stored}, {"file", c.file}, {"line", c.line}});
    json lows = json::array();
    for (const auto& l : p.lowValues)
      lows.push_back({{"date", dateText(l.day)}, {"value", l.value}, {"line", l.line}});
    products.push_back({{"product", p.code},
                        {"created", p.created},
                        {"records", p.records},
                        {"repeats", p.repeats},
                        {"added", p.added},
                        {"unchanged", p.unchanged},
                        {"replaced", p.replaced},
                        {"conflicts", p.conflicts},
                        {"firstDate", dateText(p.first)},
                        {"lastDate", dateText(p.last)},
                        {"conflictList", conflicts},
                        {"lowCount", p.lowCount},
                        {"lowValues", lows}});
  }
  const json document = {
      {"status", statusName(result, dryRun)},
      {"message", result.message},
      {"target", result.target},
      {"written", result.written},
      {"file",
       {{"encoding", file.encoding},
        {"separator", std::string(1, file.separator)},
        {"lineEnd", file.crlf ? "CRLF" : "LF"},
        {"header", file.header},
        {"columns", file.columns},
        {"dateFormat", file.dateFormat ? file.dateFormat->name() : ""},
        {"dateFormatAssumed", file.dateFormatAssumed},
        {"decimal", !file.decimal                                         ? ""
                    : *file.decimal == indeximport::DecimalStyle::Italian ? ","
                                                                          : "."}}},
      {"linesRead", file.linesRead},
      {"badCount", file.badCount},
      {"skipped", result.skipped},
      {"badLines", badLines},
      {"repeatedCount", result.repeatedCount},
      {"repeated", repeated},
      {"unknownProducts", result.unknownProducts},
      {"products", products},
      {"totals",
       {{"records", result.total(&ProductImport::records)},
        {"added", result.total(&ProductImport::added)},
        {"unchanged", result.total(&ProductImport::unchanged)},
        {"replaced", result.total(&ProductImport::replaced)},
        {"conflicts", result.total(&ProductImport::conflicts)}}}};
  // Codes from the data database may be Windows-1252: shown, never a reason to fail.
  out << document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

}  // namespace cli
