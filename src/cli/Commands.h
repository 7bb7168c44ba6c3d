// The subcommands of statind-cli. Each returns the process exit code: 0 success, 2 configuration
// or database error, 3 unknown product or no index data, 64 usage error, 65 an input file
// refused for its content.
#pragma once

#include <string>
#include <vector>

namespace cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitStore = 2;
inline constexpr int kExitNoData = 3;
inline constexpr int kExitUsage = 64;
inline constexpr int kExitDataRefused = 65;

// Whether this program draws the client sheet as PDF itself (it needs the ui library's
// renderer), and whether the build has a sheet program that does (`--format pdf` is then handed
// over to it, so that every other command starts without loading Qt).
#ifdef STATIND_CLI_PDF
inline constexpr bool kPdfAvailable = true;
#else
inline constexpr bool kPdfAvailable = false;
#endif
#if defined(STATIND_CLI_PDF) || defined(STATIND_SHEET_PROGRAM)
inline constexpr bool kPdfOffered = true;
#else
inline constexpr bool kPdfOffered = false;
#endif

struct CommonOptions {
  std::string ini;              // "" = the program's own configuration-file search
  std::string format = "text";  // text | json | csv | pdf
  std::string output;           // "" = standard output; a file is written whole or not at all
  std::string argv0;
  std::string programFolder;  // the sheet program: the folder of the statind-cli that started it
};

struct ReportOptions {
  std::string product;
  int year = 0;                     // 0 = the last year of the product's history
  int month = 0;                    // 0 = year view
  std::string startRule = "first";  // first | previous
  std::string chartOptions;         // the sheet's chart boxes; "" = as the window last saved them
};

struct CompareOptions {
  std::string product;
  int from = 0, to = 0;             // in either order
  int month = 0;                    // 0 = all months
  std::string startRule = "first";  // first | previous
  std::string chart = "line";       // line | bars
  std::string chartOptions;         // the sheet's chart boxes; "" = as the window last saved them
};

// statind-cli risk and returns: the risk figures and the monthly returns map.
struct RiskOptions {
  std::string product;
  int year = 0;                     // the shown year; 0 = the last year of the history
  double holdingYears = 5;          // recommended holding period of the risk class
  std::string startRule = "first";  // of the monthly changes: first | previous
};

int runInfo(const CommonOptions& common);
int runValue(const CommonOptions& common, const std::string& product, const std::string& date);
int runReport(const CommonOptions& common, const ReportOptions& options);
int runCompare(const CommonOptions& common, const CompareOptions& options);
// Refuses a folder that exists and is not empty unless `force` is set.
int runMakeDemo(const std::string& folder, bool force);
int runRisk(const CommonOptions& common, const RiskOptions& options);
int runReturns(const CommonOptions& common, const RiskOptions& options);
// index-copy: the configured installation's index file to a server (--to URI), or a server's
// records into that file (--from URI); exactly one of the two is set.
struct IndexCopyOptions {
  std::string to;
  std::string from;
  bool replace = false;  // replace the records the target already holds
};
int runIndexCopy(const CommonOptions& common, const IndexCopyOptions& options);
// import-index: a price file into the configured index database.
struct ImportIndexOptions {
  std::string file;                   // "-" = standard input
  std::vector<std::string> products;  // one per value column
  std::vector<std::string> columns;   // DATE,VALUE (PRODUCT,DATE,VALUE with --long)
  bool longForm = false;
  std::string separator;   // ";", ",", "tab"; "" = detected
  std::string dateFormat;  // "dd/mm/yyyy"...; "" = detected
  std::string decimal;     // "," or "."; "" = detected
  bool skipBad = false, overwrite = false, dryRun = false;
  std::string create;  // description of a product to add; "" = none
  std::string currency, group, category;
};
int runImportIndex(const CommonOptions& common, const ImportIndexOptions& options);

// statind-cli versus: products side by side.
struct VersusOptions {
  std::string products;   // "A,B[,C...]": 2 to 8 codes
  std::string benchmark;  // one of them; "" for none
  std::string from, to;   // dd/mm/yyyy; "" = where the shared history starts or ends
  std::string period;     // ytd | 1a | 3a | 5a | 10a | max; "" = the dates (or max)
};
int runVersus(const CommonOptions& common, const VersusOptions& options);

// jet-copy: a Jet file's user tables into a new SQLite file (a file already there and not empty
// only with `replace`; never over a Jet file).
struct JetCopyOptions {
  std::string from;
  std::string to;
  bool replace = false;
};
int runJetCopy(const JetCopyOptions& options);

}  // namespace cli
