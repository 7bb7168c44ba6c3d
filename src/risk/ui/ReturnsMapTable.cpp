#include "risk/ui/ReturnsMapTable.h"

#include <QHeaderView>
#include <algorithm>
#include <vector>

#include "risk/MapColours.h"
#include "risk/RiskText.h"
#include "statind/StatText.h"

namespace risk::ui {

namespace {

QTableWidgetItem* cell(const std::string& text, const std::optional<double>& change, double scale) {
  auto* item = new QTableWidgetItem(QString::fromStdString(text));
  item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  if (change) {
    const Rgb tone = mapColour(*change, scale);
    item->setBackground(QColor(tone.red, tone.green, tone.blue));
    item->setForeground(Qt::black);
  }
  return item;
}

}  // namespace

ReturnsMapTable::ReturnsMapTable(QWidget* parent) : QTableWidget(parent) {
  setObjectName("TbMappa");
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::NoSelection);
  setFocusPolicy(Qt::NoFocus);
  setShowGrid(true);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  horizontalHeader()->setHighlightSections(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

void ReturnsMapTable::show(const ReturnsMap& map) {
  clear();
  setColumnCount(13);
  setRowCount(static_cast<int>(map.years.size()));
  for (int m = 1; m <= 12; ++m)
    setHorizontalHeaderItem(
        m - 1, new QTableWidgetItem(QString::fromStdString(statind::monthAbbreviation(m))));
  setHorizontalHeaderItem(12, new QTableWidgetItem("ANNO"));
  const double scale = mapScale(map);
  for (int r = 0; r < rowCount(); ++r) {
    const YearRow& row = map.years[r];
    setVerticalHeaderItem(r, new QTableWidgetItem(QString::number(row.year)));
    for (int m = 0; m < 12; ++m)
      setItem(r, m, cell(cellText(row.months[m]), row.months[m].change, scale));
    // The year's change moves more than a month's: its tone has a scale of its own.
    QTableWidgetItem* year = cell(row.yearText, row.yearChange, scale * 3.5);
    QFont bold = font();
    bold.setBold(true);
    year->setFont(bold);
    setItem(r, 12, year);
  }
  fitColumns();
}

void ReturnsMapTable::resizeEvent(QResizeEvent* event) {
  QTableWidget::resizeEvent(event);
  fitColumns();
}

void ReturnsMapTable::fitColumns() {
  if (columnCount() == 0) return;
  std::vector<int> needed(static_cast<std::size_t>(columnCount()));
  int total = 0;
  for (int c = 0; c < columnCount(); ++c) {
    needed[c] = std::max(sizeHintForColumn(c), horizontalHeader()->sectionSizeHint(c));
    total += needed[c];
  }
  const int spare = std::max(0, viewport()->width() - total) / columnCount();
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  for (int c = 0; c < columnCount(); ++c) setColumnWidth(c, needed[c] + spare);
}

}  // namespace risk::ui
