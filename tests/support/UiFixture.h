// The window tests' world: a small installation of the suite in a temporary folder (INI, the
// four databases, products and index values chosen by the test) and a program started on it
// the real way (initialise, main window shown, loading). Message boxes go to a ScriptedDesktop
// and the exit routine is only counted, so a test drives the windows as a user would and then
// looks at what happened.
#pragma once

#include <SQLiteCpp/SQLiteCpp.h>
#include <SQLiteCpp/VariadicBind.h>

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QToolButton>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "TempFolder.h"  // beside this file: the ui tests have no tests/ include path
#include "indexdata/IndexLookup.h"
#include "platform/Environment.h"
#include "platform/Format.h"
#include "platform/Profile.h"
#include "platform/ScriptedDesktop.h"
#include "startup/AppParams.h"
#include "startup/Databases.h"
#include "startup/Startup.h"
#include "startup/ui/AppContext.h"
#include "startup/ui/Startup.h"
#include "utilities/ReportEngine.h"
#include "utilities/Schema.h"

namespace testsupport {

// Operator OPER's installation: DIR/statind.ini, DIR/base/OPER/{DatiDV,VisiteDV}.mdb,
// DIR/base/IndiciDV.mdb, DIR/work/OPER/WorkDV.mdb.
class UiInstallation {
 public:
  UiInstallation() {
    namespace fs = std::filesystem;
    fs::create_directories(folder_.path() / "base" / "OPER");
    fs::create_directories(folder_.path() / "work" / "OPER");
    fs::create_directories(folder_.path() / "windows");
    utilities::createDataDb(dataDb());
    utilities::createVisitsDb(folder_.file("base/OPER/VisiteDV.mdb"));
    utilities::createIndexDb(indexDb());
    utilities::createWorkDb(folder_.file("work/OPER/WorkDV.mdb"));
    setIni("BASE", "OPERATORE", "OPER");
    setIni("PATH", "FILE", folder_.file("base"));
    setIni("PATH", "WORK", folder_.file("work"));
  }

  std::string folder() const { return folder_.path().string(); }
  std::string file(const std::string& name) const { return folder_.file(name); }
  std::string ini() const { return folder_.file("statind.ini"); }
  std::string dataDb() const { return folder_.file("base/OPER/DatiDV.mdb"); }
  std::string indexDb() const { return folder_.file("base/IndiciDV.mdb"); }

  void setIni(const std::string& section, const std::string& key, const std::string& value) {
    platform::writeIni(ini(), section, key, value);
  }
  std::string readIni(const std::string& section, const std::string& key) const {
    return platform::readIni(ini(), section, key);
  }

  void addGroup(const std::string& code, const std::string& description) {
    insert("INSERT INTO TabGruppi VALUES (?, ?)", code, description);
  }
  void addCategory(const std::string& code, const std::string& description,
                   const std::string& type = "F") {
    insert("INSERT INTO TabCategorie VALUES (?, ?, ?)", code, description, type);
  }
  void addProduct(const std::string& code, const std::string& description,
                  const std::string& currency, const std::string& group,
                  const std::string& category, int noIndici = 0) {
    insert(
        "INSERT INTO TabProdotti (Codice, Descrizione, Moneta, Gruppo, Categoria, NoIndici) "
        "VALUES (?, ?, ?, ?, ?, ?)",
        code, description, currency, group, category, noIndici);
  }
  // Index values of `product`, each {ISO date, value}, in one transaction.
  void addIndexValues(const std::string& product,
                      const std::vector<std::pair<std::string, double>>& values) {
    SQLite::Database db(indexDb(), SQLite::OPEN_READWRITE);
    SQLite::Transaction tx(db);
    SQLite::Statement insert(db, "INSERT INTO Indici VALUES (?, ?, ?, ?)");
    for (const auto& [date, value] : values) {
      insert.bind(1, product);
      insert.bind(2, date);
      insert.bind(3, value);
      insert.bind(4, value);
      insert.exec();
      insert.reset();
    }
    tx.commit();
  }
  // One index value of `product` on each business day (Monday to Friday) from `first` to
  // `last`: value(day, n) for the n-th of them, counted from 0.
  void addBusinessDayValues(const std::string& product, platform::DayNumber first,
                            platform::DayNumber last,
                            const std::function<double(platform::DayNumber, int)>& value) {
    std::vector<std::pair<std::string, double>> values;
    for (platform::DayNumber day = first; day <= last; ++day) {
      if (platform::weekday(day) > 5) continue;
      values.push_back({platform::isoDate(day), value(day, static_cast<int>(values.size()))});
    }
    addIndexValues(product, values);
  }

