// A small pair of arrow buttons stepping a value down or up, as the statistics window's year and
// month steppers. It holds no value itself: it only tells which arrow was pressed.
#pragma once

#include <QWidget>

class QToolButton;

namespace statind::ui {

class SpinArrows : public QWidget {
  Q_OBJECT

 public:
  explicit SpinArrows(QWidget* parent = nullptr);

  QToolButton* downButton() const { return down_; }
  QToolButton* upButton() const { return up_; }
  // What the arrows step, for their tooltips: "anno" gives "anno precedente" and "anno
  // successivo".
  void setStepName(const QString& name);

 signals:
  void down();
  void up();

 private:
  QToolButton* down_;
  QToolButton* up_;
};

}  // namespace statind::ui
