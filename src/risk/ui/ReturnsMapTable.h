// The monthly returns map as a colour table: one row per year, the twelve months and the year's
// change, each cell with its figure on a red-to-green tone; empty before and after the history,
// "P" on the months the history covers only in part.
#pragma once

#include <QTableWidget>

#include "risk/ReturnsMap.h"

namespace risk::ui {

class ReturnsMapTable : public QTableWidget {
  Q_OBJECT

 public:
  explicit ReturnsMapTable(QWidget* parent = nullptr);
  void show(const ReturnsMap& map);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // Each column as wide as its widest text, the room left shared out among them; where the
  // texts need more than the room, the scroll bar reaches the rest.
  void fitColumns();
};

}  // namespace risk::ui
