// Opening a document, folder, address or program with the desktop's default handler, and
// telling the user in Italian why it could not be opened.
#pragma once

#include <string>

#include "platform/Desktop.h"

namespace startup {

// The shell's open action on `file` (a program gets `parameters` as its one argument and runs
// in `folder`). On the failure codes 0, 2, 3, 11 and 31 shows the reason followed by the file,
// the folder and the parameters in a critical box titled "RunFile: Errore di esecuzione"; an
// unexpected error shows "[number]: text" the same way. Returns the shell's result code
// (above 32 on success; 0 after an unexpected error).
int runFile(platform::Desktop& desktop, const std::string& file, const std::string& parameters,
            const std::string& folder);

// The reason shown for a shell result code; "" for success and for codes with no text.
std::string shellErrorText(int code);

}  // namespace startup
