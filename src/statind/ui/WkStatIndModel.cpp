#include "statind/ui/WkStatIndModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <cctype>

#include "indexdata/Helpers.h"

namespace statind::ui {

namespace {

// A day label ("05 Lun") or a value row starts with a digit; a month name row does not.
bool startsWithDigit(const std::string& text) {
  auto first = text.find_first_not_of(' ');
  return first != std::string::npos && std::isdigit(static_cast<unsigned char>(text[first]));
}

}  // namespace

void WkStatIndModel::setRun(const std::vector<GridRow>& rows,
                            const std::array<std::string, 5>& captions, bool yearView) {
  beginResetModel();
  rows_ = rows;
  captions_ = captions;
  yearView_ = yearView;
  endResetModel();
  emit headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
}

void WkStatIndModel::clear() {
  setRun({}, {}, true);
}

int WkStatIndModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int WkStatIndModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumns;
}

const std::string& WkStatIndModel::cell(int row, int column) const {
  const GridRow& r = rows_.at(static_cast<std::size_t>(row));
  switch (column) {
    case 0:
      return r.Data;
    case 1:
      return r.indice;
    case 2:
      return r.Percento1;
    case 3:
      return r.Percento2;
    default:
      return r.Percento3;
  }
}

QVariant WkStatIndModel::rawValue(int row, int column) const {
  const std::string& text = cell(row, column);
  if (column == 0 || text.find_first_not_of(' ') == std::string::npos) return {};
  return indexdata::nzNumber(platform::Value{text});
}

QVariant WkStatIndModel::alignment(int row, int column) const {
  if (column > 0 || startsWithDigit(cell(row, column))) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
}

QVariant WkStatIndModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= kColumns) return {};
  int row = index.row(), column = index.column();
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(cell(row, column));
    case kRawValueRole:
      return rawValue(row, column);
    case Qt::TextAlignmentRole:
      return alignment(row, column);
    case Qt::FontRole:
      if (column == 0 && yearView_ && !startsWithDigit(cell(row, column))) {
        QFont bold;
        bold.setBold(true);
        return bold;
      }
      return {};
    case Qt::ForegroundRole: {
      QVariant raw = rawValue(row, column);
      if (raw.isValid() && raw.toDouble() < 0) return QBrush(QColor(255, 0, 0));
      return {};
    }
    default:
      return {};
  }
}

QVariant WkStatIndModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
  if (orientation == Qt::Vertical) return {};
  if (section < 0 || section >= kColumns) return {};
  return QString::fromStdString(captions_[static_cast<std::size_t>(section)]);
}

}  // namespace statind::ui
