// The Desktop of the real program: Qt message boxes, the application's override cursor,
// QSettings for the per-user settings, QNetworkAccessManager for the web.
#pragma once

#include "platform/Desktop.h"

namespace platform::ui {

class QtDesktop : public Desktop {
 public:
  Answer messageBox(const Message& message) override;
  void setWaitCursor(bool on) override;
  void processEvents() override;
  void writeUserSettings(const std::string& application, const std::string& section,
                         const std::vector<std::pair<std::string, std::string>>& values) override;
  // Waits in a local event loop that repaints but takes no user input, under the busy pointer.
  // A host that cannot be found or reached gives "INTERNET non connesso"; an HTTP error status
  // comes with its reason phrase as `error`.
  HttpReply httpGet(const std::string& url, int timeoutMs) override;
  // Writes into a temporary file beside `path`, renamed to `path` only once the whole body of
  // a successful (2xx) answer is there.
  std::string downloadFile(const std::string& url, const std::string& path, int timeoutMs) override;
};

}  // namespace platform::ui
