// Qt's own dialogs (file dialog, print dialog and preview, message box buttons) speak Italian,
// as the rest of the program does: Qt's Italian catalogue and the Italian locale, installed
// once at start.
#pragma once

class QCoreApplication;

namespace platform::ui {

// Loads Qt's catalogue "qtbase_it" from Qt's translations folder into `app` and makes Italy's
// locale the default (dates and numbers inside Qt's dialogs). False when the catalogue is not
// installed: the dialogs then keep Qt's English texts, and the program goes on.
bool installItalianQt(QCoreApplication& app);

}  // namespace platform::ui
