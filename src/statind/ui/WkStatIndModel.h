// The rows of the last statistics run as the grid shows them: five text columns with the run's
// captions, styled from the cells' raw values (numeric day labels right-aligned, month names bold
// in the year view, negative changes red).
#pragma once

#include <QAbstractTableModel>
#include <array>
#include <string>
#include <vector>

#include "statind/PeriodStatistics.h"

namespace statind::ui {

class WkStatIndModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kColumns = 5;
  // The number a cell holds (double), or an invalid QVariant for a cell that is not a number.
  static constexpr int kRawValueRole = Qt::UserRole + 1;

  using QAbstractTableModel::QAbstractTableModel;

  // Replaces every row and caption with those of one run.
  void setRun(const std::vector<GridRow>& rows, const std::array<std::string, 5>& captions,
              bool yearView);
  void clear();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  const std::string& cell(int row, int column) const;
  QVariant rawValue(int row, int column) const;
  QVariant alignment(int row, int column) const;

  std::vector<GridRow> rows_;
  std::array<std::string, 5> captions_;
  bool yearView_ = true;
};

}  // namespace statind::ui
