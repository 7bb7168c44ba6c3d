// What a user cannot read whole on a window at its size: a label, button, box or list entry cut
// short, a table column narrower than its text, or columns beyond the edge with no scroll bar to
// reach them, and chart axis labels cut ("…") or run together. A text whose whole form is in its
// tooltip may be cut at the window's edge.
#pragma once

#include <QAbstractAxis>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QBarCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTableView>
#include <QTest>
#include <QTreeView>
#include <QWidget>
#include <QXYSeries>

namespace testsupport {

namespace elision {

inline QString nameOf(const QWidget* w) {
  return w->objectName().isEmpty() ? QString(w->metaObject()->className()) : w->objectName();
}

inline bool shown(const QWidget* w, const QWidget* window) {
  return w->isVisibleTo(window) && w->width() > 0;
}

// Whether an ancestor of `w` cuts it off with no scroll bar to bring the rest into view.
inline bool clippedOut(const QWidget* w, const QWidget* window) {
  for (const QWidget* p = w->parentWidget(); p && p != window->parentWidget();
       p = p->parentWidget()) {
    const QRect r(w->mapTo(p, QPoint(0, 0)), w->size());
    const bool wide = r.left() < 0 || r.right() > p->rect().right();
    const bool tall = r.top() < 0 || r.bottom() > p->rect().bottom();
    if (!wide && !tall) continue;
    const auto* area = qobject_cast<const QAbstractScrollArea*>(p->parentWidget());
    const bool scrolls = area && area->viewport() == p &&
                         (!wide || area->horizontalScrollBar()->maximum() > 0) &&
                         (!tall || area->verticalScrollBar()->maximum() > 0);
    if (!scrolls) return true;
  }
  return false;
}

inline void labels(QWidget* window, QStringList& cut) {
  for (QLabel* label : window->findChildren<QLabel*>()) {
    if (!shown(label, window) || label->text().isEmpty()) continue;
    if (clippedOut(label, window)) cut << nameOf(label) + " cut off by its pane";
    if (label->wordWrap() || Qt::mightBeRichText(label->text())) continue;
    const double needed = QFontMetricsF(label->font()).horizontalAdvance(label->text());
    if (needed > label->contentsRect().width() - 2 * label->margin() + 0.5)
      cut << nameOf(label) + " \"" + label->text() + "\"";
  }
}

inline void buttons(QWidget* window, QStringList& cut) {
  for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
    if (!shown(button, window) || button->text().isEmpty()) continue;
    if (clippedOut(button, window)) cut << nameOf(button) + " cut off by its pane";
    QString text = button->text();
    text.remove(QLatin1Char('&'));
    const double textWidth = QFontMetricsF(button->font()).horizontalAdvance(text);
    double room = button->contentsRect().width();
    if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button)) {
      room = button->width() - (button->sizeHint().width() - textWidth);
    } else if (qobject_cast<QPushButton*>(button)) {
      room -= 4;  // the style's frame around the text
    }
    if (textWidth > room + 0.5)
      cut << nameOf(button) + " \"" + text + "\" " + QString::number(textWidth) + " in " +
                 QString::number(room);
  }
}

inline void boxes(QWidget* window, QStringList& cut) {
  for (QComboBox* box : window->findChildren<QComboBox*>()) {
    if (!shown(box, window) || box->isEditable()) continue;  // a line edit scrolls its text
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.editable = false;
    const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                     QStyle::SC_ComboBoxEditField, box);
    const double needed = QFontMetricsF(box->font()).horizontalAdvance(box->currentText());
    if (needed > field.width() + 0.5) cut << nameOf(box) + " \"" + box->currentText() + "\"";
  }
}

// A column is cut when its widest text or header does not fit it, unless the text's whole form
// is its tooltip; columns past the viewport's edge are cut unless a scroll bar reaches them.
inline void views(QWidget* window, QStringList& cut) {
  for (QAbstractItemView* view : window->findChildren<QAbstractItemView*>()) {
    if (!shown(view, window) || !view->model()) continue;
    if (clippedOut(view, window)) cut << nameOf(view) + " cut off by its pane";
    QHeaderView* header = nullptr;
    if (auto* table = qobject_cast<QTableView*>(view)) header = table->horizontalHeader();
    if (auto* tree = qobject_cast<QTreeView*>(view)) header = tree->header();
    if (!header) continue;
    const QAbstractItemModel* model = view->model();
    const QFontMetricsF metrics(view->font());
    int total = 0;
    for (int c = 0; c < header->count(); ++c) {
      if (header->isSectionHidden(c)) continue;
      const int width = header->sectionSize(c);
      total += width;
      int needed = header->isHidden() ? 0 : header->sectionSizeHint(c);
      for (int r = 0; r < model->rowCount(); ++r) {
        const QModelIndex index = model->index(r, c);
        const QString text = index.data().toString();
        if (text.isEmpty() || index.data(Qt::ToolTipRole).toString() == text) continue;
        needed = std::max(needed, static_cast<int>(metrics.horizontalAdvance(text)) + 8);
      }
      if (needed > width + 1)
        cut << nameOf(view) + " column " + model->headerData(c, Qt::Horizontal).toString();
    }
    const bool reachable = view->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff;
    if (total > view->viewport()->width() + 1 && !reachable)
      cut << nameOf(view) + " columns past the edge";
  }
}

inline void charts(QWidget* window, QStringList& cut) {
  for (QChartView* view : window->findChildren<QChartView*>()) {
    if (!shown(view, window)) continue;
    QChart* chart = view->chart();
    for (QAbstractAxis* axis : chart->axes()) {
      if (axis->labelsTruncated()) cut << nameOf(view) + " axis labels cut";
      auto* categories = qobject_cast<QBarCategoryAxis*>(axis);
      if (!categories || categories->count() == 0) continue;
      // A point beyond the last category is drawn past the plot's edge.
      for (QAbstractSeries* series : chart->series()) {
        auto* line = qobject_cast<QXYSeries*>(series);
        if (!line || !series->attachedAxes().contains(axis)) continue;
        for (const QPointF& point : line->points())
          if (point.x() > categories->count() - 0.5) {
            cut << nameOf(view) + " points past the last label";
            break;
          }
      }
      const QFontMetricsF metrics(axis->labelsFont());
      const double slot = chart->plotArea().width() / categories->count();
      double clearFrom = -1e9;
      for (int i = 0; i < categories->count(); ++i) {
        const QString label = categories->at(i).remove(QChar(0x200B));
        if (label.trimmed().isEmpty()) continue;
        const double half = metrics.horizontalAdvance(label) / 2, centre = (i + 0.5) * slot;
        if (centre - half < clearFrom) cut << nameOf(view) + " labels run together at " + label;
        if (centre - half < -0.5 || centre + half > chart->plotArea().width() + 0.5)
          cut << nameOf(view) + " label past the plot's edge (hidden): " + label;
        clearFrom = centre + half;
      }
    }
  }
}

}  // namespace elision

// Every text of `window` (laid out at its current size) that the user cannot read whole.
inline QStringList elidedTexts(QWidget* window) {
  QStringList cut;
  elision::labels(window, cut);
  elision::buttons(window, cut);
  elision::boxes(window, cut);
  elision::views(window, cut);
  elision::charts(window, cut);
  return cut;
}

// The design's smallest screen: a small laptop with its taskbar.
inline const QSize kSmallScreen(900, 650);

// `window` laid out at `size`, its charts settled: the texts cut there.
inline QStringList elidedAt(QWidget* window, QSize size = kSmallScreen) {
  window->resize(size);
  QTest::qWait(60);
  return elidedTexts(window);
}

}  // namespace testsupport
