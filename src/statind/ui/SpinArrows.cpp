#include "statind/ui/SpinArrows.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace statind::ui {

namespace {

QToolButton* arrowButton(QWidget* parent, Qt::ArrowType arrow, const char* name) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setArrowType(arrow);
  button->setAutoRepeat(false);
  // Reached by Tab and pressed with the space bar; a mouse click leaves the focus where it was.
  button->setFocusPolicy(Qt::TabFocus);
  return button;
}

}  // namespace

SpinArrows::SpinArrows(QWidget* parent)
    : QWidget(parent),
      down_(arrowButton(this, Qt::LeftArrow, "down")),
      up_(arrowButton(this, Qt::RightArrow, "up")) {
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);
  layout->addWidget(down_);
  layout->addWidget(up_);
  connect(down_, &QToolButton::clicked, this, &SpinArrows::down);
  connect(up_, &QToolButton::clicked, this, &SpinArrows::up);
}

void SpinArrows::setStepName(const QString& name) {
  down_->setToolTip(name + " precedente");
  up_->setToolTip(name + " successivo");
}

}  // namespace statind::ui
