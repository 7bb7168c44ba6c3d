// What a script meets: a whole statind-cli process (report as JSON, value, risk figures as JSON)
// from start to exit, next to its floor, the sqlite3 shell opening the index file with the data
// file attached and reading the same records (the product's row, its records over the days the
// command covers, its fixed-value record). The floor writes nothing, while a report also
// rewrites the work table; nor does it open the work and visits databases or read the
// configuration. Runs of the program and of its floor alternate, so that a busy moment of the
// machine falls on both alike; the medians of wall and CPU time (user and system, from the
// kernel's account of the child) are printed.
//
// Two installations: the demo, made in a temporary folder, and one over the large database
// (the folder's IndiciDV.mdb and DatiDV.mdb, linked, with a visits and a work database of its
// own). statind-cli is taken from beside this program, sqlite3 from the PATH.
//
// Usage: ProcessBench DATA_FOLDER [--runs=N] [benchmark options]
//        (or STATIND_BENCH_DATA=DATA_FOLDER); N runs of each, 31 by default, at least 30.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "statind/PeriodStatistics.h"
#include "utilities/DemoInstallation.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using benchsupport::Timing;

// One installation the commands run on.
struct Installation {
  std::string name, ini, dataPath, indexPath;
};

// One command of statind-cli and the shell's reading of the same records.
struct Case {
  std::string name;
  std::vector<std::string> program, floor;
};

// Runs `argv` with its output thrown away and returns its wall and CPU milliseconds. Throws when
// it cannot be started or does not end with status 0.
Timing spawnOnce(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start " + argv[0] + ": " + strerror(spawned));
  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  const auto stop = std::chrono::steady_clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error(argv[0] + " " + argv[1] + " failed");
  const auto millis = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return {std::chrono::duration<double, std::milli>(stop - start).count(),
          millis(usage.ru_utime) + millis(usage.ru_stime)};
}

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

// The shell on the index file with the data file attached, reading `reads` after the product row.
std::vector<std::string> shell(const Installation& at, const std::string& code,
                               const std::string& reads) {
  const std::string sql = "ATTACH " + quoted(at.dataPath) +
                          " AS d; SELECT Codice, Descrizione, Moneta, NoIndici, Categoria FROM "
                          "d.TabProdotti WHERE Codice = " +
                          quoted(code) + "; " + reads +
                          " SELECT IndValoreMon FROM Indici WHERE IndProdotto = " + quoted(code) +
                          " AND IndData = '2199-12-31';";
  return {"sqlite3", "-readonly", at.indexPath, sql};
}

std::vector<Case> casesFor(const Installation& at, const std::string& cli,
                           const std::string& code) {
  auto data = platform::Database::open(at.dataPath);
  auto index = platform::Database::open(at.indexPath);
  auto cursor = index->openTable("Indici");
  cursor->setIndex("primaria");
  indexdata::IndexLookup lookup(*data, *cursor, "#,###,###,##0.00");
  const auto range = statind::productRange(lookup, code, platform::today());
  if (!range) throw std::runtime_error("no index data for " + code + " in " + at.name);
  const std::string where = "FROM Indici WHERE IndProdotto = " + quoted(code);
  const std::string yearFrom = platform::isoDate(platform::dayNumber(range->lastYear - 2, 1, 1));
  const std::string yearTo = platform::isoDate(platform::dayNumber(range->lastYear, 12, 31));
  const std::string day = platform::isoDate(range->lastIndexDate - 10);
  const std::vector<std::string> common = {cli, "--ini", at.ini, "--product", code};
  const auto with = [&](std::vector<std::string> tail) {
    std::vector<std::string> argv = common;
    argv.insert(argv.begin() + 1, tail.front());
    argv.insert(argv.end(), tail.begin() + 1, tail.end());
    return argv;
  };
  return {{at.name + ": report, year view as JSON", with({"report", "--format", "json"}),
           shell(at, code,
                 "SELECT IndData, IndValoreMon " + where + " AND IndData BETWEEN '" + yearFrom +
                     "' AND '" + yearTo + "' ORDER BY IndData;")},
          {at.name + ": value",
           with({"value", "--date", platform::formatDate(range->lastIndexDate - 10)}),
           shell(at, code,
                 "SELECT IndData, IndValoreMon " + where + " AND IndData <= '" + day +
                     "' ORDER BY IndData DESC LIMIT 1;")},
          {at.name + ": risk figures as JSON", with({"risk", "--format", "json"}),
           shell(at, code, "SELECT IndData, IndValoreMon " + where + " ORDER BY IndData;")}};
}

