// The system's reasons for a failed file operation, said in Italian for the program's messages
// (the system's own texts follow its locale, usually English).
#pragma once

#include <string>

namespace platform {

// The reason behind the error number `error` (errno) of a file operation, in lower case:
// "non esiste", "accesso negato", "collegamenti simbolici in ciclo"...; the system's own text
// for a number without an Italian one.
std::string fileErrorText(int error);

}  // namespace platform
