// The click of a selection list as the statistics windows expect it: once for
// every change of the current entry, whether made by the user or by code, and
// once when the user picks the entry that is already current (so that choosing
// the same product again shows it again).
#pragma once

#include <QObject>
#include <functional>

class QComboBox;

namespace statind::ui {

class ComboClick : public QObject {
  Q_OBJECT

 public:
  // Calls `handler` with the new position on every click of `list`; owned by
  // `list`.
  ComboClick(QComboBox* list, std::function<void(int)> handler);

 private:
  std::function<void(int)> handler_;
  bool justChanged_ = false;  // the change signal already ran the handler for this user pick
};

}  // namespace statind::ui
