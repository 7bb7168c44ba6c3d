// The Desktop of the real program: Qt message boxes, the application's override cursor,
// QSettings for the per-user settings, QNetworkAccessManager for the web, QProcess and the
// desktop's default handlers for other programs and addresses, and the window manager's standard
// hints (_NET_WM_PID, _NET_ACTIVE_WINDOW) to bring another process's window to the front on X11.
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
  // A host that cannot be found or reached gives "INTERNET non connesso", a certificate that
  // does not hold "certificato del sito non valido: ..."; an HTTP error status comes with its
  // reason phrase as `error`. A server announcing a body over the bound is cut off at once.
  HttpReply httpGet(const std::string& url, int timeoutMs, std::uint64_t maxBytes) override;
  // Writes into a temporary file beside `path`, renamed to `path` only once the whole body of
  // a successful (2xx) answer is there and the rules' judge accepts its first bytes.
  std::string downloadFile(const std::string& url, const std::string& path, int timeoutMs,
                           const DownloadRules& rules) override;
  StartedProgram startProgram(const std::string& program,
                              const std::vector<std::string>& arguments) override;
  int shellOpen(const std::string& target, const std::string& parameters,
                const std::string& folder) override;
  // True when the process is alive; on X11 its top-level window, found by _NET_WM_PID, is also
  // asked to the front (a process whose windows carry no such hint is only reported alive).
  bool activateProcess(long long processId) override;
  bool captureScreen(int which) override;
};

}  // namespace platform::ui
