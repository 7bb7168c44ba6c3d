#include "compare/ui/ChooserPanel.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <algorithm>

#include "compare/ProductChooser.h"
#include "platform/ui/FormControls.h"

namespace compare::ui {

using namespace platform::ui;  // the control makers

namespace {

constexpr int kDescription = 1;
// The least width of each column other than the description, in characters of the list's font.
constexpr int kColumnChars[] = {10, 0, 4, 14, 5};

}  // namespace

ChooserPanel::ChooserPanel(QWidget* parent) : QFrame(parent) {
  setObjectName("Picture2");
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  CmdRp1 = button(this, "CmdRp_1", "&USCITA");
  TxtCerca = named<QLineEdit>(this, "TxtCerca");
  TxtCerca->setPlaceholderText("cerca per codice o descrizione");
  TxtCerca->setClearButtonEnabled(true);
  auto* top = new QHBoxLayout;
  top->addWidget(caption(this, "Scegli il prodotto da confrontare"));
  top->addSpacing(12);
  top->addWidget(TxtCerca, 1);
  top->addSpacing(12);
  top->addWidget(CmdRp1);

  CmbProd = named<QTreeWidget>(this, "CmbProd");
  CmbProd->setColumnCount(5);
  CmbProd->setHeaderHidden(true);  // the sort headers above stand for it
  CmbProd->setRootIsDecorated(false);
  CmbProd->setUniformRowHeights(true);
  CmbProd->setAllColumnsShowFocus(true);
  CmbProd->setTextElideMode(Qt::ElideRight);
  CmbProd->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  QHeaderView* columns = CmbProd->header();
  columns->setStretchLastSection(false);
  columns->setMinimumSectionSize(1);
  columns->setSectionResizeMode(QHeaderView::Fixed);
  auto* heads = new QHBoxLayout;
  heads->setSpacing(0);
  heads->setContentsMargins(CmbProd->frameWidth(), 0, 0, 0);
  for (int i = 0; i < 5; ++i) {
    LbTit[i] = button(this, QString("LbTit_%1").arg(i), QString::fromLatin1(kSortHeaders[i]));
    LbTit[i]->setFlat(true);
    LbTit[i]->setToolTip("ordina per " + QString::fromLatin1(kSortHeaders[i]).trimmed().toLower());
    heads->addWidget(LbTit[i]);
  }
  heads->addStretch(1);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(8, 6, 8, 8);
  column->addLayout(top);
  column->addLayout(heads);
  column->addWidget(CmbProd, 1);

  connect(TxtCerca, &QLineEdit::textChanged, this, [this](const QString& text) { search(text); });
  connect(TxtCerca, &QLineEdit::returnPressed, this, [this] { choose(); });
  connect(CmbProd, &QTreeWidget::itemClicked, this, [this] { choose(); });
  CmbProd->installEventFilter(this);
  CmbProd->viewport()->installEventFilter(this);  // its width decides the description's
  TxtCerca->installEventFilter(this);
  setFocusProxy(CmbProd);
}

void ChooserPanel::setProducts(const std::vector<statind::ProductEntry>& entries) {
  CmbProd->clear();
  for (const auto& entry : entries) {
    auto* item = new QTreeWidgetItem(CmbProd);
    for (int c = 0; c < 5 && c < static_cast<int>(entry.fields.size()); ++c) {
      item->setText(c, QString::fromStdString(entry.fields[static_cast<std::size_t>(c)]));
    }
    item->setToolTip(kDescription, item->text(kDescription));
  }
  fitColumns();
  reset();
}

void ChooserPanel::markSortHeader(int sortKey) {
  for (int i = 0; i < 5; ++i) {
    const bool opaque = i == sortKey;
    LbTit[i]->setProperty("opaque", opaque);
    LbTit[i]->setStyleSheet(
        opaque ? "text-align: left; border: none; padding: 0 3px; background-color: #c8d8ec;"
               : "text-align: left; border: none; padding: 0 3px; background: transparent;");
  }
}

void ChooserPanel::reset() {
  TxtCerca->clear();
  search({});
  if (CmbProd->topLevelItemCount() > 0) CmbProd->setCurrentItem(CmbProd->topLevelItem(0));
  CmbProd->setFocus(Qt::OtherFocusReason);
}

void ChooserPanel::search(const QString& text) {
  const QString wanted = text.trimmed();
  QTreeWidgetItem* first = nullptr;
  for (int i = 1; i < CmbProd->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = CmbProd->topLevelItem(i);
    const bool match = wanted.isEmpty() || item->text(0).contains(wanted, Qt::CaseInsensitive) ||
                       item->text(kDescription).contains(wanted, Qt::CaseInsensitive);
    item->setHidden(!match);
    if (match && !first) first = item;
  }
  // The blank line stands for "no product": hidden while a search narrows the list.
  if (QTreeWidgetItem* blank = CmbProd->topLevelItem(0)) blank->setHidden(!wanted.isEmpty());
  if (!wanted.isEmpty() && first) CmbProd->setCurrentItem(first);
}

void ChooserPanel::choose() {
  QTreeWidgetItem* item = CmbProd->currentItem();
  if (!item || item->isHidden()) return;
  const int position = CmbProd->indexOfTopLevelItem(item);
  if (position >= 1) emit chosen(position);
}

bool ChooserPanel::moveInList(int key) {
  if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_PageUp && key != Qt::Key_PageDown)
    return false;
  QKeyEvent move(QEvent::KeyPress, key, Qt::NoModifier);
  QCoreApplication::sendEvent(CmbProd, &move);
  return true;
}

bool ChooserPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == CmbProd->viewport() && event->type() == QEvent::Resize) fitColumns();
  if (event->type() != QEvent::KeyPress) return QFrame::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool plain = (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0;
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
    if (watched != CmbProd) return false;  // the search line says so itself
    choose();
    return true;
  }
  if (watched == TxtCerca) return plain && moveInList(key->key());
  // Typed in the list, text goes to the search line; Esc first clears a search.
  if (key->key() == Qt::Key_Escape && !TxtCerca->text().isEmpty()) {
    TxtCerca->clear();
    return true;
  }
  if (key->key() == Qt::Key_Backspace && !TxtCerca->text().isEmpty()) {
    TxtCerca->backspace();
    return true;
  }
  const QString text = key->text();
  if (plain && !text.isEmpty() && text.at(0).isPrint()) {
    TxtCerca->insert(text);
    return true;
  }
  return false;
}

// Every column but the description as wide as its widest text (and its header); the
// description takes the rest, so that it is cut only at the window's edge.
void ChooserPanel::fitColumns() {
  const QFontMetrics metrics(CmbProd->font());
  const int charWidth = metrics.horizontalAdvance(QLatin1Char('X'));
  int others = 0;
  for (int c = 0; c < 5; ++c) {
    if (c == kDescription) continue;
    int width = std::max(kColumnChars[c] * charWidth, LbTit[c]->sizeHint().width());
    for (int i = 0; i < CmbProd->topLevelItemCount(); ++i)
      width = std::max(width, metrics.horizontalAdvance(CmbProd->topLevelItem(i)->text(c)) + 12);
    CmbProd->setColumnWidth(c, width);
    others += width;
  }
  const int least = 12 * charWidth;  // a description never narrower than this
  CmbProd->setColumnWidth(kDescription, std::max(least, CmbProd->viewport()->width() - others));
  for (int i = 0; i < 5; ++i) LbTit[i]->setFixedWidth(CmbProd->columnWidth(i));
}

}  // namespace compare::ui
