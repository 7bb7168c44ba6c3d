#include "platform/ui/QtDesktop.h"

#include <QtGui/qguiapplication_platform.h>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QUrl>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/FileSystem.h"
#include "platform/Processes.h"

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

constexpr int kShellOk = 42;  // any result above 32 means success
constexpr int kFileNotFound = 2;
constexpr int kFolderNotFound = 3;
constexpr int kBadFormat = 11;
constexpr int kNoAssociation = 31;

// The suite's texts break lines with carriage returns alone.
QString displayText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

bool isAddress(const QString& target) {
  return target.contains(QStringLiteral("://")) ||
         target.startsWith(QStringLiteral("mailto:"), Qt::CaseInsensitive) ||
         target.startsWith(QStringLiteral("www."), Qt::CaseInsensitive);
}

// A program is a native executable or a script; a document marked executable (common on
// shares copied from Windows) goes to its handler instead.
bool isProgram(const QFileInfo& info) {
  if (!info.isFile() || !info.isExecutable()) return false;
  QFile file(info.absoluteFilePath());
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray head = file.read(4);
  return head.startsWith(
             "\x7f"
             "ELF") ||
         head.startsWith("#!");
}

template <typename T>
using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t internAtom(xcb_connection_t* connection, const char* name) {
  XcbReply<xcb_intern_atom_reply_t> reply(
      xcb_intern_atom_reply(
          connection,
          xcb_intern_atom(connection, 1, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
      &std::free);
  return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// Asks the window manager to activate the first managed window of `processId`.
void activateX11Window(long long processId) {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection) return;
  const xcb_atom_t clientList = internAtom(connection, "_NET_CLIENT_LIST");
  const xcb_atom_t wmPid = internAtom(connection, "_NET_WM_PID");
  const xcb_atom_t activeWindow = internAtom(connection, "_NET_ACTIVE_WINDOW");
  if (clientList == XCB_ATOM_NONE || wmPid == XCB_ATOM_NONE || activeWindow == XCB_ATOM_NONE)
    return;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
  XcbReply<xcb_get_property_reply_t> clients(
      xcb_get_property_reply(
          connection, xcb_get_property(connection, 0, root, clientList, XCB_ATOM_WINDOW, 0, 4096),
          nullptr),
      &std::free);
  if (!clients) return;
  const auto* windows = static_cast<const xcb_window_t*>(xcb_get_property_value(clients.get()));
  const int count = xcb_get_property_value_length(clients.get()) / 4;
  for (int i = 0; i < count; ++i) {
    XcbReply<xcb_get_property_reply_t> pid(
        xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, windows[i], wmPid, XCB_ATOM_CARDINAL, 0, 1),
            nullptr),
        &std::free);
    if (!pid || xcb_get_property_value_length(pid.get()) < 4 ||
        *static_cast<const uint32_t*>(xcb_get_property_value(pid.get())) != processId)
      continue;
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = windows[i];
    event.type = activeWindow;
    event.data.data32[0] = 2;  // the request comes from a pager-like tool, not the window itself
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
    return;
  }
}

}  // namespace

Answer QtDesktop::messageBox(const Message& message) {
  QMessageBox box(toQt(message.icon),
                  message.title.empty() ? QApplication::applicationName()
                                        : QString::fromStdString(message.title),
                  displayText(message.text), QMessageBox::NoButton, QApplication::activeWindow());
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

void QtDesktop::processEvents() {
  QApplication::processEvents();
}

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

StartedProgram QtDesktop::startProgram(const std::string& program,
                                       const std::vector<std::string>& arguments) {
  QStringList list;
  for (const std::string& argument : arguments) list << QString::fromStdString(argument);
  QProcess process;
  process.setProgram(QString::fromStdString(resolvePath(program)));
  process.setArguments(list);
  qint64 pid = 0;
  if (!process.startDetached(&pid) || pid <= 0) return {0, "impossibile avviare " + program};
  return {pid, {}};
}

int QtDesktop::shellOpen(const std::string& target, const std::string& parameters,
                         const std::string& folder) {
  const QString text = QString::fromStdString(target).trimmed();
  if (text.isEmpty()) return kFileNotFound;
  if (isAddress(text)) {
    const QUrl url = text.startsWith(QStringLiteral("www."), Qt::CaseInsensitive)
                         ? QUrl(QStringLiteral("http://") + text)
                         : QUrl(text);
    return QDesktopServices::openUrl(url) ? kShellOk : kNoAssociation;
  }
  const QFileInfo info(QString::fromStdString(resolvePath(target)));
  if (!info.exists())
    return QFileInfo(info.absolutePath()).isDir() ? kFileNotFound : kFolderNotFound;
  if (isProgram(info)) {
    QString workFolder = info.absolutePath();
    if (!folder.empty()) {
      workFolder = QString::fromStdString(resolvePath(folder));
      if (!QFileInfo(workFolder).isDir()) return kFolderNotFound;
    }
    QStringList arguments;
    if (!parameters.empty()) arguments << QString::fromStdString(parameters);
    return QProcess::startDetached(info.absoluteFilePath(), arguments, workFolder) ? kShellOk
                                                                                   : kBadFormat;
  }
  return QDesktopServices::openUrl(QUrl::fromLocalFile(info.absoluteFilePath())) ? kShellOk
                                                                                 : kNoAssociation;
}

bool QtDesktop::activateProcess(long long processId) {
  if (!processAlive(processId)) return false;
  if (QGuiApplication::platformName() == QStringLiteral("xcb")) activateX11Window(processId);
  return true;
}

bool QtDesktop::captureScreen(int which) {
  QPixmap picture;
  if (which == 1) {
    QWidget* window = QApplication::activeModalWidget();
    if (!window) window = QApplication::activeWindow();
    if (!window) return false;
    const QRect frame = window->frameGeometry();
    if (QScreen* screen = window->screen())
      picture = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    if (picture.isNull()) picture = window->grab();
  } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
    picture = screen->grabWindow(0);
  }
  if (picture.isNull()) return false;
  QApplication::clipboard()->setPixmap(picture);
  return true;
}

}  // namespace platform::ui
