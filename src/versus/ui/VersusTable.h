// One of the comparison's tables on screen: a line per figure (or year, or product), a column
// per product, negatives in red, the best of each line bold on a light green, and for the
// correlation matrix each cell on the returns map's colour scale.
#pragma once

#include <QTableWidget>

#include "versus/VersusText.h"

namespace versus::ui {

class VersusTable : public QTableWidget {
  Q_OBJECT

 public:
  // `coloured`: cells carry the colour scale of their values (the correlation matrix).
  VersusTable(const QString& name, bool coloured, QWidget* parent = nullptr);
  void show(const TextTable& table);
};

}  // namespace versus::ui
