// The suite protocol with real processes: a small program built beside the tests stands in for
// a called procedure, so process numbers, activation and reused numbers are the system's own.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/Processes.h"
#include "platform/Profile.h"
#include "platform/ScriptedDesktop.h"
#include "startup/ExitProgram.h"
#include "startup/RunFile.h"
#include "startup/Startup.h"
#include "startup/SuiteProcedure.h"
#include "support/TempFolder.h"

namespace {

const std::string kFake = STATIND_FAKE_PROCEDURE_PATH;

class SuiteProtocolTest : public ::testing::Test {
 protected:
  SuiteProtocolTest() {
    env.programFolder = temp.path().string();
    env.processId = static_cast<int>(::getpid());
    params.ownIniPath = temp.file("statind.ini");
    set("BASE", "OPERATORE", "OPER");
  }
  ~SuiteProtocolTest() override {
    for (const auto& call : desktop.programsStarted) end(call.processId);
  }
  static void end(long long pid) {
    if (pid <= 0) return;
    ::kill(static_cast<pid_t>(pid), SIGKILL);
    ::waitpid(static_cast<pid_t>(pid), nullptr, 0);
  }
  void set(const std::string& section, const std::string& key, const std::string& value) {
    platform::writeIni(params.ownIniPath, section, key, value);
  }
  std::string get(const std::string& section, const std::string& key) {
    return platform::readIni(params.ownIniPath, section, key);
  }
  void call(const std::string& name) { startup::runSuiteProcedure(env, params, desktop, name); }

  testsupport::TempFolder temp;
  platform::Environment env;
  startup::AppParams params;
  platform::ScriptedDesktop desktop;
};

}  // namespace

TEST_F(SuiteProtocolTest, StartsOnceThenActivatesWhileTheCompanyMatches) {
  set("APPLICATIVI", "Raradazo", kFake);
  call("Raradazo|OPER|1");
  ASSERT_EQ(desktop.programsStarted.size(), 1u);
  const long long first = desktop.programsStarted[0].processId;
  ASSERT_GT(first, 0);
  EXPECT_EQ(desktop.programsStarted[0].arguments, std::vector<std::string>{"OPER|1"});
  EXPECT_EQ(get("Raradazo", "HANDLE"), std::to_string(first));
  EXPECT_EQ(get("Raradazo", "DITTA"), "");
  EXPECT_FALSE(desktop.waitCursor);

  call("Raradazo");  // both DITTA empty: the running one comes to the front
  EXPECT_EQ(desktop.programsStarted.size(), 1u);
  EXPECT_EQ(desktop.activated, std::vector<long long>{first});

  set("BASE", "DITTA", "D2");  // another company: a second instance
  call("Raradazo");
  ASSERT_EQ(desktop.programsStarted.size(), 2u);
  const long long second = desktop.programsStarted[1].processId;
  EXPECT_NE(second, first);
  EXPECT_EQ(get("Raradazo", "HANDLE"), std::to_string(second));
  EXPECT_EQ(get("Raradazo", "DITTA"), "D2");
  EXPECT_TRUE(desktop.shown.empty());
}

TEST_F(SuiteProtocolTest, ARecordedNumberThatIsNotTheProgramActivatesNothing) {
  set("APPLICATIVI", "Zavozaz", kFake);
  // Not a number; this test program (a reused number); a process that has ended.
  const platform::StartedProgram gone = platform::startProcess(kFake, {});
  end(gone.processId);
  for (const std::string& handle :
       {std::string("12ab"), std::to_string(::getpid()), std::to_string(gone.processId)}) {
    set("Zavozaz", "HANDLE", handle);
    call("Zavozaz");
    EXPECT_EQ(get("Zavozaz", "HANDLE"), handle);
  }
  EXPECT_TRUE(desktop.activated.empty());
  EXPECT_TRUE(desktop.programsStarted.empty());
  EXPECT_TRUE(desktop.shown.empty());
}