 private:
  template <typename... Values>
  void insert(const char* sql, const Values&... values) {
    SQLite::Database db(dataDb(), SQLite::OPEN_READWRITE);
    SQLite::Statement statement(db, sql);
    SQLite::bind(statement, values...);
    statement.exec();
  }

  TempFolder folder_;
};

// A program started on an installation. Function windows opened by the main window are only
// recorded (in `opened`, with the product code at that moment) unless `opener` is set before
// start(); the exit routine is counted in `exits`.
class UiSession {
 public:
  explicit UiSession(const UiInstallation& installation, const std::string& commandLine = "") {
    env.commandLine = commandLine;
    env.programFolder = installation.folder();
    env.windowsFolder = installation.file("windows") + "/";
    env.userName = "tester";
    env.configFileOverride = installation.ini();
    ctx.exitProgram = [this] { ++exits; };
  }
  ~UiSession() {
    window.reset();
    ctx.lookup.reset();
  }

  // initialise, then the main window shown and its loading. The outcome of the first step
  // that did not reach Ready, or Ready.
  startup::StartOutcome start() {
    const startup::StartOutcome initialised = startup::initialise(env, params, desktop);
    if (initialised != startup::StartOutcome::Ready) return initialised;
    auto record = [this](int code) {
      opened.push_back({code, params.productCode});
      if (opener) opener(code);
    };
    window = std::make_unique<startup::ui::Startup>(ctx, record);
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) return startup::StartOutcome::DatabasesClosed;
    return window->load();
  }

  // The installation's data and index databases opened directly, as start-up opens them, with
  // the index lookup over them: for a test that opens a function window without the main one.
  void openDatabases(const UiInstallation& installation) {
    dbs.dataDb = platform::Database::open(installation.dataDb());
    dbs.indexDb = platform::Database::open(installation.indexDb());
    auto table = dbs.indexDb->openTable("Indici");
    table->setIndex("primaria");
    dbs.indexTable = std::move(table);
    ctx.lookup =
        std::make_unique<indexdata::IndexLookup>(*dbs.dataDb, *dbs.indexTable, params.valueFormat);
  }

  // Every message box shown so far, "title: text", one per line (for failure reports).
  std::string messages() const {
    std::string all;
    for (const auto& message : desktop.shown) all += message.title + ": " + message.text + "\n";
    return all;
  }

  struct Opened {
    int code;
    std::string productCode;
  };

  platform::Environment env;
  platform::ScriptedDesktop desktop;
  startup::AppParams params;
  startup::Databases dbs;
  utilities::ReportEngine reports;
  startup::ui::AppContext ctx{env, params, dbs, reports, desktop, nullptr, {}};
  std::function<void(int)> opener;
  std::vector<Opened> opened;
  int exits = 0;
  std::unique_ptr<startup::ui::Startup> window;
};

// The control of type T named `name` inside `window`; a missing one ends the test program.
template <typename T>
T* child(QWidget* window, const QString& name) {
  T* found = window->findChild<T*>(name);
  if (!found) qFatal("no control %s", qPrintable(name));
  return found;
}

// The text of the label named `name`.
inline QString labelText(QWidget* window, const QString& name) {
  return child<QLabel>(window, name)->text();
}

// Clicks the arrow ("up" or "down") of the stepper named `stepper`.
inline void press(QWidget* window, const QString& stepper, const char* arrow) {
  child<QToolButton>(child<QWidget>(window, stepper), arrow)->click();
}

}  // namespace testsupport
