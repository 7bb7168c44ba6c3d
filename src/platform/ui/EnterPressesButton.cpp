#include "platform/ui/EnterPressesButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

namespace platform::ui {

void EnterPressesButton::install(QWidget* window) {
  new EnterPressesButton(window);
}

EnterPressesButton::EnterPressesButton(QWidget* window) : QObject(window), window_(window) {
  qApp->installEventFilter(this);
}

bool EnterPressesButton::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
  if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
  auto* button = qobject_cast<QAbstractButton*>(watched);
  if (!button || !window_->isAncestorOf(button)) return false;
  if (!qobject_cast<QPushButton*>(button) && !qobject_cast<QToolButton*>(button)) return false;
  if (!button->isEnabled()) return true;
  button->click();  // may close the window and delete this watcher: touch nothing afterwards
  return true;
}

}  // namespace platform::ui