TEST_F(SuiteProtocolTest, AScriptIsRecognisedByItsCommandLine) {
  const std::string script = temp.file("promemoria.sh");
  testsupport::TempFolder::write(script, "#!/bin/sh\nkill -STOP $$\n");
  std::filesystem::permissions(script, std::filesystem::perms::owner_all);
  set("APPLICATIVI", "LUDRAM", script);
  call("LUDRAM");
  ASSERT_EQ(desktop.programsStarted.size(), 1u);
  ASSERT_GT(desktop.programsStarted[0].processId, 0);
  // exec of the interpreter may lag behind the start: wait until the command line shows it.
  for (int i = 0;
       i < 200 && !platform::processRunsProgram(desktop.programsStarted[0].processId, script); ++i)
    ::usleep(10000);

  startup::Databases dbs;
  utilities::ReportEngine reports;
  startup::exitProgram(env, params, dbs, reports, desktop, std::nullopt);
  ASSERT_EQ(desktop.shown.size(), 1u);
  EXPECT_EQ(desktop.shown[0].text, "RADODODIZU ANCORA ATTIVO");

  end(desktop.programsStarted[0].processId);
  startup::exitProgram(env, params, dbs, reports, desktop, std::nullopt);
  EXPECT_EQ(desktop.shown.size(), 1u);  // the reminder is gone: nothing to say
}

TEST_F(SuiteProtocolTest, MissingProgramsAndAddresses) {
  call("Raradazo");
  ASSERT_EQ(desktop.shown.size(), 1u);
  EXPECT_EQ(desktop.shown[0].text, env.programFolder + "/Raradazo.exe  NON TROVATO");
  EXPECT_EQ(get("Raradazo", "HANDLE"), "");

  call("LUDRAM");  // the reminder program's absence is no news
  EXPECT_EQ(desktop.shown.size(), 1u);

  set("APPLICATIVI", "Sito", "wWw.example.it");
  call("Sito|pagina");
  EXPECT_EQ(desktop.programsStarted.size(), 2u);  // only the two missing programs were tried
  ASSERT_EQ(desktop.shellOpened.size(), 1u);
  EXPECT_EQ(desktop.shellOpened[0].target, "wWw.example.it");
  EXPECT_EQ(desktop.shellOpened[0].parameters, "pagina");
  EXPECT_EQ(get("Sito", "HANDLE"), "42");
}

TEST_F(SuiteProtocolTest, WithoutAConfigurationTheCallerTakesOverAndNoFileIsCreated) {
  std::filesystem::remove(params.ownIniPath);
  params.startFailed = true;
  startup::Databases dbs;
  utilities::ReportEngine reports;
  EXPECT_EQ(startup::load(env, params, dbs, reports, desktop, [](const std::string&) {}),
            startup::StartOutcome::NoConfigFile);
  ASSERT_EQ(desktop.shown.size(), 1u);
  EXPECT_EQ(desktop.shown[0].text, env.programFolder + "/INFOTORVA.exe  NON TROVATO");
  EXPECT_FALSE(std::filesystem::exists(params.ownIniPath));
}

TEST_F(SuiteProtocolTest, RunFileExplainsEachFailure) {
  desktop.shellResult = 42;
  EXPECT_EQ(startup::runFile(desktop, "a.txt", "", ""), 42);
  EXPECT_TRUE(desktop.shown.empty());

  desktop.shellResult = 31;
  EXPECT_EQ(startup::runFile(desktop, " a.xyz ", "", ""), 31);
  ASSERT_EQ(desktop.shown.size(), 1u);
  EXPECT_EQ(desktop.shown[0].title, "RunFile: Errore di esecuzione");
  EXPECT_EQ(desktop.shown[0].icon, platform::Icon::Critical);
  EXPECT_EQ(desktop.shown[0].text,
            "Il sistema in uso non presenta alcuna associazione per questo tipo di file. \r\r"
            "Installare un'applicazione appropriata oppure creare un'associazione. \r"
            "Per creare un'associazione, selezionare il file sottoindicato. Tenendo \r"
            "premuto il tasto Shift, cliccare col pulsante destro del mouse sul file. \r"
            "Selezionare la voce \"Apri con...\" e spuntare la casella \"Utilizza \r"
            "sempre...\". Selezionare l'applicazione appropriata e scegliere [Ok]. \r\r"
            "Percorso: 'a.xyz'\r");

  desktop.shellResult = 3;
  startup::runFile(desktop, "x.exe", "-u", "/tmp/no");
  EXPECT_EQ(desktop.shown.back().text,
            "Impossibile trovare la cartella. \r\rPercorso: 'x.exe'\rCartella: '/tmp/no'\r"
            "Parametri: '-u'");
}
