// The comparison window's product chooser: sortable column headers, a search line and the
// products in columns, descriptions whole (cut only at the window's edge, then whole in a tooltip).
// Typing, in the search line or in the list, narrows the list to the products whose code or
// description holds the text; only Enter or a click chooses one, so that browsing and typing
// never open a product by themselves.
#pragma once

#include <QFrame>
#include <array>
#include <vector>

#include "statind/ProductLists.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace compare::ui {

class ChooserPanel : public QFrame {
  Q_OBJECT

 public:
  explicit ChooserPanel(QWidget* parent);

  // Lists `entries` (the first is the blank line), clears the search and stands on the blank line.
  void setProducts(const std::vector<statind::ProductEntry>& entries);
  // Marks header `sortKey` as the sort column (opaque), the others transparent.
  void markSortHeader(int sortKey);
  // Clears the search, stands on the blank line and gives the list the focus.
  void reset();
  // Narrows the list to the lines whose code or description holds `text` (any case), standing
  // on the first of them.
  void search(const QString& text);

  std::array<QPushButton*, 5> LbTit;
  QPushButton* CmdRp1;  // "&USCITA"
  QLineEdit* TxtCerca;
  QTreeWidget* CmbProd;

 signals:
  // The user chose the product at `position` of the entries (1 or more).
  void chosen(int position);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void choose();
  void fitColumns();
  // The search line's keys that move in the list.
  bool moveInList(int key);
};

}  // namespace compare::ui
