#include "startup/SuiteProcedure.h"

#include "startup/ModuliOpzionali.h"

namespace startup {

void runSuiteProcedure(const platform::Environment& env, const AppParams& params,
                       platform::Desktop& desktop, const std::string& name) {
  desktop.setWaitCursor(true);
  try {
    ModuliOpzionali procedure(env, params, desktop);
    procedure.nomeProceduraChiamata(name);
    procedure.nomeProceduraChiamante("BASE");
    procedure.attivaProcedura();
    procedure.scriviCodiceSocieta();
  } catch (...) {
    // Another program that cannot be reached leaves this one as it was.
  }
  desktop.setWaitCursor(false);
}

}  // namespace startup
