// The command line the suite starts the program with: up to five "|"-separated fields,
// operator | function code | left | top | product code. Without any "|" the program runs
// stand-alone.
#pragma once

#include <string>

#include "startup/AppParams.h"

namespace startup {

// Fills operatorCode, standAlone, startFunction, windowLeft, windowTop and productCode from
// `commandLine`. Fields are trimmed; fields beyond the fifth are ignored. No "|" at all gives the
// stand-alone operator "XXX" and function 9 (none). A non-numeric function code reads as 0; a
// non-numeric left or top position keeps the value already in `params`, except that a last
// field reads as 0 when it is not numeric. Numbers are rounded half to even and kept in the
// 16-bit range the suite's positions use. An empty operator field is left empty: the caller
// reports it.
void parseCommandLine(const std::string& commandLine, AppParams& params);

}  // namespace startup
