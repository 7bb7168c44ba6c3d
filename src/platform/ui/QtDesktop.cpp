#include "platform/ui/QtDesktop.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSaveFile>
#include <QSettings>
#include <QTimer>

#include <memory>

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
    default:
      return reply.errorString().toStdString();
  }
}

std::string boundReason(int timeoutMs) {
  return "nessuna risposta completa entro " + std::to_string((timeoutMs + 999) / 1000) + " secondi";
}

}  // namespace

HttpReply QtDesktop::httpGet(const std::string& url, int timeoutMs) {
  BusyPointer busy;
  QNetworkAccessManager network;
  std::unique_ptr<QNetworkReply> reply(network.get(uncachedRequest(url)));
  if (!waitFor(*reply, timeoutMs)) return {0, {}, boundReason(timeoutMs)};
  HttpReply answer;
  answer.status = statusOf(*reply);
  answer.body = reply->readAll().toStdString();
  if (answer.status == 0)
    answer.error = noAnswerReason(*reply);
  else if (answer.status < 200 || answer.status > 299)
    answer.error =
        reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString().toStdString();
  return answer;
}

std::string QtDesktop::downloadFile(const std::string& url, const std::string& path,
                                    int timeoutMs) {
  BusyPointer busy;
  QSaveFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::WriteOnly)) return file.errorString().toStdString();
  QNetworkAccessManager network;
  std::unique_ptr<QNetworkReply> reply(network.get(uncachedRequest(url)));
  QObject::connect(reply.get(), &QNetworkReply::readyRead, reply.get(),
                   [&file, &reply] { file.write(reply->readAll()); });
  // Whatever goes wrong, the temporary file is dropped and `path` is left as it was.
  if (!waitFor(*reply, timeoutMs)) return boundReason(timeoutMs);
  file.write(reply->readAll());
  const int status = statusOf(*reply);
  if (status == 0) return noAnswerReason(*reply);
  if (status < 200 || status > 299) return "risposta HTTP " + std::to_string(status);
  if (reply->error() != QNetworkReply::NoError) return reply->errorString().toStdString();
  if (!file.commit()) return file.errorString().toStdString();
  return {};
}

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

}  // namespace platform::ui
