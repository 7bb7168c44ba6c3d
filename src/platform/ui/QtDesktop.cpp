#include "platform/ui/QtDesktop.h"

#include <QApplication>
#include <QMessageBox>
#include <QSettings>

namespace platform::ui {

namespace {

QMessageBox::Icon toQt(Icon icon) {
  switch (icon) {
    case Icon::Critical:
      return QMessageBox::Critical;
    case Icon::Exclamation:
      return QMessageBox::Warning;
    case Icon::Information:
      return QMessageBox::Information;
    case Icon::Question:
      return QMessageBox::Question;
    case Icon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

Answer QtDesktop::messageBox(const Message& message) {
  QMessageBox box(toQt(message.icon),
                  message.title.empty() ? QApplication::applicationName()
                                        : QString::fromStdString(message.title),
                  QString::fromStdString(message.text), QMessageBox::NoButton,
                  QApplication::activeWindow());
  switch (message.buttons) {
    case Buttons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      break;
    case Buttons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case Buttons::RetryCancel:
      box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
      break;
    case Buttons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      break;
    case Buttons::YesNoDefaultNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box.setDefaultButton(QMessageBox::No);
      break;
  }
  // A wait pointer left on would sit over the box; the box is a moment of attention.
  const bool hadWait = QApplication::overrideCursor() != nullptr;
  if (hadWait) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int pressed = box.exec();
  if (hadWait) QApplication::restoreOverrideCursor();
  switch (pressed) {
    case QMessageBox::Cancel:
      return Answer::Cancel;
    case QMessageBox::Retry:
      return Answer::Retry;
    case QMessageBox::Yes:
      return Answer::Yes;
    case QMessageBox::No:
      return Answer::No;
    default:
      return Answer::Ok;
  }
}

void QtDesktop::setWaitCursor(bool on) {
  if (on) {
    if (!QApplication::overrideCursor()) QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
  }
  QApplication::processEvents();
}

void QtDesktop::processEvents() { QApplication::processEvents(); }

void QtDesktop::writeUserSettings(const std::string& application, const std::string& section,
                                  const std::vector<std::pair<std::string, std::string>>& values) {
  QSettings settings(QSettings::UserScope, QStringLiteral("statind"),
                     QString::fromStdString(application));
  settings.beginGroup(QString::fromStdString(section));
  for (const auto& [key, value] : values)
    settings.setValue(QString::fromStdString(key), QString::fromStdString(value));
  settings.endGroup();
  settings.sync();
}

}  // namespace platform::ui
