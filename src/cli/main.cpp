// statind-cli: the program's computations without a window, for scripting, export and tests.
#include <CLI/CLI.hpp>

#include <exception>
#include <iostream>
#include <string>

#include "cli/Commands.h"
#include "cli/SheetProgram.h"
#include "platform/Version.h"
#include "risk/MarketRisk.h"

int main(int argc, char** argv) {
  CLI::App app{"statind-cli: statistiche sugli indici senza finestre"};
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("statind-cli ") + platform::kVersionText);
  cli::CommonOptions common;
  common.argv0 = argc > 0 ? argv[0] : "statind-cli";
  if (cli::kPdfAvailable) common.programFolder = cli::callerFolder();

  // withSheet: the command also writes its output into a file and the client sheet as PDF.
  auto addCommon = [&](CLI::App* sub, bool withCsv, bool withSheet = false) {
    sub->add_option("--ini", common.ini, "configuration file (default: the program's search)");
    auto formats = withCsv ? std::vector<std::string>{"text", "json", "csv"}
                           : std::vector<std::string>{"text", "json"};
    if (withSheet && cli::kPdfOffered) formats.push_back("pdf");
    sub->add_option("--format", common.format, "output format")->check(CLI::IsMember(formats));
    if (withSheet)
      sub->add_option("--output", common.output,
                      "write to FILE, - for standard output (pdf: required)");
  };

  auto* info = app.add_subcommand("info", "start-up check: configuration, folders, databases");
  addCommon(info, false);

  std::string product, date;
  auto* value = app.add_subcommand("value", "index value of a product on a date");
  addCommon(value, false);
  value->add_option("--product", product)->required();
  value->add_option("--date", date, "dd/mm/yyyy")->required();

  cli::ReportOptions report;
  auto* rep = app.add_subcommand("report", "one statistics run (year or month view)");
  addCommon(rep, true, true);
  rep->add_option("--product", report.product)->required();
  rep->add_option("--year", report.year);
  rep->add_option("--month", report.month)->check(CLI::Range(0, 12));
  rep->add_option("--start-rule", report.startRule)->check(CLI::IsMember({"first", "previous"}));
  rep->add_option("--chart-options", report.chartOptions,
                  "pdf: the window's eight option digits (default: as last saved)");

  cli::CompareOptions compareOptions;
  auto* cmp = app.add_subcommand("compare", "one monthly comparison across years");
  addCommon(cmp, true, true);
  cmp->add_option("--product", compareOptions.product)->required();
  cmp->add_option("--from", compareOptions.from, "first year")->required();
  cmp->add_option("--to", compareOptions.to, "last year")->required();
  cmp->add_option("--month", compareOptions.month, "0 = all months")->check(CLI::Range(0, 12));
  cmp->add_option("--start-rule", compareOptions.startRule)
      ->check(CLI::IsMember({"first", "previous"}));
  cmp->add_option("--chart", compareOptions.chart, "line (default) or bars")
      ->check(CLI::IsMember({"line", "bars"}));
  cmp->add_option("--chart-options", compareOptions.chartOptions,
                  "pdf: the window's eight option digits (default: as last saved)");
  cli::RiskOptions risk;
  auto* riskCommand = app.add_subcommand("risk", "risk and return figures of a product");
  auto* returns = app.add_subcommand("returns", "monthly returns map of a product");
  for (auto* sub : {riskCommand, returns}) {
    addCommon(sub, true);
    sub->add_option("--product", risk.product)->required();
    sub->add_option("--start-rule", risk.startRule)->check(CLI::IsMember({"first", "previous"}));
  }
  riskCommand->add_option("--year", risk.year);
  riskCommand
      ->add_option("--holding-years", risk.holdingYears,
                   "recommended holding period in years: above 0, at most 50, fractions allowed "
                   "(0.5 = six months); default 5")
      ->check(CLI::Validator(
          [](std::string& text) -> std::string {
            double years = 0;
            if (CLI::detail::lexical_cast(text, years) && risk::isHoldingPeriod(years)) return "";
            return "not a holding period: a number of years above 0 and at most 50";
          },
          "YEARS"));

  cli::VersusOptions versusOptions;
  auto* vs = app.add_subcommand("versus", "products side by side over the period they share");
  addCommon(vs, true, true);
  vs->add_option("--products", versusOptions.products, "A,B[,C...]: 2 to 8 product codes")
      ->required();
  vs->add_option("--benchmark", versusOptions.benchmark, "one of the products");
  vs->add_option("--from", versusOptions.from, "dd/mm/yyyy");
  auto* to = vs->add_option("--to", versusOptions.to, "dd/mm/yyyy");
  vs->add_option("--period", versusOptions.period, "up to the last date the products share")
      ->check(CLI::IsMember({"ytd", "1a", "3a", "5a", "10a", "max"}))
      ->excludes(to);

  std::string demoFolder;
  auto* demo = app.add_subcommand("make-demo", "write a complete demo installation");
  demo->add_option("DIR", demoFolder)->required();
  bool force = false;
  demo->add_flag("--force", force, "write into a folder that is not empty");

  cli::IndexCopyOptions copyOptions;
  auto* copy =
      app.add_subcommand("index-copy", "copy the index database to a PostgreSQL server or back");
  copy->add_option("--ini", common.ini, "configuration file (default: the program's search)");
  auto* direction = copy->add_option_group("direction", "exactly one of --to and --from");
  direction->add_option("--to", copyOptions.to, "the server: postgresql://user@host:port/dbname");
  direction->add_option("--from", copyOptions.from, "the server, back into the index file");
  direction->require_option(1);
  copy->add_flag("--replace", copyOptions.replace, "replace the records the target already holds");

  cli::ImportIndexOptions importOptions;
  auto* import = app.add_subcommand("import-index", "import index values from a CSV file");
  addCommon(import, false);
  import->add_option("FILE", importOptions.file, "the CSV file, - for standard input")->required();
  // One value each time they are given, so that FILE after them stays the file.
  import->add_option("--product", importOptions.products, "product code (one per --columns)")
      ->allow_extra_args(false);
  import
      ->add_option("--columns", importOptions.columns,
                   "DATE,VALUE (with --long PRODUCT,DATE,VALUE): 1-based positions or names")
      ->allow_extra_args(false);
  import->add_flag("--long", importOptions.longForm, "every line is product;date;value");
  import->add_option("--separator", importOptions.separator, "field separator")
      ->check(CLI::IsMember({";", ",", "tab"}));
  import->add_option("--date-format", importOptions.dateFormat,
                     "dd/mm/yyyy, mm/dd/yyyy, yyyy-mm-dd...");
  import->add_option("--decimal", importOptions.decimal, "decimal separator")
      ->check(CLI::IsMember({",", "."}));
  import->add_flag("--skip-bad", importOptions.skipBad, "import the readable lines, list the rest");
  import->add_flag("--overwrite", importOptions.overwrite, "replace stored values that differ");
  import->add_flag("--dry-run", importOptions.dryRun, "report what would happen, write nothing");
  auto* create =
      import->add_option("--create", importOptions.create, "add the product: its description");
  import->add_option("--currency", importOptions.currency, "the new product's currency")
      ->needs(create);
  import->add_option("--group", importOptions.group, "the new product's group")->needs(create);
  import->add_option("--category", importOptions.category, "the new product's category")
      ->needs(create);

  cli::JetCopyOptions jetCopy;
  auto* jetCopyCommand = app.add_subcommand(
      "jet-copy", "copy every table of a Jet (.mdb) file into a new SQLite file");
  jetCopyCommand->add_option("--from", jetCopy.from, "the Jet file (Access 97-2003)")->required();
  jetCopyCommand->add_option("--to", jetCopy.to, "the SQLite file to write")->required();
  jetCopyCommand->add_flag("--replace", jetCopy.replace, "replace a target that is not empty");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int rc = app.exit(e);
    return rc == 0 ? 0 : cli::kExitUsage;
  }

  if (common.format == "pdf" && !cli::kPdfAvailable) return cli::runInSheetProgram(argv);

  // Whatever a command did not foresee still ends as a message and an exit code a script can
  // test, never as an abort.
  try {
    if (info->parsed()) return cli::runInfo(common);
    if (value->parsed()) return cli::runValue(common, product, date);
    if (rep->parsed()) return cli::runReport(common, report);
    if (cmp->parsed()) return cli::runCompare(common, compareOptions);
    if (riskCommand->parsed()) return cli::runRisk(common, risk);
    if (returns->parsed()) return cli::runReturns(common, risk);
    if (demo->parsed()) return cli::runMakeDemo(demoFolder, force);
    if (copy->parsed()) return cli::runIndexCopy(common, copyOptions);
    if (import->parsed()) return cli::runImportIndex(common, importOptions);
    if (vs->parsed()) return cli::runVersus(common, versusOptions);

    if (jetCopyCommand->parsed()) return cli::runJetCopy(jetCopy);
  } catch (const std::exception& e) {
    std::cerr << "statind-cli: errore imprevisto: " << e.what() << std::endl;
    return cli::kExitStore;
  } catch (...) {
    std::cerr << "statind-cli: errore imprevisto" << std::endl;
    return cli::kExitStore;
  }
  return cli::kExitUsage;
}
