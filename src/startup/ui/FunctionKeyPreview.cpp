#include "startup/ui/FunctionKeyPreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "startup/ui/FunctionKeys.h"

namespace startup::ui {

void FunctionKeyPreview::install(QWidget* window, AppContext& ctx) {
  new FunctionKeyPreview(window, ctx);
}

FunctionKeyPreview::FunctionKeyPreview(QWidget* window, AppContext& ctx)
    : QObject(window), window_(window), ctx_(ctx) {
  qApp->installEventFilter(this);
}

bool FunctionKeyPreview::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  auto* target = static_cast<QWidget*>(watched);
  // Only the window's own controls: not the window itself, nor a window it opened.
  if (target == window_ || !window_->isAncestorOf(target)) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  // May close the window and delete this watcher: nothing of it is touched afterwards.
  return handleFunctionKey(key->key(), key->modifiers(), window_, ctx_);
}

}  // namespace startup::ui
