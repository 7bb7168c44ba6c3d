#include "versus/ui/VersusTable.h"

#include <QHeaderView>
#include <algorithm>

#include "risk/MapColours.h"

namespace versus::ui {

namespace {

const QColor kBestFill(222, 240, 222);

}  // namespace

VersusTable::VersusTable(const QString& name, bool coloured, QWidget* parent)
    : QTableWidget(parent) {
  setObjectName(name);
  setProperty("coloured", coloured);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::NoSelection);
  setFocusPolicy(Qt::NoFocus);
  setWordWrap(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  horizontalHeader()->setMinimumSectionSize(64);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
}

void VersusTable::show(const TextTable& table) {
  clear();
  const bool coloured = property("coloured").toBool();
  setColumnCount(std::max(0, static_cast<int>(table.header.size()) - 1));
  setRowCount(static_cast<int>(table.lines.size()));
  for (int c = 0; c < columnCount(); ++c)
    setHorizontalHeaderItem(c, new QTableWidgetItem(QString::fromStdString(table.header[c + 1])));
  QFont bold = font();
  bold.setBold(true);
  for (int r = 0; r < rowCount(); ++r) {
    const TextLine& line = table.lines[r];
    auto* caption = new QTableWidgetItem(QString::fromStdString(line.caption));
    caption->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setVerticalHeaderItem(r, caption);
    for (int c = 0; c < columnCount() && c < static_cast<int>(line.cells.size()); ++c) {
      const TextCell& cell = line.cells[c];
      auto* item = new QTableWidgetItem(QString::fromStdString(cell.text));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (cell.negative) item->setForeground(QColor(200, 0, 0));
      if (cell.best) {
        item->setFont(bold);
        item->setBackground(kBestFill);
      }
      if (coloured && cell.value) {
        const risk::Rgb tone = risk::mapColour(*cell.value, 1);
        item->setBackground(QColor(tone.red, tone.green, tone.blue));
      }
      setItem(r, c, item);
    }
  }
}

}  // namespace versus::ui
