// The program-wide function keys must work wherever the focus is inside a statistics window,
// even in a control that would take the key for itself (a list searching by the typed
// character, a grid): this watcher sees every key press aimed at a control of its window
// before the control does and hands it to handleFunctionKey first.
#pragma once

#include <QObject>

class QWidget;

namespace startup::ui {

struct AppContext;

class FunctionKeyPreview : public QObject {
  Q_OBJECT

 public:
  // Watches the controls of `window` for as long as `window` lives (the watcher is its child).
  // Keys aimed at `window` itself still go to its own key handler.
  static void install(QWidget* window, AppContext& ctx);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  FunctionKeyPreview(QWidget* window, AppContext& ctx);

  QWidget* window_;
  AppContext& ctx_;
};

}  // namespace startup::ui
