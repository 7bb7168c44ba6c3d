// The update check as the main menu starts it.
#pragma once

class QWidget;

namespace startup::ui {
struct AppContext;
}

namespace update::ui {

// Tells, in the active window's caption, that the check runs; loads the update dialog for the
// configured site with AgInforma = `inform` and shows it modally (with `inform` false only
// when a new version exists); then gives the caption back. `owner` parents the dialog.
// Returns the dialog's updateStatus.
int checkForUpdates(startup::ui::AppContext& ctx, bool inform, QWidget* owner);

}  // namespace update::ui
