// The small makers every window's design uses to create its controls: each control is a child
// of the given parent and carries the name by which tests and the window's own code find it.
#pragma once

#include <QString>
#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;

namespace platform::ui {

// A new `T` child of `parent` named `name`, showing `text` when T has a text and `text` is not
// empty.
template <typename T>
T* named(QWidget* parent, const QString& name, const QString& text = {}) {
  T* widget = new T(parent);
  widget->setObjectName(name);
  if constexpr (requires { widget->setText(text); }) {
    if (!text.isEmpty()) widget->setText(text);
  }
  return widget;
}

// A push button that Enter in a list or box never presses (it is no dialog default).
QPushButton* button(QWidget* parent, const QString& name, const QString& text);

// A named panel with the style's panel frame.
QFrame* frame(QWidget* parent, const QString& name);

// A named label in a bold font a quarter larger than its parent's: the name heading a pane.
QLabel* heading(QWidget* parent, const QString& name);

// An unnamed label showing `text`: a caption beside the control it describes.
QLabel* caption(QWidget* parent, const QString& text);

}  // namespace platform::ui
