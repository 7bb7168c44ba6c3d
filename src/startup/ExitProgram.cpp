#include "startup/ExitProgram.h"

#include <ctime>
#include <string>

#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/Version.h"
#include "startup/ModuliOpzionali.h"

namespace startup {

namespace {

// Catches everything: on the way out a failing step must not keep the others from running.
template <typename Step>
void attempt(Step&& step) {
  try {
    step();
  } catch (...) {
  }
}

std::string placementText(const WindowPlacement& p) {
  if (p.maximised) return "M";
  return std::to_string(p.left) + "|" + std::to_string(p.top) + "|" + std::to_string(p.width) +
         "|" + std::to_string(p.height) + "|";
}

std::string nowText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%d/%m/%Y %H:%M:%S", &local);
  return text;
}

}  // namespace

void exitProgram(const platform::Environment& env, AppParams& params, Databases& dbs,
                 utilities::ReportEngine& reports, platform::Desktop& desktop,
                 const std::optional<WindowPlacement>& placement) {
  const std::string program = platform::upperCase(env.programFileName);
  if (placement && (program == "VELTAR" || program == "VELTARF")) {
    attempt([&] {
      platform::writeIni(params.ownIniPath, "PARAMETRI", "StartUp", placementText(*placement));
    });
  }
  attempt([&] {
    ModuliOpzionali reminder(env, params, desktop);
    reminder.nomeProceduraChiamata("LUDRAM");
    reminder.leggiHandle();
    if (!platform::trim(reminder.numeroHandleString()).empty() &&
        reminder.attivaProcessoRegistrato())
      desktop.messageBox(
          {"RADODODIZU ANCORA ATTIVO", "", platform::Buttons::Ok, platform::Icon::None});
  });
  attempt([&] { reports.close(); });
  attempt([&] { closeDatabases(dbs, desktop); });
  attempt([&] {
    const std::string version = std::to_string(platform::kVersionMajor) + "." +
                                std::to_string(platform::kVersionMinor) + "." +
                                std::to_string(platform::kVersionRevision);
    desktop.writeUserSettings(
        env.programFileName, "Setting",
        {{"ExePath", env.programFolder}, {"ExeRun", nowText()}, {"ExeVersion", version}});
  });
}

}  // namespace startup
