// Enter presses the focused button as Space does. The windows' buttons are no dialog defaults,
// so that Enter in a list or box never presses one behind the user's back; Qt then leaves them
// deaf to Enter even when they have the focus. This watcher gives Enter back to the push or
// tool button that has the focus, in one window.
#pragma once

#include <QObject>

class QWidget;

namespace platform::ui {

class EnterPressesButton : public QObject {
  Q_OBJECT

 public:
  // Watches the buttons inside `window` for as long as `window` lives (the watcher is its child).
  static void install(QWidget* window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit EnterPressesButton(QWidget* window);

  QWidget* window_;
};

}  // namespace platform::ui
