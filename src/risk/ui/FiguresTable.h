// The risk figures side by side: one column per window (the shown year, 1, 3 and 5 years, the
// whole history), one line per figure, negative changes in red.
#pragma once

#include <QTableWidget>

#include "risk/RiskText.h"

namespace risk::ui {

class FiguresTable : public QTableWidget {
  Q_OBJECT

 public:
  explicit FiguresTable(QWidget* parent = nullptr);
  void show(const FigureTable& table);
  // The height that shows every line without a scroll bar.
  int fullHeight() const;
  // The width that shows every column whole.
  int fullWidth() const;
};

}  // namespace risk::ui
