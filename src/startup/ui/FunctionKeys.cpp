#include "startup/ui/FunctionKeys.h"

#include <QPushButton>
#include <QVariant>
#include <QWidget>

#include <filesystem>

#include "platform/ui/Twips.h"
#include "startup/SuiteProcedure.h"
#include "startup/ui/AppContext.h"
#include "utilities/ActiveCompany.h"
#include "utilities/ScreenCapture.h"
#include "utilities/ui/EspMovDt.h"

namespace startup::ui {

namespace {

constexpr int kShift = 1;
constexpr int kCtrl = 2;
constexpr int kAlt = 4;
constexpr const char* kSavedCaption = "savedCaption";

bool askForcedExit(AppContext& ctx) {
  const platform::Answer answer =
      ctx.desktop.messageBox({"FINE DI VELTAR?", "USCITA FORZATA",
                              platform::Buttons::YesNoDefaultNo, platform::Icon::Exclamation});
  ctx.params.lastAnswer = static_cast<int>(answer);
  if (answer == platform::Answer::Yes && ctx.exitProgram) ctx.exitProgram();
  return true;
}

// The keyboard way to the exit button (Alt+U on its "&USCITA" caption), done directly so that it
// does not depend on which widget has the focus.
bool pressExitButton(QWidget* window) {
  for (QPushButton* button : window->findChildren<QPushButton*>()) {
    if (button->text() == QStringLiteral("&USCITA") && button->isEnabled() &&
        button->isVisibleTo(window)) {
      button->click();  // may close and delete the window: touch nothing afterwards
      return true;
    }
  }
  return false;
}

// Shows the active company over `window`, read-only; only the "AZM" network has two.
bool showActiveCompany(QWidget* window, AppContext& ctx) {
  if (ctx.params.networkSection != "AZM") return false;
  using platform::ui::pixelsToTwips;
  const QRect frame = window->frameGeometry();
  const utilities::TwipsPosition position = utilities::activeCompanyWindowPosition(
      pixelsToTwips(frame.x(), window), pixelsToTwips(frame.y(), window),
      pixelsToTwips(frame.width(), window));
  utilities::ui::EspMovDt dialog(ctx.params.activeCompany, window);
  dialog.plModif(false);
  dialog.plPosX(position.x);
  dialog.plPosY(position.y);
  dialog.exec();
  return true;
}

bool callSuiteProcedure(const std::string& name, AppContext& ctx) {
  startup::runSuiteProcedure(ctx.env, ctx.params, ctx.desktop, name);
  return true;
}

bool openSearch(AppContext& ctx) {
  std::error_code ec;
  const std::string folder = std::filesystem::current_path(ec).string();
  utilities::openFolderFind(ctx.desktop, utilities::driveRoot(folder));
  return true;
}

bool toggleCaption(QWidget* window) {
  if (window->windowFlags().testFlag(Qt::FramelessWindowHint)) return false;
  const QString caption = window->windowTitle();
  if (caption.endsWith(QLatin1Char('!'))) {
    window->setWindowTitle(window->property(kSavedCaption).toString());
  } else {
    window->setProperty(kSavedCaption, caption);
    window->setWindowTitle(window->objectName() + QStringLiteral(" !"));
  }
  return true;
}

}  // namespace

int modifierMask(Qt::KeyboardModifiers modifiers) {
  int mask = 0;
  if (modifiers.testFlag(Qt::ShiftModifier)) mask |= kShift;
  if (modifiers.testFlag(Qt::ControlModifier)) mask |= kCtrl;
  if (modifiers.testFlag(Qt::AltModifier)) mask |= kAlt;
  return mask;
}

bool handleFunctionKey(int key, Qt::KeyboardModifiers modifiers, QWidget* window, AppContext& ctx) {
  if (!window) return false;
  try {
    const int mask = modifierMask(modifiers);
    if (key == Qt::Key_F && mask == kCtrl) return openSearch(ctx);
    // Ctrl+Shift+F2 too: under X on Linux Ctrl+Alt+F2 switches consoles and never arrives.
    if (key == Qt::Key_F2 && (mask == (kCtrl | kAlt) || mask == (kCtrl | kShift)))
      return askForcedExit(ctx);
    if (key == Qt::Key_F1) return showActiveCompany(window, ctx);
    if (key == Qt::Key_F2) return pressExitButton(window);
    if (mask == (kShift | kCtrl)) {
      if (key == Qt::Key_C) return callSuiteProcedure("Raradazo", ctx);
      if (key == Qt::Key_S) return callSuiteProcedure("Zavozaz", ctx);
    }
    if (key == Qt::Key_F8 && mask == kCtrl) return toggleCaption(window);
    if ((key == Qt::Key_0 || key == Qt::Key_1) && mask == kCtrl) {
      utilities::captureAndMail(ctx.desktop, key - Qt::Key_0);
      return true;
    }
  } catch (...) {
    // A function key is a convenience: when it fails it has no effect, and the window goes on.
  }
  return false;
}

}  // namespace startup::ui
