// The rows of the last one-month comparison as the grid shows them: "ANNO", "INIZIO", "FINE",
// "%", numbers right-aligned, a cell whose text reads as a negative number in red.
#pragma once

#include <QAbstractTableModel>
#include <vector>

#include "compare/Comparison.h"

namespace compare::ui {

class CompareGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kColumns = 4;
  using QAbstractTableModel::QAbstractTableModel;

  // Replaces every row with those of one run.
  void setRows(const std::vector<CompareRow>& rows);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  QString text(int row, int column) const;

  std::vector<CompareRow> rows_;
};

}  // namespace compare::ui
