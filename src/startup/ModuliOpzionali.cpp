#include "startup/ModuliOpzionali.h"

#include <algorithm>
#include <cctype>

#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/Profile.h"
#include "platform/Strings.h"

namespace startup {

namespace {

constexpr std::size_t kMaxProcessDigits = 10;

// A process number written as plain decimal digits; 0 for anything else, so that a damaged
// HANDLE can never name some unrelated process.
long long processNumber(const std::string& text) {
  const std::string digits = platform::trim(text);
  if (digits.empty() || digits.size() > kMaxProcessDigits ||
      !std::all_of(digits.begin(), digits.end(),
                   [](unsigned char c) { return std::isdigit(c) != 0; }))
    return 0;
  return std::stoll(digits);
}

}  // namespace

ModuliOpzionali::ModuliOpzionali(const platform::Environment& env, const AppParams& params,
                                 platform::Desktop& desktop)
    : env_(env), params_(params), desktop_(desktop) {}

void ModuliOpzionali::nomeProceduraChiamata(const std::string& name) {
  const std::size_t bar = name.find('|');
  called_ = name.substr(0, bar);
  parameters_ = bar == std::string::npos ? "" : name.substr(bar + 1);
}

void ModuliOpzionali::nomeProceduraChiamante(const std::string& name) {
  caller_ = name;
}

void ModuliOpzionali::codiceDitta(const std::string&) {
  companyCode_ = params_.operatorCode;
}

void ModuliOpzionali::leggiCodiceSocieta() {
  companyCode_ = platform::readIni(params_.ownIniPath, called_, "DITTA");
}

void ModuliOpzionali::scriviCodiceSocieta() {
  writeKey(called_, "DITTA", companyCode_);
}

void ModuliOpzionali::pulisciHandle() {
  writeKey(called_, "HANDLE", "");
}

void ModuliOpzionali::scriviHandle() {
  writeKey(called_, "HANDLE", std::to_string(env_.processId));
}

void ModuliOpzionali::leggiHandle() {
  handleText_ = platform::readIni(params_.ownIniPath, called_, "HANDLE");
  handle_ = processNumber(handleText_);
}

std::string ModuliOpzionali::programFile() const {
  const std::string entry = platform::readIni(params_.ownIniPath, "APPLICATIVI", called_);
  if (!platform::trim(entry).empty()) return entry;
  return env_.programFolder + "/" + called_ + ".exe";
}

bool ModuliOpzionali::attivaProcessoRegistrato() {
  if (handle_ <= 0 || !platform::processRunsProgram(handle_, programFile())) return false;
  return desktop_.activateProcess(handle_);
}

void ModuliOpzionali::attivaProcedura() {
  const std::string program = programFile();
  leggiHandle();
  if (!platform::trim(handleText_).empty()) {
    companyCode_ = platform::readIni(params_.ownIniPath, caller_, "DITTA");
    calledCompanyCode_ = platform::readIni(params_.ownIniPath, called_, "DITTA");
    if (companyCode_ == calledCompanyCode_) {
      attivaProcessoRegistrato();
      return;
    }
  }
  lanciaProcedura(program);
}

void ModuliOpzionali::lanciaProcedura(const std::string& program) {
  const std::string command = "\"" + program + "\" " + parameters_;
  const std::string head = platform::upperCase(platform::firstChars(program, 4));
  long long handle = 0;
  if (head == "WWW." || head == "HTTP" || head == "MAIL") {
    // The desktop's handler understands the whole address, scheme included.
    handle = desktop_.shellOpen(program, parameters_, "");
  } else {
    std::vector<std::string> arguments;
    if (!parameters_.empty()) arguments.push_back(parameters_);
    handle = desktop_.startProgram(platform::resolvePath(program), arguments).processId;
    if (handle <= 0) {
      if (platform::upperCase(command).find("LUDRAM.EXE") == std::string::npos)
        desktop_.messageBox(
            {program + "  NON TROVATO", "", platform::Buttons::Ok, platform::Icon::None});
      return;
    }
  }
  handle_ = handle;
  handleText_ = std::to_string(handle_);
  writeKey(called_, "HANDLE", handleText_);
}

void ModuliOpzionali::writeKey(const std::string& section, const std::string& key,
                               const std::string& value) {
  if (!platform::fileExists(params_.ownIniPath)) return;
  platform::writeIni(params_.ownIniPath, section, key, value);
}

}  // namespace startup
