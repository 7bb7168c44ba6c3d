// The program's main window: the menu bar from which the statistics windows are opened, the
// start-up progress label, the configured background, and the way out. It runs the loading
// part of start-up that needs a window and opens the suite's requested function once, at its
// first activation.
#pragma once

#include <QMainWindow>

#include <functional>

#include "startup/Startup.h"

class QAction;
class QLabel;
class QMenu;

namespace startup::ui {

struct AppContext;
class ActionPanel;
class BackgroundArea;

class Startup : public QMainWindow {
  Q_OBJECT

 public:
  // Opens the window of a function code (see openFunctionWindow, the default).
  using FunctionOpener = std::function<void(int code)>;

  // Minimum size in the normal state, in twips.
  static constexpr int kMinWidthTwips = 9640;
  static constexpr int kMinHeightTwips = 5400;

  explicit Startup(AppContext& ctx, FunctionOpener opener = {}, QWidget* parent = nullptr);

  // The loading, to be run once the window is shown: hides the full menus when the suite drives
  // the program, keeps the window on the screen, runs startup::load with Label1 as progress
  // label, sets the caption, creates ctx.lookup, hides the progress strip and applies the
  // configured background. Anything but Ready means the program must end (the user has been
  // told why).
  StartOutcome load();

  // The menu Mu_Stat: records `code` as startFunction and opens its window.
  void openFunction(int code);

  // `position` moved back so that position + extent does not pass `usable` (all in twips).
  static int keptInside(int position, int extent, int usable);

 protected:
  bool event(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  enum class FirstActivation { Pending, Scheduled, Done };

  void buildMenus();
  void buildKeysMenu();
  QWidget* buildPicture();
  QWidget* buildActionPanel();
  void hideSuiteMenus();
  void keepOnScreen();
  void applyBackground();
  void applyBackgroundPicture(const std::string& path);
  void applyMinimumSize();
  void activated();
  void runFirstActivation();
  void runExit();
  void showProgress(const std::string& caption);

  AppContext& ctx_;
  FunctionOpener opener_;
  FirstActivation firstActivation_ = FirstActivation::Pending;
  bool loaded_ = false;
  bool activatedWhileLoading_ = false;
  BackgroundArea* background_ = nullptr;
  ActionPanel* actions_ = nullptr;  // what to do next; a new entry is one add()
  QLabel* label1_ = nullptr;
  QAction* muEnd_ = nullptr;
  QMenu* muStatistiche_ = nullptr;
};

}  // namespace startup::ui
