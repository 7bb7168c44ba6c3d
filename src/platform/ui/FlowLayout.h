// Lays its items out left to right and starts a new row where the next one no longer fits, so
// that a strip of controls stays whole on a narrow screen instead of squeezing its captions.
// Each item keeps its preferred width; rows are as high as their highest item.
#pragma once

#include <QLayout>
#include <QList>

namespace platform::ui {

class FlowLayout : public QLayout {
 public:
  explicit FlowLayout(QWidget* parent = nullptr, int spacing = 6);
  ~FlowLayout() override;

  void addItem(QLayoutItem* item) override;
  int count() const override { return static_cast<int>(items_.size()); }
  QLayoutItem* itemAt(int index) const override { return items_.value(index); }
  QLayoutItem* takeAt(int index) override;
  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  QSize sizeHint() const override { return minimumSize(); }
  QSize minimumSize() const override;
  void setGeometry(const QRect& rect) override;

 private:
  // Places the items in `rect` (only measures when `place` is false); returns the height used.
  int arrange(const QRect& rect, bool place) const;

  QList<QLayoutItem*> items_;
};

}  // namespace platform::ui
