#include "update/ui/Aggiorna.h"

#include <algorithm>

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include "platform/Profile.h"
#include "platform/Strings.h"
#include "platform/Version.h"
#include "platform/ui/Guard.h"
#include "platform/ui/Twips.h"
#include "startup/ui/AppContext.h"
#include "update/AggiornaLayout.h"
#include "update/DownloadUrl.h"
#include "update/Updater.h"

namespace update::ui {

namespace {

using platform::ui::twipsToPixels;

constexpr int kInner = AggiornaLayout::kWidth - 120;             // inside the borders
const QString kLineColour = QStringLiteral("color: #000080;");   // dark blue, 8388608
const QString kHoverColour = QStringLiteral("color: #ff0000;");  // red, 255

QString q(const std::string& text) {
  return QString::fromStdString(text);
}

QLabel* label(const QString& name, const QString& text, QWidget* parent) {
  auto* result = new QLabel(text, parent);
  result->setObjectName(name);
  return result;
}

QFrame* panel(const QString& name, QWidget* parent) {
  auto* result = new QFrame(parent);
  result->setObjectName(name);
  result->hide();
  return result;
}

}  // namespace

Aggiorna::Aggiorna(startup::ui::AppContext& ctx, UpdateSite site, QWidget* parent)
    : QDialog(parent), ctx_(ctx), site_(std::move(site)) {
  setObjectName(QStringLiteral("Aggiorna"));
  setWindowTitle(QStringLiteral("NUOVA VERSIONE"));
  setModal(true);
  buildNewVersionPanel();
  buildUpToDatePanel();
  buildErrorPanel();
  buildHeader();
  setFixedWidth(twipsToPixels(kInner, this));
  setDialogHeight(AggiornaLayout::kUpToDateHeight);
}

void Aggiorna::place(QWidget* widget, int left, int top, int width, int height) const {
  widget->setGeometry(twipsToPixels(left, this), twipsToPixels(top, this),
                      twipsToPixels(width, this), twipsToPixels(height, this));
}

QPushButton* Aggiorna::exitButton(int index, QWidget* panel) {
  auto* button = new QPushButton(QStringLiteral("&USCITA"), panel);
  button->setObjectName(QStringLiteral("cmdOK_%1").arg(index));
  connect(button, &QPushButton::clicked, this, &QDialog::accept);
  return button;
}

void Aggiorna::buildHeader() {
  lbExe_ = label(QStringLiteral("lbExe"), {}, this);
  QFont bold = lbExe_->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.4);
  lbExe_->setFont(bold);
  lbExe_->setAlignment(Qt::AlignCenter);
  place(lbExe_, 120, 60, kInner - 240, 360);
  for (int i = 0; i < 2; ++i) {
    const int top = 480 + i * 300;
    auto* descr = label(QStringLiteral("lbDescr_%1").arg(i),
                        i == 0 ? QStringLiteral("      Versione attuale in uso:")
                               : QStringLiteral("      Versione aggiornata     :"),
                        this);
    place(descr, 240, top, 3000, 255);
    lbVersion_.push_back(
        label(QStringLiteral("lbVersion_%1").arg(i), QStringLiteral("88.88.88"), this));
    place(lbVersion_.back(), 3360, top, 1800, 255);
  }
}

void Aggiorna::buildNewVersionPanel() {
  panels_.assign(4, nullptr);
  QWidget* p0 = panels_[0] = panel(QStringLiteral("Picture1_0"), this);
  auto* siteButton = new QPushButton(QStringLiteral("&VAI AL SITO"), p0);
  siteButton->setObjectName(QStringLiteral("cmdAggiorna_0"));
  place(siteButton, 240, 420, 1800, AggiornaLayout::kButtonHeight);
  connect(siteButton, &QPushButton::clicked, this,
          [this] { platform::ui::guarded(this, ctx_.desktop, [this] { vaiAlSito(); }); });

  QWidget* list = panels_[3] = panel(QStringLiteral("Picture1_3"), p0);
  static_cast<QFrame*>(list)->setFrameShape(QFrame::StyledPanel);
  label1_ =
      label(QStringLiteral("Label1"), QStringLiteral("Elenco aggiornamenti disponibili"), list);
  place(label1_, 120, 60, kInner - 600, 255);
  lines_.push_back(label(QStringLiteral("lbAgg_0"), QStringLiteral("aggiornamento"), list));
  lines_[0]->hide();

  auto* update = new QPushButton(QStringLiteral("&AGGIORNA"), p0);
  update->setObjectName(QStringLiteral("cmdAggiorna_1"));
  update->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
  update->hide();
  connect(update, &QPushButton::clicked, this,
          [this] { platform::ui::guarded(this, ctx_.desktop, [this] { aggiorna(); }); });
  cmdAggiorna_ = {siteButton, update};

  buildReminderPanel(p0);
  place(exitButton(2, p0), kInner - 240 - 1500, 420, 1500, AggiornaLayout::kButtonHeight);
  auto* message = label(QStringLiteral("lbMess_1"),
                        QStringLiteral(" Esiste una nuova versione del programma"), p0);
  place(message, 240, 60, kInner - 480, 300);
  for (QWidget* watched : {static_cast<QWidget*>(p0), list, static_cast<QWidget*>(label1_),
                           static_cast<QWidget*>(siteButton), static_cast<QWidget*>(update)}) {
    watched->setMouseTracking(true);
    watched->installEventFilter(this);
  }
}

