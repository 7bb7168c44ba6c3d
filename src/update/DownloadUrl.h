// Opening the page of a published update in the desktop's browser.
#pragma once

#include <string>

#include "platform/Desktop.h"

namespace update {

// Nothing for an address that is empty after trimming; an address starting with "http://" or
// "https://" (exact case) goes to the browser; anything else gives the message
// "indirizzo errato" with an OK button.
void openDownloadUrl(platform::Desktop& desktop, const std::string& address);

}  // namespace update
