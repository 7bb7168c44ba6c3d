// The suite's protocol for reaching another suite program (a "procedure"): the configuration
// file records, per procedure, the process number of its running instance (HANDLE) and the
// company it works on (DITTA), and APPLICATIVI may name its program file. An object asks for
// one procedure on behalf of a calling one: it brings the running instance to the front when
// it works on the caller's company, otherwise it starts the program (or opens the address)
// and records the new process number. Member names are the suite's, so that the other suite
// programs' developers recognise the protocol.
#pragma once

#include <string>

#include "platform/Desktop.h"
#include "platform/Environment.h"
#include "startup/AppParams.h"

namespace startup {

class ModuliOpzionali {
 public:
  // Reads and writes params.ownIniPath; starts and activates through `desktop`.
  ModuliOpzionali(const platform::Environment& env, const AppParams& params,
                  platform::Desktop& desktop);

  // The called procedure: "NAME" or "NAME|parameters" (the parameters go on the command line
  // when the procedure is started).
  void nomeProceduraChiamata(const std::string& name);
  void nomeProceduraChiamante(const std::string& name);
  // Sets the company code to the operator code; the value given is not used.
  void codiceDitta(const std::string& ignored);
  const std::string& codiceDitta() const { return companyCode_; }
  const std::string& numeroHandleString() const { return handleText_; }

  // Company code = DITTA of the called procedure.
  void leggiCodiceSocieta();
  // DITTA of the called procedure = company code.
  void scriviCodiceSocieta();
  // HANDLE of the called procedure = "".
  void pulisciHandle();
  // HANDLE of the called procedure = this process's number.
  void scriviHandle();
  // Handle text = HANDLE of the called procedure.
  void leggiHandle();

  // With a recorded HANDLE and equal DITTA of caller and called procedure: activates the
  // recorded process and stops (a process that is gone, or that runs another program because
  // its number was reused, is silently not activated). Otherwise lanciaProcedura(programFile()).
  void attivaProcedura();

  // Starts `program` with the called parameters as its one argument, or, when it begins with
  // "WWW.", "HTTP" or "MAIL" (any case), opens it as an address with the desktop's handler;
  // records the process number (or the handler's result) in HANDLE. A program that cannot be
  // started shows program + "  NON TROVATO", except the reminder program LUDRAM.EXE.
  void lanciaProcedura(const std::string& program);

  // The called procedure's program file: its APPLICATIVI entry, or the program folder's
  // NAME.exe when the entry is empty.
  std::string programFile() const;

  // Activates the process number read by leggiHandle when it runs programFile(). False when
  // the text is not a process number, the process is gone or runs something else, or the
  // desktop could not activate it.
  bool attivaProcessoRegistrato();

 private:
  // Writes to the configuration file only when it exists: the protocol never creates it.
  void writeKey(const std::string& section, const std::string& key, const std::string& value);

  const platform::Environment& env_;
  const AppParams& params_;
  platform::Desktop& desktop_;
  std::string called_;
  std::string parameters_;
  std::string caller_;
  std::string companyCode_;
  std::string calledCompanyCode_;
  std::string handleText_;
  long long handle_ = 0;
};

}  // namespace startup