void Aggiorna::buildReminderPanel(QWidget* parent) {
  // Kept out of sight: reminders are not offered (nothing here writes the known updates).
  QWidget* reminder = panel(QStringLiteral("pctRicorda"), parent);
  new QPushButton(QStringLiteral("&RICORDAMI"), reminder);
  new QComboBox(reminder);
  label(QStringLiteral("lbMess_4"), QStringLiteral("aggiornare tra              giorni"), reminder);
  label(QStringLiteral("lbRemember_2"), QStringLiteral("Non aggiornare ora, ma ricordami di "),
        reminder);
}

void Aggiorna::buildUpToDatePanel() {
  QWidget* p1 = panels_[1] = panel(QStringLiteral("Picture1_1"), this);
  place(exitButton(0, p1), (kInner - 1500) / 2, 600, 1500, AggiornaLayout::kButtonHeight);
  auto* message = label(QStringLiteral("lbMess_0"),
                        QStringLiteral("La versione in uso è la più aggiornata"), p1);
  message->setAlignment(Qt::AlignCenter);
  place(message, 120, 120, kInner - 240, 300);
  p1->setMouseTracking(true);
  p1->installEventFilter(this);
}

void Aggiorna::buildErrorPanel() {
  QWidget* p2 = panels_[2] = panel(QStringLiteral("Picture1_2"), this);
  place(exitButton(1, p2), (kInner - 1500) / 2, 1440, 1500, AggiornaLayout::kButtonHeight);
  auto* message = label(QStringLiteral("lbMess_3"),
                        QStringLiteral("Impossibile verificare nuovi aggiornamenti"), p2);
  message->setAlignment(Qt::AlignCenter);
  place(message, 120, 120, kInner - 240, 300);
  lbMessErr_ = label(QStringLiteral("lbMessErr"), {}, p2);
  lbMessErr_->setAlignment(Qt::AlignCenter);
  lbMessErr_->setWordWrap(true);
  place(lbMessErr_, 120, 480, kInner - 240, 840);
  p2->setMouseTracking(true);
  p2->installEventFilter(this);
}

void Aggiorna::load() {
  programName_ = platform::upperCase(platform::trim(ctx_.env.programFileName));
  ctx_.desktop.setWaitCursor(true);
  lbExe_->setText(q(programName_));
  for (QWidget* p : {panels_[0], panels_[1], panels_[2]}) {
    p->move(0, twipsToPixels(AggiornaLayout::kPanelTop, this));
    p->hide();
  }
  for (std::size_t n = 1; n < lines_.size(); ++n) delete lines_[n];
  lines_.resize(1);
  updatePageUrls_.assign(kMaxListedUpdates + 1, "");
  cmdAggiorna_[1]->hide();

  VersionCheckParams params;
  params.programName = programName_;
  params.runningMajor = platform::kVersionMajor;
  params.runningMinor = platform::kVersionMinor;
  params.runningRevision = platform::kVersionRevision;
  params.siteAddress = site_.siteAddress;
  lbVersion_[0]->setText(
      q(versionText(params.runningMajor, params.runningMinor, params.runningRevision)));
  lbVersion_[1]->clear();

  const platform::HttpReply reply =
      ctx_.desktop.httpGet(site_.versionPageUrl, kFetchTimeoutMs, kMaxPageBytes);
  const FetchResult fetched = fetchResult(reply);
  updateStatus_ = fetched.updateStatus;
  if (updateStatus_ != kNewVersion) {
    showConnectionError(fetched.errorText);
  } else {
    params.pageText = reply.body;
    const std::string iniPath = ctx_.params.ownIniPath;
    const std::string keyPrefix = ctx_.params.operatorCode + "+";
    params.knownValue = [&iniPath, &keyPrefix](const std::string& date) {
      return platform::readIni(iniPath, "AGGIORNAMENTI", keyPrefix + date);
    };
    const VersionCheck check = checkVersion(params);
    lbVersion_[0]->setText(q(check.runningVersionText));
    lbVersion_[1]->setText(q(check.availableVersionText));
    releaseNotesPage_ = check.releaseNotesPage;
    if (check.newVersion)
      showNewVersion(check);
    else
      showUpToDate();
  }
  ctx_.desktop.setWaitCursor(false);
  centre();
}

