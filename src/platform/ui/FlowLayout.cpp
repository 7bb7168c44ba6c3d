#include "platform/ui/FlowLayout.h"

#include <QWidget>
#include <algorithm>

namespace platform::ui {

FlowLayout::FlowLayout(QWidget* parent, int spacing) : QLayout(parent) {
  setSpacing(spacing);
}

FlowLayout::~FlowLayout() {
  while (QLayoutItem* item = takeAt(0)) delete item;
}

void FlowLayout::addItem(QLayoutItem* item) {
  items_.append(item);
}

QLayoutItem* FlowLayout::takeAt(int index) {
  return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

int FlowLayout::heightForWidth(int width) const {
  return arrange(QRect(0, 0, width, 0), false);
}

QSize FlowLayout::minimumSize() const {
  QSize size;
  for (const QLayoutItem* item : items_) size = size.expandedTo(item->minimumSize());
  const QMargins m = contentsMargins();
  return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

void FlowLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  arrange(rect, true);
}

int FlowLayout::arrange(const QRect& rect, bool place) const {
  const QRect area = rect.marginsRemoved(contentsMargins());
  int x = area.x(), y = area.y(), rowHeight = 0;
  QList<std::pair<QLayoutItem*, QPoint>> row;  // each item centred in its row once it is full
  const auto closeRow = [&] {
    for (const auto& [item, at] : row) {
      const QSize size = item->sizeHint();
      if (place) item->setGeometry(QRect(at + QPoint(0, (rowHeight - size.height()) / 2), size));
    }
    row.clear();
  };
  for (QLayoutItem* item : items_) {
    if (item->isEmpty()) continue;  // a hidden widget takes no room
    const QSize size = item->sizeHint();
    if (x > area.x() && x + size.width() > area.right() + 1) {
      closeRow();
      x = area.x();
      y += rowHeight + spacing();
      rowHeight = 0;
    }
    row.append({item, QPoint(x, y)});
    x += size.width() + spacing();
    rowHeight = std::max(rowHeight, size.height());
  }
  closeRow();
  return y + rowHeight - rect.y() + contentsMargins().bottom();
}

}  // namespace platform::ui
