#include "platform/ui/FormControls.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace platform::ui {

QPushButton* button(QWidget* parent, const QString& name, const QString& text) {
  auto* b = named<QPushButton>(parent, name, text);
  b->setAutoDefault(false);  // Enter in a list must not press a button
  return b;
}

QFrame* frame(QWidget* parent, const QString& name) {
  auto* f = named<QFrame>(parent, name);
  f->setFrameShape(QFrame::StyledPanel);
  return f;
}

QLabel* heading(QWidget* parent, const QString& name) {
  auto* label = named<QLabel>(parent, name);
  QFont big = label->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.25);
  label->setFont(big);
  return label;
}

QLabel* caption(QWidget* parent, const QString& text) {
  return new QLabel(text, parent);
}

}  // namespace platform::ui