void Aggiorna::showConnectionError(const std::string& errorText) {
  panels_[2]->show();
  setWindowTitle(QStringLiteral(" ERRORE IN CONNESSIONE"));
  place(panels_[2], 0, AggiornaLayout::kPanelTop, kInner,
        AggiornaLayout::kErrorHeight - AggiornaLayout::kFrameHeight - AggiornaLayout::kPanelTop);
  setDialogHeight(AggiornaLayout::kErrorHeight);
  lbMessErr_->setText(q(errorText));
}

void Aggiorna::showUpToDate() {
  setWindowTitle(QStringLiteral(" IL PROGRAMMA E' AGGIORNATO"));
  setDialogHeight(AggiornaLayout::kUpToDateHeight);
  place(panels_[1], 0, AggiornaLayout::kPanelTop, kInner,
        AggiornaLayout::kUpToDateHeight - AggiornaLayout::kFrameHeight - AggiornaLayout::kPanelTop);
  panels_[1]->show();
  updateStatus_ = kUpToDate;
}

void Aggiorna::showNewVersion(const VersionCheck& check) {
  setWindowTitle(QStringLiteral(" DISPONIBILE NUOVO AGGIORNAMENTO"));
  const AggiornaLayout layout = AggiornaLayout::newVersion(check.updates.size());
  const int lineWidth = kInner - 840;
  for (std::size_t n = 1; n <= check.updates.size(); ++n) {
    QLabel* line =
        label(QStringLiteral("lbAgg_%1").arg(n), q(check.updates[n - 1].caption), panels_[3]);
    line->setStyleSheet(kLineColour);
    line->setCursor(Qt::PointingHandCursor);
    line->setMouseTracking(true);
    line->installEventFilter(this);
    place(line, 240, layout.lineTops[n - 1], lineWidth, AggiornaLayout::kLineHeight);
    line->show();
    lines_.push_back(line);
    updatePageUrls_[n] = check.updates[n - 1].pageUrl;
  }
  if (layout.listShown) {
    place(panels_[3], 120, AggiornaLayout::kListTop, kInner - 240, layout.listHeight);
    place(cmdAggiorna_[1], (kInner - 1800) / 2, layout.aggiornaTop, 1800,
          AggiornaLayout::kButtonHeight);
    cmdAggiorna_[1]->show();
    cmdAggiorna_[1]->raise();
    panels_[3]->show();
  } else {
    panels_[3]->hide();
  }
  place(panels_[0], 0, AggiornaLayout::kPanelTop, kInner, layout.panelHeight);
  panels_[0]->show();
  setDialogHeight(layout.dialogHeight);
}

void Aggiorna::setDialogHeight(int twips) {
  setFixedHeight(twipsToPixels(twips - AggiornaLayout::kFrameHeight, this));
}

void Aggiorna::centre() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->geometry();
  move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void Aggiorna::resetUpdateLineColours() {
  for (std::size_t n = 1; n < lines_.size(); ++n) lines_[n]->setStyleSheet(kLineColour);
}

void Aggiorna::hover(QObject* watched) {
  resetUpdateLineColours();
  for (std::size_t n = 1; n < lines_.size(); ++n)
    if (lines_[n] == watched) lines_[n]->setStyleSheet(kHoverColour);
}

void Aggiorna::openUpdatePage(QObject* line) {
  resetUpdateLineColours();
  for (std::size_t n = 1; n < lines_.size() && n < updatePageUrls_.size(); ++n)
    if (lines_[n] == line) openDownloadUrl(ctx_.desktop, updatePageUrls_[n]);
}

bool Aggiorna::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::Enter:
      hover(watched);
      break;
    case QEvent::MouseButtonDblClick:
      if (std::find(lines_.begin() + 1, lines_.end(), watched) == lines_.end()) break;
      platform::ui::guarded(this, ctx_.desktop, [this, watched] { openUpdatePage(watched); });
      return true;
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

void Aggiorna::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F2) {
    accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void Aggiorna::vaiAlSito() {
  openReleaseNotes(ctx_.desktop, releaseNotesPage_, ctx_.env.programFolder);
}

void Aggiorna::aggiorna() {
  if (installUpdate(ctx_.desktop, {ctx_.env.programFolder, programName_, site_.siteAddress}) &&
      ctx_.exitProgram)
    ctx_.exitProgram();
}

}  // namespace update::ui
