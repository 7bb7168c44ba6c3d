// How the rest of the program reaches another suite program: the calculator and alarm-clock
// keys, and start-up handing control back to the suite when it cannot go on.
#pragma once

#include <string>

#include "platform/Desktop.h"
#include "platform/Environment.h"
#include "startup/AppParams.h"

namespace startup {

// Brings procedure `name` ("NAME" or "NAME|parameters") to the front or starts it on behalf of
// "BASE" (ModuliOpzionali::attivaProcedura), then writes the company code to its DITTA. The
// wait pointer is on meanwhile. Never throws.
void runSuiteProcedure(const platform::Environment& env, const AppParams& params,
                       platform::Desktop& desktop, const std::string& name);

}  // namespace startup
