#include "utilities/ScreenCapture.h"

#include <cctype>

namespace utilities {

void captureScreen(platform::Desktop& desktop, int which) {
  desktop.captureScreen(which);
  desktop.processEvents();
}

void captureAndMail(platform::Desktop& desktop, int which) {
  captureScreen(desktop, which);
  desktop.shellOpen(std::string("mailto:") + kSupportMailAddress, "", "");
}

void openFolderFind(platform::Desktop& desktop, const std::string& folder) {
  desktop.shellOpen(folder, "", "");
}

std::string driveRoot(const std::string& folder) {
  if (folder.size() >= 3 && std::isalpha(static_cast<unsigned char>(folder[0])) &&
      folder[1] == ':' && (folder[2] == '\\' || folder[2] == '/'))
    return folder.substr(0, 3);
  return "/";
}

}  // namespace utilities
