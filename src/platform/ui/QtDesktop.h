// The Desktop of the real program: Qt message boxes, the application's override cursor,
// QSettings for the per-user settings.
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
};

}  // namespace platform::ui