// A folder of its own for the installations, removed at the end.
class Scratch {
 public:
  Scratch() : folder_(fs::temp_directory_path() / ("statind-process-" + std::to_string(getpid()))) {
    fs::create_directories(folder_);
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  const fs::path& folder() const { return folder_; }

 private:
  fs::path folder_;
};

Installation demo(const fs::path& folder) {
  utilities::DemoParams params;
  params.folder = (folder / "demo").string();
  params.today = platform::today();
  const auto made = utilities::DemoInstallation::make(params);
  const fs::path base = made.baseFolder;
  return {"demo", made.iniPath, (base / "DEMO" / "DatiDV.mdb").string(),
          (base / "IndiciDV.mdb").string()};
}

// The large database's files, linked into an installation of operator BENCH.
Installation large(const fs::path& folder, const fs::path& data) {
  const fs::path base = folder / "large" / "base", work = folder / "large" / "work";
  fs::create_directories(base / "BENCH");
  fs::create_directories(work / "BENCH");
  fs::create_symlink(fs::absolute(data / "IndiciDV.mdb"), base / "IndiciDV.mdb");
  fs::create_symlink(fs::absolute(data / "DatiDV.mdb"), base / "BENCH" / "DatiDV.mdb");
  utilities::createVisitsDb((base / "BENCH" / "VisiteDV.mdb").string());
  utilities::createWorkDb((work / "BENCH" / "WorkDV.mdb").string());
  const fs::path ini = folder / "large" / "statind.ini";
  std::ofstream(ini) << "[BASE]\nOPERATORE=BENCH\n[PATH]\nFILE=" << base.string()
                     << "\nWORK=" << work.string() << "\nSAVE=" << (folder / "large/save").string()
                     << "\nTEMP=" << (folder / "large/temp").string() << "\n";
  return {"large database", ini.string(), (base / "BENCH" / "DatiDV.mdb").string(),
          (base / "IndiciDV.mdb").string()};
}

std::vector<Case> cases;

void BM_Process(benchmark::State& state) {
  const Case& c = cases[static_cast<std::size_t>(state.range(0))];
  const auto& argv = state.range(1) ? c.floor : c.program;
  for (auto _ : state) state.SetIterationTime(spawnOnce(argv).wall / 1e3);
  state.SetLabel(c.name + (state.range(1) ? " (floor)" : ""));
}

// Takes --runs=N out of argv.
int takeRuns(int& argc, char** argv) {
  int runs = 31;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--runs=", 7) != 0) continue;
    runs = std::atoi(argv[i] + 7);
    for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
    --argc;
    break;
  }
  if (runs < 30) throw benchsupport::UsageError("--runs must be at least 30");
  return runs;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    const auto data = benchsupport::takeDataFolder("ProcessBench", argc, argv);
    const int runs = takeRuns(argc, argv);
    const std::string cli =
        (fs::canonical("/proc/self/exe").parent_path() / "statind-cli").string();
    const Scratch scratch;
    for (const Installation& at : {demo(scratch.folder()), large(scratch.folder(), data)}) {
      // The demo's first fund; the large database's first product, all of whose histories
      // cover its 25 years.
      std::string code = "AZ001";
      if (at.name != "demo")
        code = platform::valueText(platform::Database::open(at.dataPath)
                                       ->snapshot("SELECT min(Codice) FROM TabProdotti")
                                       .at(0)
                                       .at(0));
      const auto more = casesFor(at, cli, code);
      cases.insert(cases.end(), more.begin(), more.end());
    }
    // Each command once first: the first start links the suite's tables into the work database.
    for (const Case& c : cases) spawnOnce(c.program);
    for (std::size_t i = 0; i < cases.size(); ++i)
      for (int floor = 0; floor < 2; ++floor)
        benchmark::RegisterBenchmark("BM_Process", BM_Process)
            ->Args({static_cast<long>(i), floor})
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
    benchsupport::runBenchmarks(argc, argv);

    std::vector<std::vector<double>> walls(cases.size() * 2), cpus(cases.size() * 2);
    for (int round = 0; round < runs; ++round)
      for (std::size_t i = 0; i < cases.size(); ++i)
        for (int floor = 0; floor < 2; ++floor) {
          const Timing t = spawnOnce(floor ? cases[i].floor : cases[i].program);
          walls[i * 2 + floor].push_back(t.wall);
          cpus[i * 2 + floor].push_back(t.cpu);
        }
    for (std::size_t i = 0; i < cases.size(); ++i) {
      const Timing run{benchsupport::median(walls[i * 2]), benchsupport::median(cpus[i * 2])};
      const Timing floor{benchsupport::median(walls[i * 2 + 1]),
                         benchsupport::median(cpus[i * 2 + 1])};
      benchsupport::printRatio(
          cases[i].name + ", whole process (median of " + std::to_string(runs) + ")", run, floor);
    }
    return 0;
  } catch (const std::exception& e) {
    return benchsupport::failed("ProcessBench", e);
  }
}
