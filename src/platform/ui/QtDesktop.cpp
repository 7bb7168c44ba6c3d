#include "platform/ui/QtDesktop.h"

#include <QtGui/qguiapplication_platform.h>
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPixmap>
#include <QProcess>
#include <QSaveFile>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>

#include "platform/FileSystem.h"
#include "platform/Processes.h"
#include "platform/ReplyBody.h"

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

// The busy pointer for one network wait, on top of any pointer already set.
class BusyPointer {
 public:
  BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyPointer() { QApplication::restoreOverrideCursor(); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
};

QNetworkRequest uncachedRequest(const std::string& url) {
  QNetworkRequest request(QUrl(QString::fromStdString(url)));
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  return request;
}

// Runs a local event loop until `reply` finishes or `timeoutMs` passes (then the reply is
// aborted). Windows keep painting; user input waits, so that no handler runs twice meanwhile.
// True when the reply finished in time.
bool waitFor(QNetworkReply& reply, int timeoutMs) {
  if (reply.isFinished()) return true;
  QEventLoop loop;
  QTimer bound;
  bound.setSingleShot(true);
  QObject::connect(&reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
  QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
  bound.start(timeoutMs);
  loop.exec(QEventLoop::ExcludeUserInputEvents);
  if (reply.isFinished()) return true;
  reply.abort();
  return false;
}

int statusOf(const QNetworkReply& reply) {
  return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

std::string noAnswerReason(const QNetworkReply& reply) {
  switch (reply.error()) {
    case QNetworkReply::HostNotFoundError:
    case QNetworkReply::UnknownNetworkError:
      return "INTERNET non connesso";
    case QNetworkReply::SslHandshakeFailedError:
      return "certificato del sito non valido: " + reply.errorString().toStdString();
    default:
      return reply.errorString().toStdString();
  }
}

// Small pieces: the body is judged as it arrives instead of piling up in the reply's buffer.
constexpr qint64 kPieceBytes = 64 * 1024;

// Hands `reply`'s body to `body` as it arrives, and each piece taken to `onPiece`; stops the
// reply as soon as the announced or received length passes the body's bound.
void feed(QNetworkReply& reply, ReplyBody& body,
          const std::function<void(const QByteArray&)>& onPiece) {
  reply.setReadBufferSize(kPieceBytes);
  const auto take = [&reply, &body, onPiece] {
    if (body.overflowed() || !reply.isOpen()) return;  // already stopped
    const QByteArray piece = reply.readAll();
    if (!body.add(std::string_view(piece.constData(), static_cast<std::size_t>(piece.size())))) {
      reply.abort();
      return;
    }
    if (onPiece) onPiece(piece);
  };
  QObject::connect(&reply, &QNetworkReply::metaDataChanged, &reply, [&reply, &body] {
    const QVariant length = reply.header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && !body.overflowed() && !body.announce(length.toLongLong()))
      reply.abort();
  });
  QObject::connect(&reply, &QNetworkReply::readyRead, &reply, take);
  QObject::connect(&reply, &QNetworkReply::finished, &reply, take);
}

std::string boundReason(int timeoutMs) {
  return "nessuna risposta completa entro " + std::to_string((timeoutMs + 999) / 1000) + " secondi";
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

HttpReply QtDesktop::httpGet(const std::string& url, int timeoutMs, std::uint64_t maxBytes) {
  BusyPointer busy;
  ReplyBody body(maxBytes, true);  // outlives the reply that feeds it
  QNetworkAccessManager network;
  std::unique_ptr<QNetworkReply> reply(network.get(uncachedRequest(url)));
  feed(*reply, body, {});
  if (!waitFor(*reply, timeoutMs)) return {0, {}, boundReason(timeoutMs)};
  if (body.overflowed()) return {0, {}, body.overflowReason()};
  HttpReply answer;
  answer.status = statusOf(*reply);
  answer.body = body.text();
  if (answer.status == 0)
    answer.error = noAnswerReason(*reply);
  else if (answer.status < 200 || answer.status > 299)
    answer.error =
        reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().toStdString();
  return answer;
}

std::string QtDesktop::downloadFile(const std::string& url, const std::string& path, int timeoutMs,
                                    const DownloadRules& rules) {
  BusyPointer busy;
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) return file.errorString().toStdString();
  ReplyBody body(rules.maxBytes, false);
  QNetworkAccessManager network;
  std::unique_ptr<QNetworkReply> reply(network.get(uncachedRequest(url)));
  feed(*reply, body, [&file](const QByteArray& piece) { file.write(piece); });
  // Whatever goes wrong, the temporary file is dropped and `path` is left as it was.
  if (!waitFor(*reply, timeoutMs)) return boundReason(timeoutMs);
  if (body.overflowed()) return body.overflowReason();
  const int status = statusOf(*reply);
  if (status == 0) return noAnswerReason(*reply);
  if (status < 200 || status > 299) return "risposta HTTP " + std::to_string(status);
  if (reply->error() != QNetworkReply::NoError) return reply->errorString().toStdString();
  if (rules.judge) {
    const std::string refusal = rules.judge(body.head());
    if (!refusal.empty()) return refusal;
  }
  if (!file.commit()) return file.errorString().toStdString();
  return {};
}

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
  // The program speaks Italian; Qt's own button texts would be English.
  const std::pair<QMessageBox::StandardButton, const char*> texts[] = {
      {QMessageBox::Yes, "&Sì"},
      {QMessageBox::No, "&No"},
      {QMessageBox::Retry, "&Riprova"},
      {QMessageBox::Cancel, "&Annulla"}};
  for (const auto& [button, text] : texts)
    if (QAbstractButton* shown = box.button(button)) shown->setText(QString::fromUtf8(text));
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
