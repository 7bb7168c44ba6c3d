#include "compare/ui/CompareGridModel.h"

#include <QColor>

#include "platform/Format.h"

namespace compare::ui {

void CompareGridModel::setRows(const std::vector<CompareRow>& rows) {
  beginResetModel();
  rows_ = rows;
  endResetModel();
}

int CompareGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CompareGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

QString CompareGridModel::text(int row, int column) const {
  const CompareRow& r = rows_[static_cast<std::size_t>(row)];
  switch (column) {
    case 0:
      return QString::number(r.year);
    case 1:
      return QString::fromStdString(r.start);
    case 2:
      return QString::fromStdString(r.end);
    default:
      return QString::fromStdString(changeText(r.change));
  }
}

QVariant CompareGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  switch (role) {
    case Qt::DisplayRole:
      return text(index.row(), index.column());
    case Qt::TextAlignmentRole:
      return int(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ForegroundRole: {
      const auto number = platform::parseNumber(text(index.row(), index.column()).toStdString());
      if (number && *number < 0) return QColor(255, 0, 0);
      return {};
    }
    default:
      return {};
  }
}

QVariant CompareGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  static const char* captions[kColumns] = {"ANNO", "INIZIO", "FINE", "%"};
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
      section >= kColumns)
    return {};
  return QString::fromLatin1(captions[section]);
}

}  // namespace compare::ui
