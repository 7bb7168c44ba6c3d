#include "update/DownloadUrl.h"

#include "platform/Strings.h"

namespace update {

void openDownloadUrl(platform::Desktop& desktop, const std::string& address) {
  const std::string trimmed = platform::trim(address);
  if (trimmed.empty()) return;
  if (trimmed.starts_with("http://") || trimmed.starts_with("https://")) {
    desktop.shellOpen(trimmed, "", "");
    return;
  }
  desktop.messageBox({"indirizzo errato", "", platform::Buttons::Ok, platform::Icon::None});
}

}  // namespace update
