// statind: the program the suite starts ("OPER|0|left|top|PRODUCT") or a user starts by hand.
// main() only wires the pieces: environment, parameters, databases, desktop and main window.
#include <QApplication>
#include <QScreen>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/ScreenshotHook.h"
#include "platform/Environment.h"
#include "platform/Version.h"
#include "platform/ui/Guard.h"
#include "platform/ui/ItalianQt.h"
#include "platform/ui/QtDesktop.h"
#include "platform/ui/Twips.h"
#include "startup/AppParams.h"
#include "startup/Databases.h"
#include "startup/Startup.h"
#include "startup/ui/AppContext.h"
#include "startup/ui/ProgramExit.h"
#include "startup/ui/Startup.h"
#include "utilities/ReportEngine.h"

namespace {

// The suite passes one argument; a command line typed by hand may come split at its blanks.
std::string commandLine() {
  QStringList arguments = QApplication::arguments();
  if (!arguments.isEmpty()) arguments.removeFirst();
  return arguments.join(QLatin1Char(' ')).toStdString();
}

// `--version` and `--help` answer on the terminal without opening a window. The suite never
// passes them: its command line is one `|`-separated argument.
bool answeredOnTerminal(int argc, char** argv) {
  if (argc != 2) return false;
  if (std::strcmp(argv[1], "--version") == 0) {
    std::printf("statind %s\n", platform::kVersionText);
    return true;
  }
  if (std::strcmp(argv[1], "--help") != 0 && std::strcmp(argv[1], "-h") != 0) return false;
  std::printf(
      "Uso: statind [\"OPERATORE|FUNZIONE|SINISTRA|ALTO|PRODOTTO\"]\n"
      "Statistiche sugli indici di fondi, polizze e classi di quote.\n\n"
      "Senza argomenti il programma parte da solo con il menu completo. La suite lo avvia\n"
      "con una riga di comando separata da '|': FUNZIONE 0 apre le statistiche sugli indici,\n"
      "1 il confronto mensile; SINISTRA e ALTO sono la posizione in twip; PRODOTTO il codice\n"
      "del prodotto da mostrare.\n\n"
      "La configurazione si legge da statind.ini accanto al programma, altrimenti da\n"
      "/etc/statind.ini. Per i comandi senza finestre: statind-cli --help; manuale: man statind.\n"
      "  --version   stampa la versione ed esce\n"
      "  --help      stampa questo aiuto ed esce\n");
  return true;
}

void measureScreen(platform::Environment& env) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const double dpi = platform::ui::logicalDpi();
  env.screenWidthTwips = static_cast<int>(screen->size().width() * 1440.0 / dpi);
  env.screenHeightTwips = static_cast<int>(screen->size().height() * 1440.0 / dpi);
}

}  // namespace

int main(int argc, char** argv) {
  if (answeredOnTerminal(argc, argv)) return 0;
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("statind"));
  QApplication::setOrganizationName(QStringLiteral("statind"));
  platform::ui::installItalianQt(app);

  platform::Environment env = platform::Environment::fromSystem(argv[0], commandLine());
  measureScreen(env);
  platform::ui::QtDesktop desktop;
  startup::AppParams params;
  startup::Databases dbs;
  utilities::ReportEngine reports;
  startup::ui::AppContext ctx{env, params, dbs, reports, desktop, nullptr, {}};

  const startup::StartOutcome started = startup::initialise(env, params, desktop);
  if (started == startup::StartOutcome::MissingParams) return 1;
  if (started != startup::StartOutcome::Ready) {
    // Without a configuration the loading only hands control back to the suite: no window.
    startup::load(env, params, dbs, reports, desktop, [](const std::string&) {});
    return 1;
  }

  startup::ui::Startup window(ctx);
  ctx.exitProgram = [&window, &ctx] { startup::ui::endProgram(window, ctx); };
  window.show();
  QApplication::processEvents();  // the window is up before the loading writes on it
  // A failure the loading does not handle itself is told, and ends the program as a failed start.
  startup::StartOutcome loaded = startup::StartOutcome::DatabasesClosed;
  platform::ui::guarded(&window, desktop, [&window, &loaded] { loaded = window.load(); });
  if (loaded != startup::StartOutcome::Ready) {
    ctx.lookup.reset();
    startup::closeDatabases(dbs, desktop);
    reports.close();
    return 1;
  }
  window.activateWindow();
  if (auto hook = app::ScreenshotHook::fromEnvironment()) hook->schedule(window, ctx);
  return QApplication::exec();
}
