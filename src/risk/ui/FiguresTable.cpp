#include "risk/ui/FiguresTable.h"

#include <QHeaderView>
#include <algorithm>

namespace risk::ui {

FiguresTable::FiguresTable(QWidget* parent) : QTableWidget(parent) {
  setObjectName("TbFigure");
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::NoSelection);
  setFocusPolicy(Qt::NoFocus);
  verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  setWordWrap(false);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  horizontalHeader()->setHighlightSections(false);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void FiguresTable::show(const FigureTable& table) {
  clear();
  setColumnCount(static_cast<int>(table.header.size()));
  setRowCount(static_cast<int>(table.lines.size()));
  for (int c = 0; c < columnCount(); ++c)
    setHorizontalHeaderItem(c, new QTableWidgetItem(QString::fromStdString(table.header[c])));
  for (int r = 0; r < rowCount(); ++r) {
    const FigureLine& line = table.lines[r];
    setVerticalHeaderItem(r, new QTableWidgetItem(QString::fromStdString(line.caption)));
    verticalHeaderItem(r)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 0; c < columnCount(); ++c) {
      const std::string& text = line.cells[c];
      auto* item = new QTableWidgetItem(QString::fromStdString(text));
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (line.signedFigure && !text.empty() && text.front() == '-')
        item->setForeground(QColor(200, 0, 0));
      setItem(r, c, item);
    }
  }
}

int FiguresTable::fullHeight() const {
  int height = horizontalHeader()->height() + 2 * frameWidth();
  for (int r = 0; r < rowCount(); ++r) height += rowHeight(r);
  return height;
}

int FiguresTable::fullWidth() const {
  int width = verticalHeader()->sizeHint().width() + 2 * frameWidth();
  for (int c = 0; c < columnCount(); ++c)
    width += std::max(sizeHintForColumn(c), horizontalHeader()->sectionSizeHint(c));
  return width;
}

}  // namespace risk::ui
