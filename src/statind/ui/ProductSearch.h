// Typing in a product list searches it instead of jumping: the list takes typed text, shows the
// entries whose line holds it (code or description, any case) and commits only on Enter or a
// click. The arrow keys and the wheel open the list rather than step through it, so that
// browsing never runs anything or moves the focus away.
#pragma once

#include <QObject>
#include <functional>

class QComboBox;

namespace statind::ui {

class ProductSearch : public QObject {
  Q_OBJECT

 public:
  // Makes `list` searchable; `commit` runs once with the position of each entry the user commits
  // to (the same entry again included). Owned by `list`.
  ProductSearch(QComboBox* list, std::function<void(int)> commit);

  // The first entry after the blank one whose line holds `text` (trimmed, any case); -1 if none.
  static int firstMatch(const QComboBox* list, const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void commitOnce(int position);
  void enterPressed();

  QComboBox* list_;
  std::function<void(int)> commit_;
  // The position committed in this event, -1 once the event loop comes round: Enter on a
  // completion reaches the list twice in one event.
  int justCommitted_ = -1;
};

}  // namespace statind::ui
