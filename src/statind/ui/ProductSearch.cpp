#include "statind/ui/ProductSearch.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace statind::ui {

ProductSearch::ProductSearch(QComboBox* list, std::function<void(int)> commit)
    : QObject(list), list_(list), commit_(std::move(commit)) {
  list->setEditable(true);
  list->setInsertPolicy(QComboBox::NoInsert);
  auto* completer = new QCompleter(list->model(), list);
  completer->setFilterMode(Qt::MatchContains);
  completer->setCaseSensitivity(Qt::CaseInsensitive);
  completer->setCompletionMode(QCompleter::PopupCompletion);
  completer->setMaxVisibleItems(15);
  list->setCompleter(completer);
  if (completer->popup()) completer->popup()->setFont(list->font());
  // Every commit, whether by the list's own popup, a completion or Enter on a whole line, ends
  // in the list's activation.
  connect(list, &QComboBox::activated, this, [this](int position) { commitOnce(position); });
  connect(list->lineEdit(), &QLineEdit::returnPressed, this, [this] { enterPressed(); });
  list->installEventFilter(this);
  list->lineEdit()->installEventFilter(this);
}

int ProductSearch::firstMatch(const QComboBox* list, const QString& text) {
  const QString wanted = text.trimmed();
  if (wanted.isEmpty()) return -1;
  for (int i = 1; i < list->count(); ++i) {
    if (list->itemText(i).contains(wanted, Qt::CaseInsensitive)) return i;
  }
  return -1;
}

void ProductSearch::commitOnce(int position) {
  if (justCommitted_ == position) return;
  justCommitted_ = position;
  QTimer::singleShot(0, this, [this] { justCommitted_ = -1; });
  commit_(position);
}

// Enter on typed text that is no whole line commits the first entry holding it; a whole line
// the list has already committed itself.
void ProductSearch::enterPressed() {
  const QString typed = list_->lineEdit()->text();
  if (list_->currentIndex() >= 0 && typed == list_->itemText(list_->currentIndex())) return;
  const int found = firstMatch(list_, typed);
  if (found < 0) return;
  list_->setCurrentIndex(found);
  commitOnce(found);
}

bool ProductSearch::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress: {
      const auto* key = static_cast<QKeyEvent*>(event);
      const bool browse = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down ||
                          key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown;
      if (!browse || (key->modifiers() & ~(Qt::KeypadModifier | Qt::AltModifier))) return false;
      list_->showPopup();
      return true;
    }
    case QEvent::Wheel:
      return watched == list_;  // the wheel scrolls the window's lists, never picks a product
    case QEvent::FocusIn:
      // Typing replaces the line shown, so that a search starts from nothing.
      if (watched == list_->lineEdit())
        QTimer::singleShot(0, list_->lineEdit(), &QLineEdit::selectAll);
      return false;
    case QEvent::FocusOut:
      // Text typed but never committed gives way to the entry the list stands on.
      if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason) return false;
      if (watched == list_->lineEdit() && list_->currentIndex() >= 0 &&
          list_->lineEdit()->text() != list_->itemText(list_->currentIndex()))
        list_->lineEdit()->setText(list_->itemText(list_->currentIndex()));
      return false;
    default:
      return false;
  }
}

}  // namespace statind::ui
