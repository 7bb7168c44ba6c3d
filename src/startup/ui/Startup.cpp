#include "startup/ui/Startup.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>

#include "indeximport/ui/ImportaIndici.h"
#include "platform/FileSystem.h"
#include "platform/Profile.h"
#include "platform/ui/EnterPressesButton.h"
#include "platform/ui/Guard.h"
#include "platform/ui/Twips.h"
#include "startup/ui/ActionPanel.h"
#include "startup/ui/AppContext.h"
#include "startup/ui/BackgroundArea.h"
#include "startup/ui/FunctionKeys.h"
#include "startup/ui/FunctionWindows.h"
#include "update/ui/CheckForUpdates.h"
#include "utilities/FileCheck.h"
#include "versus/ui/ConfrontoProdotti.h"

namespace startup::ui {

using platform::ui::guarded;
using platform::ui::pixelsToTwips;
using platform::ui::twipsToPixels;

Startup::Startup(AppContext& ctx, FunctionOpener opener, QWidget* parent)
    : QMainWindow(parent), ctx_(ctx), opener_(std::move(opener)) {
  setObjectName(QStringLiteral("Startup"));
  if (!opener_) opener_ = [this](int code) { openFunctionWindow(code, ctx_, this); };
  buildMenus();
  background_ = new BackgroundArea(this);
  auto* layout = new QVBoxLayout(background_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(buildPicture());
  layout->addWidget(buildActionPanel());
  layout->addStretch();
  setCentralWidget(background_);
  platform::ui::EnterPressesButton::install(this);
  applyMinimumSize();
  resize(minimumSize());
}

void Startup::buildMenus() {
  muEnd_ = menuBar()->addAction(QStringLiteral("&Uscita"));
  muEnd_->setObjectName(QStringLiteral("Mu_end"));
  connect(muEnd_, &QAction::triggered, this, [this] { runExit(); });

  muStatistiche_ = menuBar()->addMenu(QStringLiteral("&Statistiche"));
  muStatistiche_->setObjectName(QStringLiteral("Mu_statistiche"));
  QAction* stat0 = muStatistiche_->addAction(QStringLiteral("&Sugli Indici"));
  stat0->setObjectName(QStringLiteral("Mu_Stat0"));
  connect(stat0, &QAction::triggered, this,
          [this] { guarded(this, ctx_.desktop, [this] { openFunction(0); }); });
  QAction* stat1 = muStatistiche_->addAction(QStringLiteral("&Comparazioni mensili"));
  stat1->setObjectName(QStringLiteral("Mu_Stat1"));
  connect(stat1, &QAction::triggered, this,
          [this] { guarded(this, ctx_.desktop, [this] { openFunction(1); }); });
  QAction* importa = muStatistiche_->addAction(QStringLiteral("&Importa indici..."));
  importa->setObjectName(QStringLiteral("Mu_Importa"));
  importa->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
  connect(importa, &QAction::triggered, this, [this] {
    guarded(this, ctx_.desktop, [this] {
      indeximport::ui::openImportWindow(ctx_, this, [this](int code) { openFunction(code); });
    });
  });

  // Not a function code of the suite's command line: opened from here or the statistics window.
  QAction* confronto = muStatistiche_->addAction(QStringLiteral("C&onfronto prodotti"));
  confronto->setObjectName(QStringLiteral("Mu_Versus"));
  connect(confronto, &QAction::triggered, this, [this] {
    guarded(this, ctx_.desktop, [this] {
      versus::ui::ConfrontoProdotti window(ctx_, {}, this);
      window.exec();
    });
  });

  QAction* newExe = menuBar()->addAction(QStringLiteral("&Verifica aggiornamenti"));
  newExe->setObjectName(QStringLiteral("Mu_newexe"));
  connect(newExe, &QAction::triggered, this, [this] {
    guarded(this, ctx_.desktop, [this] { update::ui::checkForUpdates(ctx_, true, this); });
  });
  buildKeysMenu();
}

// The program-wide keys of the statistics windows, each one also a command of the main window.
// The forced exit shows its second key: under X on Linux Ctrl+Alt+F2 switches consoles and
// never reaches the program.
void Startup::buildKeysMenu() {
  QMenu* keys = menuBar()->addMenu(QStringLiteral("&Tasti"));
  keys->setObjectName(QStringLiteral("Mu_tasti"));
  struct Item {
    const char* name;
    const char* caption;  // with the keys after a tab
    int key;
    Qt::KeyboardModifiers modifiers;
  };
  const Item items[] = {
      {"Mu_fine", "Fine di VELTAR...\tCtrl+Alt+F2, Ctrl+Maiusc+F2", Qt::Key_F2,
       Qt::ControlModifier | Qt::ShiftModifier},
      {"Mu_cerca", "Cerca file\tCtrl+F", Qt::Key_F, Qt::ControlModifier},
      {"Mu_calcolatrice", "Calcolatrice\tCtrl+Maiusc+C", Qt::Key_C,
       Qt::ControlModifier | Qt::ShiftModifier},
      {"Mu_sveglia", "Sveglia\tCtrl+Maiusc+S", Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier},
      {"Mu_schermo", "Copia lo schermo e scrivi all'assistenza\tCtrl+0", Qt::Key_0,
       Qt::ControlModifier},
      {"Mu_finestra", "Copia la finestra e scrivi all'assistenza\tCtrl+1", Qt::Key_1,
       Qt::ControlModifier},
  };
  for (const Item& item : items) {
    QAction* action = keys->addAction(QString::fromUtf8(item.caption));
    action->setObjectName(QString::fromLatin1(item.name));
    action->setShortcut(QKeySequence(item.modifiers | item.key));
    connect(action, &QAction::triggered, this, [this, key = item.key, mods = item.modifiers] {
      handleFunctionKey(key, mods, this, ctx_);
    });
  }
  keys->addSeparator();
  keys->addAction(QStringLiteral("Nelle statistiche: chiudi la finestra\tF2, Esc"))
      ->setEnabled(false);
  keys->addAction(QStringLiteral("Nelle statistiche: rischio e rendimento\tCtrl+R"))
      ->setEnabled(false);
  keys->addAction(QStringLiteral("Nelle statistiche: confronto prodotti\tCtrl+O"))
      ->setEnabled(false);
  keys->addAction(QStringLiteral("Nelle statistiche: stampa\tCtrl+P"))->setEnabled(false);
}

QWidget* Startup::buildActionPanel() {
  actions_ = new ActionPanel(background_);
  auto* stat0 = findChild<QAction*>(QStringLiteral("Mu_Stat0"));
  auto* stat1 = findChild<QAction*>(QStringLiteral("Mu_Stat1"));
  actions_->add({stat0, "l'anno o il mese di un prodotto: valori, variazioni, grafico e stampa",
                 "Statistiche sugli indici"});
  actions_->add({stat1, "un prodotto confrontato con se stesso, mese per mese, anno per anno"});
  actions_->add({stat0, "volatilità, perdita massima, classe di rischio: dalle statistiche",
                 "Rischio e rendimento", "Alt+S, S, poi Ctrl+R"});
  actions_->add({findChild<QAction*>(QStringLiteral("Mu_Versus")),
                 "fino a otto prodotti su un grafico da 100, con rischio e benchmark"});
  actions_->add({findChild<QAction*>(QStringLiteral("Mu_Importa")),
                 "carica da un file CSV la storia degli indici di un prodotto"});
  actions_->add({findChild<QAction*>(QStringLiteral("Mu_newexe")),
                 "cerca sul sito una versione più recente del programma"});
  actions_->add({muEnd_, "chiude il programma"});
  return actions_;
}

QWidget* Startup::buildPicture() {
  auto* picture = new QFrame(background_);
  picture->setObjectName(QStringLiteral("Picture1"));
  picture->setFrameShape(QFrame::StyledPanel);
  picture->setAutoFillBackground(true);
  label1_ = new QLabel(QStringLiteral("aspetta"), picture);
  label1_->setObjectName(QStringLiteral("Label1"));
  auto* layout = new QHBoxLayout(picture);
  layout->setContentsMargins(8, 4, 8, 4);
  layout->addWidget(label1_);
  return picture;
}

StartOutcome Startup::load() {
  AppParams& params = ctx_.params;
  if (!params.standAlone) hideSuiteMenus();
  keepOnScreen();
  const StartOutcome outcome =
      startup::load(ctx_.env, params, ctx_.dbs, ctx_.reports, ctx_.desktop,
                    [this](const std::string& caption) { showProgress(caption); });
  if (outcome != StartOutcome::Ready) return outcome;
  setWindowTitle(QString::fromStdString("(" + params.operatorCode + ")"));
  if (ctx_.dbs.dataDb && ctx_.dbs.indexTable)
    ctx_.lookup = std::make_unique<indexdata::IndexLookup>(*ctx_.dbs.dataDb, *ctx_.dbs.indexTable,
                                                           params.valueFormat);
  // The strip only reports progress; once everything is open it would show a stale step.
  findChild<QWidget*>(QStringLiteral("Picture1"))->hide();
  ctx_.desktop.processEvents();
  applyBackground();
  actions_->focusFirst();
  loaded_ = true;
  if (activatedWhileLoading_ || isActiveWindow()) activated();
  return outcome;
}

void Startup::showProgress(const std::string& caption) {
  label1_->setText(QString::fromStdString(caption));
  label1_->repaint();
}

void Startup::hideSuiteMenus() {
  muEnd_->setVisible(false);
  muStatistiche_->menuAction()->setVisible(false);
}

int Startup::keptInside(int position, int extent, int usable) {
  return position + extent > usable ? usable - extent : position;
}

void Startup::keepOnScreen() {
  AppParams& params = ctx_.params;
  const QRect frame = frameGeometry();
  params.windowLeft =
      keptInside(params.windowLeft, pixelsToTwips(frame.width(), this), params.usableWidth);
  params.windowTop =
      keptInside(params.windowTop, pixelsToTwips(frame.height(), this), params.usableHeight);
  move(twipsToPixels(params.windowLeft, this), twipsToPixels(params.windowTop, this));
}

void Startup::applyBackground() {
  const std::string& ini = ctx_.params.ownIniPath;
  if (auto colour = BackgroundArea::fromWindowsColour(platform::readIni(ini, "SFONDO", "colore")))
    background_->setColour(*colour);
  std::string image = platform::readIni(ini, "SFONDO", "image");
  if (utilities::fileExists(ctx_.desktop, image, 0)) applyBackgroundPicture(image);
}

void Startup::applyBackgroundPicture(const std::string& path) {
  QPixmap picture;
  if (picture.load(QString::fromStdString(platform::resolvePath(path)))) {
    background_->setPicture(picture);
    return;
  }
  // The key is emptied so that the next start does not stumble on the same file again.
  const platform::Answer answer = ctx_.desktop.messageBox(
      {path, "IMMAGINE DI SFONDO NON APPLICABILE", platform::Buttons::Ok, platform::Icon::None});
  ctx_.params.lastAnswer = static_cast<int>(answer);
  platform::writeIni(ctx_.params.ownIniPath, "SFONDO", "image", "");
}

void Startup::applyMinimumSize() {
  const Qt::WindowStates sized = Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen;
  if (windowState() & sized)
    setMinimumSize(0, 0);
  else
    setMinimumSize(platform::ui::twipsToPixels(QSize(kMinWidthTwips, kMinHeightTwips), this));
}

void Startup::openFunction(int code) {
  ctx_.params.startFunction = code;
  opener_(code);
}

bool Startup::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) activated();
  return QMainWindow::event(event);
}

void Startup::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange) applyMinimumSize();
  QMainWindow::changeEvent(event);
}

void Startup::activated() {
  if (!loaded_) {
    activatedWhileLoading_ = true;
    return;
  }
  switch (firstActivation_) {
    case FirstActivation::Pending:
      // Opened from the event loop, not inside the activation event, so that the modal window
      // does not nest in it; until then further activations change nothing.
      firstActivation_ = FirstActivation::Scheduled;
      QTimer::singleShot(0, this, [this] { runFirstActivation(); });
      break;
    case FirstActivation::Scheduled:
      break;
    case FirstActivation::Done:
      // A product handed over by the suite is preselected only by the first window opened.
      ctx_.params.productCode.clear();
      break;
  }
}

void Startup::runFirstActivation() {
  firstActivation_ = FirstActivation::Done;
  guarded(this, ctx_.desktop, [this] { openFunction(ctx_.params.startFunction); });
}

void Startup::runExit() {
  guarded(this, ctx_.desktop, [this] {
    if (ctx_.exitProgram) ctx_.exitProgram();
  });
}

void Startup::closeEvent(QCloseEvent* event) {
  runExit();
  event->accept();
}

}  // namespace startup::ui
