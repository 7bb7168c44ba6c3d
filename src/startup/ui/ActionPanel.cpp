#include "startup/ui/ActionPanel.h"

#include <QAction>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

namespace startup::ui {

namespace {

// The letter after "&" in a caption, upper-cased; "" when there is none.
QString mnemonic(const QString& caption) {
  const int at = caption.indexOf(QLatin1Char('&'));
  return at >= 0 && at + 1 < caption.size() ? caption.mid(at + 1, 1).toUpper() : QString();
}

// The menu that holds `action`, if it sits in one rather than on the bar.
QMenu* menuOf(const QAction* action) {
  for (QObject* holder : action->associatedObjects()) {
    if (auto* menu = qobject_cast<QMenu*>(holder)) return menu;
  }
  return nullptr;
}

}  // namespace

ActionPanel::ActionPanel(QWidget* parent) : QFrame(parent) {
  setObjectName("PannelloAzioni");
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(12, 10, 12, 10);
  grid->setHorizontalSpacing(16);
  grid->setVerticalSpacing(6);
  auto* heading = new QLabel("Che cosa vuoi fare?", this);
  QFont big = heading->font();
  big.setBold(true);
  big.setPointSizeF(big.pointSizeF() * 1.25);
  heading->setFont(big);
  grid->addWidget(heading, 0, 0, 1, 3);
  grid->setColumnStretch(1, 1);
}

QString ActionPanel::menuKeys(const QAction* action) {
  if (!action->shortcut().isEmpty()) return action->shortcut().toString(QKeySequence::NativeText);
  if (const QMenu* menu = menuOf(action))
    return "Alt+" + mnemonic(menu->menuAction()->text()) + ", " + mnemonic(action->text());
  return "Alt+" + mnemonic(action->text());
}

void ActionPanel::add(const Line& line) {
  auto* grid = static_cast<QGridLayout*>(layout());
  const int row = grid->rowCount();
  QString title = line.title.isEmpty() ? line.action->text() : line.title;
  title.remove(QLatin1Char('&'));
  auto* button = new QPushButton(title, this);
  button->setObjectName(QString("Azione_%1").arg(lines_.size()));
  button->setAutoDefault(false);
  button->setStyleSheet("text-align: left; padding: 4px 10px; font-weight: bold;");
  button->installEventFilter(this);
  auto* description = new QLabel(line.description, this);
  description->setWordWrap(true);  // the main window may be as narrow as its minimum
  auto* keys = new QLabel(line.keys.isEmpty() ? menuKeys(line.action) : line.keys, this);
  keys->setObjectName(button->objectName() + "_tasti");
  keys->setStyleSheet("color: #5f6368;");  // a quiet hint beside the line, still easy to read
  grid->addWidget(button, row, 0);
  grid->addWidget(description, row, 1);
  grid->addWidget(keys, row, 2);
  QAction* action = line.action;
  connect(button, &QPushButton::clicked, action, &QAction::trigger);
  connect(action, &QAction::changed, this, &ActionPanel::refresh);
  if (QMenu* menu = menuOf(action))
    connect(menu->menuAction(), &QAction::changed, this, &ActionPanel::refresh);
  lines_.push_back({action, {button, description, keys}, button});
  refresh();
}

void ActionPanel::refresh() {
  for (const Shown& line : lines_) {
    const QMenu* menu = menuOf(line.action);
    const bool shown = line.action->isVisible() && (!menu || menu->menuAction()->isVisible());
    for (QWidget* w : line.widgets) w->setVisible(shown);
  }
}

void ActionPanel::focusFirst() {
  for (const Shown& line : lines_) {
    if (!line.button->isHidden()) {
      line.button->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
}

// Up and Down move between the lines, as in a menu.
bool ActionPanel::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QFrame::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Up && key != Qt::Key_Down) return false;
  std::vector<QPushButton*> shown;
  for (const Shown& line : lines_) {
    if (!line.button->isHidden()) shown.push_back(line.button);
  }
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] != watched) continue;
    const std::size_t next =
        key == Qt::Key_Down ? (i + 1) % shown.size() : (i + shown.size() - 1) % shown.size();
    shown[next]->setFocus(Qt::TabFocusReason);
    return true;
  }
  return false;
}

}  // namespace startup::ui
